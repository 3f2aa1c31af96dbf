// The handler's side of its formatter, and the protocol that every handler
// follows around its own write hook.
#include "output/handler_base.h"

#include <cstring>

#include "core/api_frame.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/config.h"
#include "lumex/logging.h"
#include "lumex/output.h"

namespace {

bool isHandler(const Object *object) {
  return object != nullptr && object->objClass != nullptr &&
         object->objClass->kind == LMX_KIND_HANDLER;
}

// The handler's formatter when it is an object of kind formatter, else null.
Object *formatterOf(const Object *handler) {
  if (!isHandler(handler)) return nullptr;
  Object *formatter = handler->b.formatter;
  if (formatter == nullptr || formatter->objClass == nullptr ||
      formatter->objClass->kind != LMX_KIND_FORMATTER) {
    return nullptr;
  }
  return formatter;
}

}  // namespace

extern "C" {

Object *lmxIntlHandlerGetFormatter(Object *handler) {
  if (!isHandler(handler)) return nullptr;
  return lmxIntlAcquireObject(handler->b.formatter);
}

void lmxIntlHandlerSetFormatter(Object *handler, Object *formatter) {
  if (!isHandler(handler)) return;
  // The new one is taken before the old one is given back: when both are
  // the same object and the handler holds the only reference outside the
  // instances map, giving it back first would destroy it.
  Object *old = handler->b.formatter;
  handler->b.formatter = lmxIntlAcquireObject(formatter);
  lmxIntlReleaseObject(old);
}

char *lmxIntlHandlerGetFmtHeader(Object *handler) {
  Object *formatter = formatterOf(handler);
  if (formatter == nullptr || formatter->objClass->ops.formatter.getHeader == nullptr) {
    return nullptr;
  }
  return formatter->objClass->ops.formatter.getHeader(formatter);
}

char *lmxIntlHandlerGetFmtTrailer(Object *handler) {
  Object *formatter = formatterOf(handler);
  if (formatter == nullptr || formatter->objClass->ops.formatter.getTrailer == nullptr) {
    return nullptr;
  }
  return formatter->objClass->ops.formatter.getTrailer(formatter);
}

char *lmxIntlHandlerDoFmt(Object *handler, Event *event) {
  Object *formatter = formatterOf(handler);
  if (formatter == nullptr || formatter->objClass->ops.formatter.format == nullptr) {
    return nullptr;
  }
  return formatter->objClass->ops.formatter.format(formatter, event);
}

Object *LmxHandlerGetFormatter(Object *handler) {
  return lmx::locked([&] { return lmxIntlHandlerGetFormatter(handler); });
}
void LmxHandlerSetFormatter(Object *handler, Object *formatter) {
  lmx::locked([&] { lmxIntlHandlerSetFormatter(handler, formatter); });
}
char *LmxHandlerGetFmtHeader(Object *handler) {
  return lmx::locked([&] { return lmxIntlHandlerGetFmtHeader(handler); });
}
char *LmxHandlerGetFmtTrailer(Object *handler) {
  return lmx::locked([&] { return lmxIntlHandlerGetFmtTrailer(handler); });
}
char *LmxHandlerDoFmt(Object *handler, Event *event) {
  return lmx::locked([&] { return lmxIntlHandlerDoFmt(handler, event); });
}

void LmxBasicHandlerFCfgChange(Object *handler, const char *key) {
  if (handler == nullptr || key == nullptr) return;
  if (std::strcmp(key, "formatterName") != 0) {
    LmxBasicObjectFCfgChange(handler, key);
    return;
  }
  unsigned char found = 0;
  char *name = LmxGetMapProp(handler->properties, "formatterName", &found);
  if (found) {
    // A name that yields no object leaves the handler without a formatter.
    Object *formatter = lmxIntlGetObject(name, nullptr);
    lmxIntlHandlerSetFormatter(handler, formatter);
    lmxIntlReleaseObject(formatter);
  }
  BasMemoryFree(name);
}

void LmxBasicHandlerFProcess(Object *, Event *) {}
void LmxBasicHandlerFOpen(Object *) {}
void LmxBasicHandlerFClose(Object *) {}

}  // extern "C"

namespace lmx {

bool handlerWriteText(Object *handler, const char *text, const HandlerSink &sink) {
  if (text == nullptr) return true;
  CodeSetT cs = sink.encoding != nullptr ? sink.encoding(handler) : nullptr;
  if (cs == nullptr) {
    return sink.write(handler, text, static_cast<uint32_t>(std::strlen(text)));
  }
  CxStringBuff buff{};
  // A text that cannot be converted (or no memory for the copy) is written
  // as it came from the formatter.
  if (CxStringBuffAppendStr(&buff, text) == 0) {
    return sink.write(handler, text, static_cast<uint32_t>(std::strlen(text)));
  }
  CxStringBuffChangeFromUTF8(cs, &buff);
  bool written = sink.write(handler, buff.data, buff.length);
  CxStringBuffDiscard(&buff);
  return written;
}

bool handlerWriteHeader(Object *handler, const HandlerSink &sink) {
  char *header = lmxIntlHandlerGetFmtHeader(handler);
  bool written = handlerWriteText(handler, header, sink);
  BasMemoryFree(header);
  return written;
}

bool handlerWriteTrailer(Object *handler, const HandlerSink &sink) {
  char *trailer = lmxIntlHandlerGetFmtTrailer(handler);
  bool written = handlerWriteText(handler, trailer, sink);
  BasMemoryFree(trailer);
  return written;
}

void handlerProcess(Object *handler, Event *event, const HandlerSink &sink) {
  if (event == nullptr || !isHandler(handler) || !enabledOf(handler) || handler->vars == nullptr) {
    return;
  }
  if (!sink.prepare(handler)) return;
  char *text = lmxIntlHandlerDoFmt(handler, event);
  handlerWriteText(handler, text, sink);
  BasMemoryFree(text);
  LmxBasicObjectFLog(handler, event);
}

}  // namespace lmx
