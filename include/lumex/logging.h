/* Logging path: events, log calls, levels and filters. */
#ifndef LUMEX_LOGGING_H
#define LUMEX_LOGGING_H

#include <stdarg.h>
#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Events
 * ------------------------------------------------------------------------ */

/* One log record in flight: level, time, message, identifier, properties.
 * Opaque. None of the event operations takes the API lock. */
typedef struct Event Event;

/* Parameter lists of the log calls: items tagged LMX_PARM_BOOL ...
 * LMX_PARM_STRING (messages.h) with their value, LMX_NAMED_PROP followed by
 * the property's name and one such item, or a level value (the event takes
 * that level); 0 ends the list, after at most 63 items. Bool, char, int and
 * long values are passed as int, float and double as double, texts as
 * const char *. */
#define LMX_NAMED_PROP 201

/* Properties the debug calls put on events. */
#define LMX_PROP_SRCFILE "lmx_prop_srcfile"
#define LMX_PROP_SRCLINE "lmx_prop_srcline"
#define LMX_PROP_SRCFUNCTION "lmx_prop_srcfunction"

/* A new event of the level with the message (catalog, set, key, default
 * text) and the parameter list `args` applied; null when memory for the
 * record runs out. An overlong list or a bad tag is reported and ends the
 * walk; the event keeps the items read before it. */
LMX_API Event *LmxVaAllocEvent(int32_t level, const char *catalog, int32_t set, int32_t key,
                               const char *text, va_list args);
/* Frees the event, its message, identifier and properties; null ignored. */
LMX_API void LmxFreeEvent(Event *event);
/* Milliseconds since 1970-01-01 UTC at construction; 0 for null. */
LMX_API int64_t LmxGetEventTime(const Event *event);
/* The level; LMX_LEVEL_NONE for null. */
LMX_API int32_t LmxGetEventLevel(const Event *event);
/* True for a catalog message, false for plain text; false for null. */
LMX_API unsigned char LmxGetEventIsMessage(const Event *event);
LMX_API Event *LmxSetEventIsMessage(Event *event, unsigned char isMessage);
/* The text that `bind` makes of the event's message (a new text), or null
 * when the event or the operation is null. */
LMX_API char *LmxBindEventMsg(Event *event, LmxBindMsgFn bind);
/* Copies (BasMemoryFree) of the identifier, or null. */
LMX_API char *LmxGetEventMessageId(const Event *event);
LMX_API void LmxSetEventMessageId(Event *event, const char *messageId);
/* Properties, stored as text; the getters set *found (when not null) and
 * convert as the typed map properties do (config.h). A null event has no
 * properties and stores none. */
LMX_API char *LmxGetEventProp(const Event *event, const char *key, unsigned char *found);
LMX_API unsigned char LmxGetEventPropBool(const Event *event, const char *key,
                                          unsigned char *found);
LMX_API int32_t LmxGetEventPropInt(const Event *event, const char *key, unsigned char *found);
LMX_API int64_t LmxGetEventPropLong(const Event *event, const char *key, unsigned char *found);
LMX_API float LmxGetEventPropFloat(const Event *event, const char *key, unsigned char *found);
LMX_API double LmxGetEventPropDouble(const Event *event, const char *key, unsigned char *found);
LMX_API unsigned char LmxSetEventProp(Event *event, const char *key, const char *text);
LMX_API void LmxSetEventPropBool(Event *event, const char *key, unsigned char value);
LMX_API void LmxSetEventPropInt(Event *event, const char *key, int32_t value);
LMX_API void LmxSetEventPropLong(Event *event, const char *key, int32_t value);
LMX_API void LmxSetEventPropFloat(Event *event, const char *key, float value);
LMX_API void LmxSetEventPropDouble(Event *event, const char *key, double value);


/* ------------------------------------------------------------------------
 * Log calls
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Levels
 * ------------------------------------------------------------------------ */

/* Level values of loggers, filters and events. */
#define LMX_LEVEL_NONE (-9999) /* no level: an event or object without one */
#define LMX_LEVEL_ALL 0
#define LMX_LEVEL_DEBUG_MAX 1000
#define LMX_LEVEL_DEBUG_MID 2000
#define LMX_LEVEL_DEBUG_MIN 3000
#define LMX_LEVEL_INFO 4000
#define LMX_LEVEL_WARN 5000
#define LMX_LEVEL_ERROR 6000
#define LMX_LEVEL_FATAL 7000
#define LMX_LEVEL_OFF 9999


LMX_END_DECLS

#endif
