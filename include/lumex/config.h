/* Configuration: object configurations, the log manager, property values. */
#ifndef LUMEX_CONFIG_H
#define LUMEX_CONFIG_H

#include <stdint.h>

#include "collections.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Object configurations
 * ------------------------------------------------------------------------ */

/* A named, reference-counted bag of text properties. Allocation gives a
 * configuration with one reference, not registered anywhere; release frees
 * it when the last reference goes. Every operation takes the API lock and
 * does nothing (null, 0, false) for a null configuration. Texts handed out
 * are new copies (BasMemoryFree); configurations handed out carry a
 * reference that the caller releases. */
LMX_API ObjCfg *LmxAllocObjCfg(const char *name);
LMX_API ObjCfg *LmxAcquireObjCfg(ObjCfg *cfg);
LMX_API void LmxReleaseObjCfg(ObjCfg *cfg);
LMX_API char *LmxObjCfgGetName(const ObjCfg *cfg);
/* 1 when the configuration was first made by reading a properties file. */
LMX_API unsigned char LmxObjCfgIsFromFile(const ObjCfg *cfg);
LMX_API void LmxObjCfgSetFromFile(ObjCfg *cfg, unsigned char fromFile);

/* The tree. Parents are held by name and resolved through the log manager
 * (an unregistered parent name is registered as an empty configuration);
 * the root "/" and an unset parent give null. */
LMX_API ObjCfg *LmxObjCfgGetParent(const ObjCfg *cfg);
/* Stores the parent's name as cfg's parent name; no children change. */
LMX_API void LmxObjCfgSetParent(ObjCfg *cfg, const ObjCfg *parent);
/* Adds the child's name to the parent's children and makes the parent the
 * child's parent. */
LMX_API void LmxObjCfgAddChild(ObjCfg *parent, ObjCfg *child);
/* Removes the child's name from the parent's children; the child keeps its
 * parent name. */
LMX_API void LmxObjCfgRemChild(ObjCfg *parent, const ObjCfg *child);
/* A walk over the children's names (StringGroup iterator), valid while the
 * children do not change; null when there are none. */
LMX_API LmxLink *LmxObjCfgChildrenNames(const ObjCfg *cfg);

/* Properties. A name that the configuration does not hold is looked up in
 * its parent, then the parent's parent, up to the root; the nearest value
 * wins, and an empty value counts as found. A chain of parent names that
 * comes back to a configuration already seen ends there. *found (when not
 * null) is 1 when a value was found and, for the typed forms, accepted by
 * the property value conversions below; otherwise the result is null,
 * false, 0 or 0.0. */
LMX_API char *LmxGetObjCfgProp(const ObjCfg *cfg, const char *name, unsigned char *found);
LMX_API unsigned char LmxGetObjCfgPropBool(const ObjCfg *cfg, const char *name,
                                           unsigned char *found);
LMX_API int32_t LmxGetObjCfgPropInt(const ObjCfg *cfg, const char *name, unsigned char *found);
LMX_API int64_t LmxGetObjCfgPropLong(const ObjCfg *cfg, const char *name, unsigned char *found);
LMX_API float LmxGetObjCfgPropFloat(const ObjCfg *cfg, const char *name, unsigned char *found);
LMX_API double LmxGetObjCfgPropDouble(const ObjCfg *cfg, const char *name, unsigned char *found);
/* Store the value's text in the configuration's own properties. No object
 * learns of the change until the configuration is applied to it. */
LMX_API void LmxSetObjCfgProp(ObjCfg *cfg, const char *name, const char *text);
LMX_API void LmxSetObjCfgPropBool(ObjCfg *cfg, const char *name, unsigned char value);
LMX_API void LmxSetObjCfgPropInt(ObjCfg *cfg, const char *name, int32_t value);
LMX_API void LmxSetObjCfgPropLong(ObjCfg *cfg, const char *name, int64_t value);
LMX_API void LmxSetObjCfgPropFloat(ObjCfg *cfg, const char *name, float value);
LMX_API void LmxSetObjCfgPropDouble(ObjCfg *cfg, const char *name, double value);
/* A walk over the configuration's own properties (StringToStringMap
 * iterator), inherited ones not included; null when it has none. */
LMX_API LmxLink *LmxObjCfgProperties(const ObjCfg *cfg);

/* ------------------------------------------------------------------------
 * Log manager
 * ------------------------------------------------------------------------ */

/* The toolkit-wide registry of configurations, by dotted name. A registered
 * configuration's parent is the nearest registered dotted prefix of its
 * name (registering a missing one for a stored parent name), unless a
 * parent name was stored before; a configuration registered after its
 * dotted descendants becomes their parent. "/" is the root and never a
 * configuration. Every operation takes the API lock. */
/* Registers cfg (the registry takes a reference); a null cfg or a name
 * already registered is ignored. */
LMX_API void LmxLogMgrAddCfg(ObjCfg *cfg);
/* Unregisters the configuration of cfg's name; its children move to its
 * parent. */
LMX_API void LmxLogMgrRemCfg(ObjCfg *cfg);
/* Replaces the configuration registered under cfg's name by cfg; nothing
 * when the name is not registered. The caller keeps its own reference. */
LMX_API void LmxLogMgrUpdateCfg(ObjCfg *cfg);
/* A walk over the registered names in registration order (StringGroup
 * iterator). */
LMX_API LmxLink *LmxLogMgrConfigNames(void);
/* The configuration of that name with a reference for the caller; an
 * unregistered name is registered as an empty configuration. Null for a null
 * name and for "/". */
LMX_API ObjCfg *LmxLogMgrGetCfg(const char *name);
/* True when the name is registered; never registers anything. */
LMX_API unsigned char LmxLogMgrHasCfg(const char *name);
/* Applies the configuration of that name to the object, the farthest
 * ancestor's properties first: each property is stored on the object and
 * passed to its class's CfgChange. False for a null object or name, "/",
 * or when the configuration cannot be made. */
LMX_API unsigned char LmxLogMgrApplyCfg(Object *object, const char *name);

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
