// The basic formatter: one line a record, the timestamp, the event's source
// and product properties that are present and the message text, joined by
// the separator and ended by a line feed.
#include <cstring>

#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/config.h"
#include "lumex/core.h"
#include "lumex/logging.h"
#include "lumex/output.h"

namespace {

// Event properties shown on a line, in this order.
enum class Shown { Text, Integer };
struct ShownProperty {
  const char *key;
  Shown as;
};
constexpr ShownProperty kShownProperties[] = {
    {"lmx_prop_srcfile", Shown::Text},    {"lmx_prop_srcfunction", Shown::Text},
    {"lmx_prop_srcline", Shown::Integer}, {"organization", Shown::Text},
    {"product", Shown::Text},             {"component", Shown::Text},
    {"client", Shown::Text},              {"server", Shown::Text},
};

bool isFormatter(const Object *object) {
  return object != nullptr && object->objClass != nullptr &&
         object->objClass->kind == LMX_KIND_FORMATTER;
}

// Replaces one of the formatter's texts by the current value of its
// property (null when the property is absent).
void takeSetting(Object *formatter, const char *key, char **setting) {
  unsigned char found = 0;
  char *value = LmxGetMapProp(formatter->properties, key, &found);
  BasMemoryFree(*setting);
  *setting = value;
}

// Appends one event property and the separator when the event has it.
void appendProperty(CxStringBuff *line, Event *event, const ShownProperty &shown,
                    const char *separator) {
  unsigned char found = 0;
  if (shown.as == Shown::Integer) {
    int32_t value = LmxGetEventPropInt(event, shown.key, &found);
    if (!found) return;
    CxStringBuffAppendInt32(line, value);
  } else {
    char *value = LmxGetEventProp(event, shown.key, &found);
    if (found && value != nullptr) CxStringBuffAppendStr(line, value);
    BasMemoryFree(value);
    if (!found) return;
  }
  CxStringBuffAppendStr(line, separator);
}

}  // namespace

extern "C" {

void LmxBasicFormatterFCfgChange(Object *formatter, const char *key) {
  if (formatter == nullptr || key == nullptr) return;
  // The two settings live in fields that only formatters have.
  if (isFormatter(formatter) && std::strcmp(key, "separator") == 0) {
    takeSetting(formatter, key, &formatter->a.separator);
  } else if (isFormatter(formatter) && std::strcmp(key, "dateTimeFormat") == 0) {
    takeSetting(formatter, key, &formatter->b.dateTimeFormat);
  } else {
    LmxBasicObjectFCfgChange(formatter, key);
  }
}

char *LmxBasicFormatterFFormat(Object *formatter, Event *event) {
  if (!isFormatter(formatter) || event == nullptr) return nullptr;
  LmxBindMsgFn bind = formatter->objClass->ops.formatter.bindMsg;
  if (bind == nullptr) return nullptr;
  const char *separator = formatter->a.separator != nullptr ? formatter->a.separator : " ";

  CxStringBuff line{};
  char *stamp = LmxBasicFormatterFormatDate(formatter, LmxGetEventTime(event));
  if (stamp != nullptr) CxStringBuffAppendStr(&line, stamp);
  BasMemoryFree(stamp);
  CxStringBuffAppendStr(&line, separator);
  for (const ShownProperty &shown : kShownProperties) {
    appendProperty(&line, event, shown, separator);
  }
  char *text = LmxBindEventMsg(event, bind);
  if (text != nullptr) CxStringBuffAppendStr(&line, text);
  BasMemoryFree(text);
  if (CxStringBuffAppendChar(&line, '\n') == 0) {
    // Out of memory somewhere along the line: no half line.
    CxStringBuffDiscard(&line);
    return nullptr;
  }
  return CxStringBuffTakeStr(&line);
}

char *LmxBasicFormatterFGetHeader(Object *) { return nullptr; }
char *LmxBasicFormatterFGetTrailer(Object *) { return nullptr; }

}  // extern "C"
