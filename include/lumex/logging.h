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

/* Catalog messages: the message `key` of `set` in `catalog`, `text` when the
 * catalog has none, and the parameter list (see LMX_NAMED_PROP) ended by 0.
 * LmxLogMsg carries no level and passes whatever the logger's level; the
 * others are dropped below it. A disabled logger or one that is no logger
 * drops every call. */
LMX_API void LmxLogMsg(Object *logger, const char *catalog, int32_t set, int32_t key,
                       const char *text, ...);
LMX_API void LmxLogInfo(Object *logger, const char *catalog, int32_t set, int32_t key,
                        const char *text, ...);
LMX_API void LmxLogWarn(Object *logger, const char *catalog, int32_t set, int32_t key,
                        const char *text, ...);
LMX_API void LmxLogError(Object *logger, const char *catalog, int32_t set, int32_t key,
                         const char *text, ...);
LMX_API void LmxLogFatal(Object *logger, const char *catalog, int32_t set, int32_t key,
                         const char *text, ...);
/* Debug traces: plain text with the source position as event properties
 * (file and line only with a file, the function when given). */
LMX_API void LmxLogDebugMin(Object *logger, const char *file, const char *function, int32_t line,
                            const char *text, ...);
LMX_API void LmxLogDebugMid(Object *logger, const char *file, const char *function, int32_t line,
                            const char *text, ...);
LMX_API void LmxLogDebugMax(Object *logger, const char *file, const char *function, int32_t line,
                            const char *text, ...);
/* Plain text without level. */
LMX_API void LmxLogText(Object *logger, const char *text, ...);

/* The same calls with the parameter list as a va_list. */
LMX_API void LmxLogMsgVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                         const char *text, va_list args);
LMX_API void LmxLogInfoVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                          const char *text, va_list args);
LMX_API void LmxLogWarnVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                          const char *text, va_list args);
LMX_API void LmxLogErrorVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                           const char *text, va_list args);
LMX_API void LmxLogFatalVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                           const char *text, va_list args);
LMX_API void LmxLogDebugMinVA(Object *logger, const char *file, const char *function,
                              int32_t line, const char *text, va_list args);
LMX_API void LmxLogDebugMidVA(Object *logger, const char *file, const char *function,
                              int32_t line, const char *text, va_list args);
LMX_API void LmxLogDebugMaxVA(Object *logger, const char *file, const char *function,
                              int32_t line, const char *text, va_list args);
LMX_API void LmxLogTextVA(Object *logger, const char *text, va_list args);

/* True when the logger would take a call of the level: the level is
 * LMX_LEVEL_NONE, the logger has none, or the level reaches the logger's.
 * False for null. The enabled flag and the class are not consulted. */
LMX_API unsigned char LmxIsLoggable(Object *logger, int32_t level);
/* The filter's IsLoggable answer for the event; false unless both are
 * given and the filter is a filter with that operation. */
LMX_API unsigned char LmxIsLoggableByFilter(Object *filter, Event *event);
/* The Log operation of an enabled logger's class, or null. */
LMX_API LmxLogFn LmxLoggerGetFLog(Object *logger);
/* The Log operation of loggers and filters: hands the event to each
 * listener that is a filter or a handler; loggers and formatters among the
 * listeners are skipped. A logger without listeners reports so. */
LMX_API void LmxBasicObjectFLog(Object *object, Event *event);

/* Listeners of loggers, filters and handlers, in the order they were added,
 * each at most once. A listener that would close a loop (the object itself,
 * or one from whose listeners the object is reached) is refused with a
 * warning. */
LMX_API void LmxAddListener(Object *object, Object *listener);
LMX_API void LmxRemListener(Object *object, Object *listener);
/* The first entry of the object's listeners (walk it with the
 * ListenerGroup iterator operations), or null when it has none. */
LMX_API struct LmxLink *LmxGetListeners(Object *object);

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

/* The level named at the start of the text, ignoring case (OFF, FATAL,
 * ERROR, WARN, INFO, DEBUG_MIN, DEBUG_MID, DEBUG_MAX, ALL, tried in that
 * order); LMX_LEVEL_NONE for null or any other text. */
LMX_API int32_t LmxGetLevelFromString(const char *text);

/* Configuration of loggers and level filters: `level` sets the level, other
 * keys go to LmxBasicObjectFCfgChange. The two names are one operation. */
LMX_API void LmxBasicLoggerFCfgChange(Object *object, const char *key);
LMX_API void LmxLevelFilterFCfgChange(Object *object, const char *key);
/* Filter processing: an enabled filter whose IsLoggable accepts the event
 * hands it to its Log operation. */
LMX_API void LmxBasicFilterFProcess(Object *filter, Event *event);
/* The level filter's test: a filter at ALL and an event without level
 * pass; otherwise the event's level must reach the filter's. */
LMX_API unsigned char LmxLevelFilterFIsLoggable(Object *filter, Event *event);


/* ------------------------------------------------------------------------
 * Problem-data logger
 * ------------------------------------------------------------------------ */

/* The problem-data logger (class lmx_pdlogger): a logger that stamps every
 * event before passing it to its listeners with the properties
 * organization, product, component, client, server (the machine's fully
 * qualified host name unless configured), serverFormat ("IP" unless
 * configured) and productInstance that it has values for (each configured
 * by the key of the same name; removing a key stops its stamp), processId
 * and threadId, and gives an event without message identifier the one at
 * the start of its text (see lmxPDXMLFormatterCacheMessageID). Level,
 * listeners and enabling are those of the basic logger. */
LMX_API void *LmxPDLoggerFAllocVars(void);
LMX_API void LmxPDLoggerFFreeVars(void *vars);
LMX_API void LmxPDLoggerFCfgChange(Object *logger, const char *key);
LMX_API void LmxPDLoggerFLog(Object *logger, Event *event);

LMX_END_DECLS

#endif
