// Events: construction from a tagged parameter list, accessors.
#include "logging/event.h"

#include <cstdarg>

#include "collections/collections_intl.h"
#include "logging/toolkit_report.h"
#include "lumex/config.h"

namespace {

// Items a list may hold before its terminating 0.
constexpr int kMaxItems = 63;

bool isLevelTag(int32_t tag) {
  switch (tag) {
    case LMX_LEVEL_NONE:
    case LMX_LEVEL_DEBUG_MAX:
    case LMX_LEVEL_DEBUG_MID:
    case LMX_LEVEL_DEBUG_MIN:
    case LMX_LEVEL_INFO:
    case LMX_LEVEL_WARN:
    case LMX_LEVEL_ERROR:
    case LMX_LEVEL_FATAL:
    case LMX_LEVEL_OFF:
      return true;
    default:
      return false;
  }
}

// Reads the value of a typed item and adds it to the message (no name) or
// stores it as a property; false for a tag that is no type tag.
bool takeValue(Event *ev, int32_t tag, const char *name, va_list &args) {
  I18Msg *msg = ev->message;
  StringToStringMap *map = ev->properties;
  switch (tag) {
    case LMX_PARM_BOOL: {
      const unsigned char v = va_arg(args, int) != 0;  // any non-zero word is true
      if (name) LmxSetMapPropBool(map, name, v);
      else lmxIntlAddI18MsgParmBool(msg, v);
      return true;
    }
    case LMX_PARM_INT:
    case LMX_PARM_LONG: {
      const int32_t v = va_arg(args, int);
      if (name && tag == LMX_PARM_INT) LmxSetMapPropInt(map, name, v);
      else if (name) LmxSetMapPropLong(map, name, static_cast<int64_t>(v));
      else if (tag == LMX_PARM_INT) lmxIntlAddI18MsgParmInt(msg, v);
      else lmxIntlAddI18MsgParmLong(msg, v);
      return true;
    }
    case LMX_PARM_FLOAT: {
      const auto v = static_cast<float>(va_arg(args, double));
      if (name) LmxSetMapPropFloat(map, name, v);
      else lmxIntlAddI18MsgParmFloat(msg, v);
      return true;
    }
    case LMX_PARM_DOUBLE: {
      const double v = va_arg(args, double);
      if (name) LmxSetMapPropDouble(map, name, v);
      else lmxIntlAddI18MsgParmDouble(msg, v);
      return true;
    }
    case LMX_PARM_CHAR: {
      const auto v = static_cast<char>(va_arg(args, int));
      if (name) LmxSetMapPropChar(map, name, v);
      else lmxIntlAddI18MsgParmChar(msg, v);
      return true;
    }
    case LMX_PARM_STRING: {
      const char *v = va_arg(args, const char *);
      if (name) LmxSetMapProp(map, name, v);
      else lmxIntlAddI18MsgParmString(msg, v);
      return true;
    }
    default:
      return false;
  }
}

// Applies the items of the list up to its 0, at most kMaxItems of them.
void walkList(Event *ev, va_list &args) {
  for (int count = 1;; ++count) {
    int32_t tag = va_arg(args, int);
    if (tag == 0) return;
    if (count > kMaxItems) {
      lmx::reportMsg(LMX_LEVEL_ERROR, lmx::MsgKey::ParmListNotEnded);
      return;
    }
    const char *name = nullptr;
    if (tag == LMX_NAMED_PROP) {
      name = va_arg(args, const char *);
      tag = va_arg(args, int);
      lmxFetchEventPropMap(ev);
    }
    if (isLevelTag(tag)) {
      ev->level = tag;  // a name before a level tag is ignored
      continue;
    }
    if (!takeValue(ev, tag, name, args)) {
      lmx::reportMsg(LMX_LEVEL_ERROR, lmx::MsgKey::ParmListNoTypes);
      return;
    }
  }
}

}  // namespace

extern "C" {

Event *LmxVaAllocEvent(int32_t level, const char *catalog, int32_t set, int32_t key,
                       const char *text, va_list args) {
  auto *ev = static_cast<Event *>(BasMemoryMalloc(sizeof(Event)));
  if (ev == nullptr) return nullptr;
  ev->time = CxSystemGetTimestamp();
  ev->message = lmxIntlAllocI18Msg(catalog, set, key, text);
  ev->level = level;
  ev->properties = nullptr;
  ev->messageId = nullptr;
  ev->isMessage = catalog != nullptr;
  va_list list;
  va_copy(list, args);
  walkList(ev, list);
  va_end(list);
  return ev;
}

void LmxFreeEvent(Event *event) {
  if (event == nullptr) return;
  lmxIntlFreeI18Msg(event->message);
  lmxIntlFreeStringToStringMap(event->properties);
  BasMemoryFree(event->messageId);
  BasMemoryFree(event);
}

int64_t LmxGetEventTime(const Event *event) { return event != nullptr ? event->time : 0; }

int32_t LmxGetEventLevel(const Event *event) {
  return event != nullptr ? event->level : LMX_LEVEL_NONE;
}

unsigned char LmxGetEventIsMessage(const Event *event) {
  return event != nullptr ? event->isMessage : 0;
}

Event *LmxSetEventIsMessage(Event *event, unsigned char isMessage) {
  if (event != nullptr) event->isMessage = isMessage;
  return event;
}

char *LmxBindEventMsg(Event *event, LmxBindMsgFn bind) {
  if (event == nullptr || bind == nullptr) return nullptr;
  return bind(event->message);
}

char *LmxGetEventMessageId(const Event *event) {
  if (event == nullptr || event->messageId == nullptr) return nullptr;
  return BasStringDup(event->messageId);
}

void LmxSetEventMessageId(Event *event, const char *messageId) {
  if (event == nullptr) return;
  BasMemoryFree(event->messageId);
  event->messageId = messageId != nullptr ? BasStringDup(messageId) : nullptr;
}

}  // extern "C"
