/* Toolkit core: the API frame, toolkit state, classes and objects. */
#ifndef LUMEX_CORE_H
#define LUMEX_CORE_H

#include <stdint.h>

#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* Opaque toolkit records. */
typedef struct Object Object;
typedef struct ObjClass ObjClass;
typedef struct ObjCfg ObjCfg;

/* Logs the platform's text for a failed status at level WARN through the
 * toolkit logger; success and unknown kinds log nothing. While the toolkit
 * is not open the report is dropped. */
LMX_API void LmxReportPlatformErr(CxStatus status);

/* ------------------------------------------------------------------------
 * Objects and classes
 * ------------------------------------------------------------------------ */

/* Class kinds. */
#define LMX_KIND_LOGGER 101
#define LMX_KIND_FILTER 102
#define LMX_KIND_HANDLER 103
#define LMX_KIND_FORMATTER 104

struct Event;
struct I18Msg;

/* Operations a class supplies. Every text result is a new UTF-8 text that
 * the caller frees with BasMemoryFree. */
typedef void *(*LmxAllocVarsFn)(void);
typedef void (*LmxFreeVarsFn)(void *vars);
typedef void (*LmxCfgChangeFn)(Object *object, const char *key);
typedef void (*LmxLogFn)(Object *object, struct Event *event);
typedef void (*LmxProcessFn)(Object *object, struct Event *event);
typedef unsigned char (*LmxIsLoggableFn)(Object *filter, struct Event *event);
typedef void (*LmxOpenFn)(Object *handler);
typedef void (*LmxCloseFn)(Object *handler);
typedef char *(*LmxFormatFn)(Object *formatter, struct Event *event);
typedef char *(*LmxGetHeaderFn)(Object *formatter);
typedef char *(*LmxGetTrailerFn)(Object *formatter);
typedef char *(*LmxBindMsgFn)(struct I18Msg *message);

/* ------------------------------------------------------------------------
 * Opening and closing
 * ------------------------------------------------------------------------ */

/* Opens the toolkit: code sets, the log manager, the built-in classes, the
 * properties file at `path` (null: none) and the error logger
 * lumex.errorLogger with its console lumex.defaultConsole and formatter
 * lumex.defaultFormatter. True when the toolkit is open; opening an open
 * toolkit changes nothing. An unreadable file prints message 51 to the
 * standard error stream, closes the toolkit again and returns false. */
LMX_API unsigned char LmxOpenToolkit(const char *path);
/* Closes the toolkit (open or not): configurations, objects and classes are
 * freed and the API lock destroyed. No other thread may call in meanwhile. */
LMX_API void LmxCloseToolkit(void);

/* The object of that name, with one reference for the caller (give it back
 * with LmxReleaseObject). An existing object is returned when className is
 * null or names its class; otherwise the object is made of className, or
 * of the class its configuration names in `className`, and configured. */
LMX_API Object *LmxGetObject(const char *name, const char *className);
/* Adds a reference; null for null. */
LMX_API Object *LmxAcquireObject(Object *object);
/* Gives a reference back; the object is destroyed when only the toolkit's
 * own reference (its entry among the named objects) remains. */
LMX_API void LmxReleaseObject(Object *object);
/* True when both references are the same object. Takes no lock. */
LMX_API unsigned char LmxAreObjectsEqual(const Object *a, const Object *b);
/* A copy of the name, or null. */
LMX_API char *LmxGetObjectName(const Object *object);
/* The class's description bound to text, or null. */
LMX_API char *LmxGetObjectDesc(const Object *object);
/* The enabled flag (false for null) and its setter. */
LMX_API unsigned char LmxIsObjectEnabled(const Object *object);
LMX_API void LmxSetObjectEnabled(Object *object, unsigned char enabled);

/* Object properties, kept as text. The getters return a copy (or the typed
 * value) and set *found (when not null); the setters store the value and
 * tell the object's class (its CfgChange operation) about the key. */
LMX_API char *LmxGetObjProp(const Object *object, const char *key, unsigned char *found);
LMX_API unsigned char LmxGetObjPropBool(const Object *object, const char *key,
                                        unsigned char *found);
LMX_API int32_t LmxGetObjPropInt(const Object *object, const char *key, unsigned char *found);
LMX_API int64_t LmxGetObjPropLong(const Object *object, const char *key, unsigned char *found);
LMX_API float LmxGetObjPropFloat(const Object *object, const char *key, unsigned char *found);
LMX_API double LmxGetObjPropDouble(const Object *object, const char *key, unsigned char *found);
LMX_API void LmxSetObjProp(Object *object, const char *key, const char *text);
LMX_API void LmxSetObjPropBool(Object *object, const char *key, unsigned char value);
LMX_API void LmxSetObjPropInt(Object *object, const char *key, int32_t value);
LMX_API void LmxSetObjPropLong(Object *object, const char *key, int64_t value);
LMX_API void LmxSetObjPropFloat(Object *object, const char *key, float value);
LMX_API void LmxSetObjPropDouble(Object *object, const char *key, double value);

/* The configuration keys every object understands, for class CfgChange
 * operations to fall back on: logging, listenerNames, description,
 * descriptionFile, descriptionSet, descriptionKey. Others are ignored. */
LMX_API void LmxBasicObjectFCfgChange(Object *object, const char *key);

/* ------------------------------------------------------------------------
 * Class registry
 * ------------------------------------------------------------------------ */

/* Registers a class by name; a null slot takes the kind's default and a
 * name already registered is ignored. The description is copied. */
LMX_API void LmxAddLoggerClass(const char *name, const struct I18Msg *description,
                               LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                               LmxCfgChangeFn cfgChange, LmxLogFn log);
LMX_API void LmxAddFilterClass(const char *name, const struct I18Msg *description,
                               LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                               LmxCfgChangeFn cfgChange, LmxProcessFn process,
                               LmxIsLoggableFn isLoggable, LmxLogFn log);
LMX_API void LmxAddHandlerClass(const char *name, const struct I18Msg *description,
                                LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                LmxCfgChangeFn cfgChange, LmxProcessFn process,
                                LmxOpenFn open, LmxCloseFn close);
LMX_API void LmxAddFormatterClass(const char *name, const struct I18Msg *description,
                                  LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                  LmxCfgChangeFn cfgChange, LmxFormatFn format,
                                  LmxGetHeaderFn getHeader, LmxGetTrailerFn getTrailer,
                                  LmxBindMsgFn bindMsg);
/* The first entry of the kind's class names (walk it with the StringGroup
 * iterator operations; the entries belong to the registry), or null. */
LMX_API struct LmxLink *LmxGetLoggerClasses(void);
LMX_API struct LmxLink *LmxGetFilterClasses(void);
LMX_API struct LmxLink *LmxGetHandlerClasses(void);
LMX_API struct LmxLink *LmxGetFormatterClasses(void);

/* Handler and formatter defaults: nothing is done, no text is made. */
LMX_API void LmxBasicHandlerFProcess(Object *handler, struct Event *event);
LMX_API void LmxBasicHandlerFOpen(Object *handler);
LMX_API void LmxBasicHandlerFClose(Object *handler);
LMX_API char *LmxBasicFormatterFGetHeader(Object *formatter);
LMX_API char *LmxBasicFormatterFGetTrailer(Object *formatter);

LMX_END_DECLS

#endif
