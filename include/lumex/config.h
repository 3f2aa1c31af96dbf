/* Configuration: object configurations, the log manager, property values. */
#ifndef LUMEX_CONFIG_H
#define LUMEX_CONFIG_H

#include <stdint.h>

#include "collections.h"
#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Object configurations
 * ------------------------------------------------------------------------ */

/* A named, reference-counted bag of text properties. Allocation gives a
 * configuration with one reference, not registered anywhere; release frees
 * it when the last reference goes. */
LMX_API ObjCfg *LmxAllocObjCfg(const char *name);
LMX_API ObjCfg *LmxAcquireObjCfg(ObjCfg *cfg);
LMX_API void LmxReleaseObjCfg(ObjCfg *cfg);

/* ------------------------------------------------------------------------
 * Log manager
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Property values
 * ------------------------------------------------------------------------ */

/* Typed access to properties stored as text. None of these takes the API
 * lock. Every getter sets *found (when found is not null) to 1 when the key
 * is present and its text was accepted, else to 0 with the zero result.
 *   bool    "true" / "false" in any case; anything else is not accepted
 *   char    the first byte of any text (0 for the empty text)
 *   int, long, float, double  a number after optional white space and
 *           sign; whatever follows it is ignored ("42abc" is 42, "0x1F" is
 *           0); a number beyond the type's range gives the nearest limit.
 * The setters store "true"/"false", the character, the decimal number, or
 * the %f form (six decimals) of float and double. */
LMX_API char *LmxGetMapProp(const StringToStringMap *map, const char *key, unsigned char *found);
LMX_API unsigned char LmxGetMapPropBool(const StringToStringMap *map, const char *key,
                                        unsigned char *found);
LMX_API char LmxGetMapPropChar(const StringToStringMap *map, const char *key, unsigned char *found);
LMX_API int32_t LmxGetMapPropInt(const StringToStringMap *map, const char *key,
                                 unsigned char *found);
LMX_API int64_t LmxGetMapPropLong(const StringToStringMap *map, const char *key,
                                  unsigned char *found);
LMX_API float LmxGetMapPropFloat(const StringToStringMap *map, const char *key,
                                 unsigned char *found);
LMX_API double LmxGetMapPropDouble(const StringToStringMap *map, const char *key,
                                   unsigned char *found);

/* True when stored: a new key is appended, an existing one keeps its place
 * and gets the new text. */
LMX_API unsigned char LmxSetMapProp(StringToStringMap *map, const char *key, const char *text);
/* Stores "true" for 1 and "false" for any other value. */
LMX_API unsigned char LmxSetMapPropBool(StringToStringMap *map, const char *key,
                                        unsigned char value);
LMX_API void LmxSetMapPropChar(StringToStringMap *map, const char *key, char value);
LMX_API void LmxSetMapPropInt(StringToStringMap *map, const char *key, int32_t value);
LMX_API void LmxSetMapPropLong(StringToStringMap *map, const char *key, int64_t value);
LMX_API void LmxSetMapPropFloat(StringToStringMap *map, const char *key, float value);
LMX_API void LmxSetMapPropDouble(StringToStringMap *map, const char *key, double value);

LMX_END_DECLS

#endif
