/* Output: handlers and formatters. */
#ifndef LUMEX_OUTPUT_H
#define LUMEX_OUTPUT_H

#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Handlers
 * ------------------------------------------------------------------------ */

/* A handler's formatter with one more reference (give it back with
 * LmxReleaseObject), or null when the object is not a handler or has no
 * formatter. */
LMX_API Object *LmxHandlerGetFormatter(Object *handler);
LMX_API Object *lmxIntlHandlerGetFormatter(Object *handler);
/* Replaces a handler's formatter (the old one released, the new one, if
 * any, acquired); objects that are not handlers are left alone. */
LMX_API void LmxHandlerSetFormatter(Object *handler, Object *formatter);
LMX_API void lmxIntlHandlerSetFormatter(Object *handler, Object *formatter);
/* New UTF-8 texts from the handler's formatter (BasMemoryFree), or null when
 * the object is not a handler, has no formatter, the formatter is not of
 * kind formatter or lacks the operation, or the operation gives none. */
LMX_API char *LmxHandlerGetFmtHeader(Object *handler);
LMX_API char *lmxIntlHandlerGetFmtHeader(Object *handler);
LMX_API char *LmxHandlerGetFmtTrailer(Object *handler);
LMX_API char *lmxIntlHandlerGetFmtTrailer(Object *handler);
LMX_API char *LmxHandlerDoFmt(Object *handler, struct Event *event);
LMX_API char *lmxIntlHandlerDoFmt(Object *handler, struct Event *event);

/* The handler configuration operation: formatterName, then the generic keys
 * of every object. */
LMX_API void LmxBasicHandlerFCfgChange(Object *handler, const char *key);
/* Defaults of handler classes registered without these operations: they do
 * nothing. */
LMX_API void LmxBasicHandlerFProcess(Object *handler, struct Event *event);
LMX_API void LmxBasicHandlerFOpen(Object *handler);
LMX_API void LmxBasicHandlerFClose(Object *handler);

/* The console handler (class lmx_consolehandler): writes each record to the
 * standard output stream in the code set of the user's locale, the header
 * once before the first record and the trailer at close. */
LMX_API void *LmxConsoleHandlerFAllocVars(void);
LMX_API void LmxConsoleHandlerFFreeVars(void *vars);
LMX_API void LmxConsoleHandlerFProcess(Object *handler, struct Event *event);
LMX_API void LmxConsoleHandlerFOpen(Object *handler);
LMX_API void LmxConsoleHandlerFClose(Object *handler);

/* ------------------------------------------------------------------------
 * Formatters
 * ------------------------------------------------------------------------ */

/* The basic formatter (class lmx_basicformatter): one line a record, the
 * timestamp, the event's source and product properties that are present and
 * the message text, joined by the separator (configuration key separator,
 * one blank by default) and ended by a line feed. dateTimeFormat replaces
 * the default timestamp "YYYY-MM-DD HH:MM:SS.mmm+hh:mm" by a strftime
 * format. */
LMX_API void LmxBasicFormatterFCfgChange(Object *formatter, const char *key);
LMX_API char *LmxBasicFormatterFFormat(Object *formatter, struct Event *event);
/* Both always null: no header, no trailer. */
LMX_API char *LmxBasicFormatterFGetHeader(Object *formatter);
LMX_API char *LmxBasicFormatterFGetTrailer(Object *formatter);
/* The timestamp of a time in milliseconds since 1970-01-01 00:00:00 UTC, in
 * local time, new UTF-8 text (BasMemoryFree). */
LMX_API char *LmxBasicFormatterFormatDate(Object *formatter, int64_t millis);

/* ------------------------------------------------------------------------
 * File handlers
 * ------------------------------------------------------------------------ */

/* The file handler (class lmx_filehandler) writes each record to a local log
 * file, "default.log" in the current directory unless fileName says
 * otherwise, and rolls it over into numbered backups when it reaches
 * maxFileBytes (maxFiles files in all). Before every record it checks that
 * the name still leads to the open file and that the file has room. The
 * multi-process file handler (class lmx_multiproc_filehandler) shares the
 * variables and configuration keys and appends to one file that several
 * processes write, under a named lock of the key MPFileSemKey; its rollover
 * copies the active file into the first backup and empties it in place. */
LMX_API void *LmxFileHandlerFAllocVars(void);
LMX_API void LmxFileHandlerFFreeVars(void *vars);
LMX_API void LmxFileHandlerFCfgChange(Object *handler, const char *key);
LMX_API void LmxFileHandlerFProcess(Object *handler, struct Event *event);
LMX_API void LmxFileHandlerFOpen(Object *handler);
LMX_API void LmxFileHandlerFClose(Object *handler);

LMX_API void LmxMultiProcFileHandlerFOpen(Object *handler);
LMX_API void LmxMultiProcFileHandlerFProcess(Object *handler, struct Event *event);
LMX_API void LmxMultiProcFileHandlerFClose(Object *handler);

/* ------------------------------------------------------------------------
 * XML formatter
 * ------------------------------------------------------------------------ */

/* The XML formatter (class lmx_xmlformatter): one XML element a record,
 * <Message> for catalog messages and <Trace> for plain text and debug
 * traces, carrying identifier, severity, time, product identity, text, free
 * attributes, source, catalog coordinates with parameters, thread, process,
 * correlation and principal. Records follow each other without an enclosing
 * element. Every value is escaped (attributes and element content) or kept
 * in a CDATA section that cannot end early; characters XML cannot carry
 * become U+FFFD. Configuration keys (truth values, false by default):
 * singleServer, singleProduct, singleComponent, singleProductId write those
 * product elements once at the start of each destination instead of in
 * every record; forceAsMessage or forceAsTrace alone choose the record kind
 * (both or neither: the event decides). separator and dateTimeFormat are
 * the basic formatter's. */
LMX_API void *LmxPDXMLFormatterFAllocVars(void);
LMX_API void LmxPDXMLFormatterFFreeVars(void *vars);
LMX_API void LmxPDXMLFormatterFCfgChange(Object *formatter, const char *key);
/* A new UTF-8 record ended by a line feed, or null when the formatter has no
 * variables or the event is null. */
LMX_API char *LmxPDXMLFormatterFFormat(Object *formatter, struct Event *event);
/* No text (null); the next record starts with the single product elements. */
LMX_API char *LmxPDXMLFormatterFGetHeader(Object *formatter);
LMX_API char *LmxPDXMLFormatterFGetTrailer(Object *formatter);

/* The message identifier at the start of a text (three capitals, up to
 * three more letters, a run of digits, a severity letter of "IWEADF": 8 to
 * 10 characters, as "LMXBC0020E"), or "None"; a new text. */
LMX_API char *lmxPDXMLGetMessageID(const char *text);
/* Gives an event without identifier the one at the start of its bound
 * message text ("None" without one; the empty text when the message binds to
 * nothing). The formatter is not used. */
LMX_API void lmxPDXMLFormatterCacheMessageID(Object *formatter, struct Event *event);
/* True for a property name that is written among the free attributes (not
 * one with a place of its own in the record). */
LMX_API unsigned char lmxPDXMLCheckKey(const char *name);
/* Pieces of a record, appended to the buffer. */
LMX_API void lmxPDXMLEmitProductInfo(CxStringBuff *buff, struct Event *event,
                                     unsigned char component, unsigned char product,
                                     unsigned char productInstance, unsigned char server);
LMX_API void lmxPDXMLEmitLevel(CxStringBuff *buff, int32_t level);
/* True when the event has a source file and the element was written. */
LMX_API unsigned char lmxPDXMLEmitSource(CxStringBuff *buff, struct Event *event);
LMX_API void lmxPDXMLEmitTranslationInfo(CxStringBuff *buff, struct Event *event,
                                         const char *catalog);

/* Syslog handler: each record as one RFC 5424 message to the system's log
 * collector. Keys: facility (user), appName (the program's name), transport
 * (unix, udp, tcp), socketPath (/dev/log), host, port (514), queueLimit
 * (1000 records held while a TCP collector is away), sendTimeoutMillis
 * (100, the longest a log call waits). */
LMX_API void *LmxSyslogHandlerFAllocVars(void);
LMX_API void LmxSyslogHandlerFFreeVars(void *vars);
LMX_API void LmxSyslogHandlerFCfgChange(Object *handler, const char *key);
LMX_API void LmxSyslogHandlerFProcess(Object *handler, struct Event *event);
LMX_API void LmxSyslogHandlerFOpen(Object *handler);
LMX_API void LmxSyslogHandlerFClose(Object *handler);

LMX_END_DECLS

#endif
