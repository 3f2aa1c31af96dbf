// The protocol every handler follows, and the hooks a concrete handler
// supplies to it.
//
// The base owns the steps that all handlers share: the argument, kind and
// enabled checks, asking the formatter for header, record and trailer text,
// converting that text into the handler's code set, and passing each
// processed event on to the handler's own listeners (handlers can be
// chained). A concrete handler says only how its destination is made ready
// and how bytes reach it:
//
//   const lmx::HandlerSink kConsoleSink = {consolePrepare, nullptr, consoleWrite};
//   void LmxConsoleHandlerFProcess(Object *h, Event *e) { lmx::handlerProcess(h, e, kConsoleSink); }
//
// All of it runs under the API lock held by the logging path or the object
// lifecycle; nothing here takes a lock or reports a message.
#pragma once

#include <cstdint>

#include "lumex/core.h"
#include "lumex/ilx.h"

struct Event;

namespace lmx {

struct HandlerSink {
  // Makes the destination ready before a record is written: opens it, writes
  // the header the first time (handlerWriteHeader). Called only for an
  // enabled handler of kind handler that has private variables. Returning
  // false drops the event: it is neither formatted, written nor passed on.
  // Returning true lets the record go on even when the destination could
  // not be opened (write then decides what to do with the bytes).
  bool (*prepare)(Object *handler);

  // The code set that the handler's bytes are written in, or null to write
  // the formatter's UTF-8 as it is. May itself be null (always UTF-8).
  // A text that cannot be converted is written in UTF-8.
  CodeSetT (*encoding)(Object *handler);

  // Writes one text's bytes (already converted, not zero-terminated as far
  // as the hook is concerned; bytes[length] is 0 all the same). Called for
  // records, headers and trailers. Returns false when the write failed (the
  // hook reports the failure itself); the base only passes the answer on.
  bool (*write)(Object *handler, const char *bytes, uint32_t length);
};

// The whole Process step of a handler:
//   1. nothing happens unless handler and event are not null, the handler's
//      class is of kind handler, the handler is enabled and has private
//      variables;
//   2. sink.prepare (false: stop here, the event is not passed on);
//   3. format the event (lmxIntlHandlerDoFmt); if a text comes back, convert
//      it (sink.encoding) and hand it to sink.write, then free it;
//   4. pass the event on to the handler's listeners (LmxBasicObjectFLog).
void handlerProcess(Object *handler, struct Event *event, const HandlerSink &sink);

// Asks the formatter for its header and, when there is one, converts and
// writes it through the sink. True when there was no header or its write
// succeeded; false only when sink.write failed. No enabled check.
bool handlerWriteHeader(Object *handler, const HandlerSink &sink);

// The same for the trailer.
bool handlerWriteTrailer(Object *handler, const HandlerSink &sink);

// Converts a formatter's UTF-8 text into the sink's code set and writes it;
// a null text writes nothing and counts as success. The text stays the
// caller's.
bool handlerWriteText(Object *handler, const char *text, const HandlerSink &sink);

}  // namespace lmx
