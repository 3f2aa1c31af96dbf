// The XML formatter's class operations: its variables, configuration,
// header and the record itself.
#include <cstring>

#include "core/obj_class.h"
#include "core/object.h"
#include "logging/event.h"
#include "logging/toolkit_report.h"
#include "lumex/config.h"
#include "lumex/output.h"
#include "messages/i18msg.h"
#include "output/xml_record.h"

namespace {

// The formatter's private variables.
struct XmlVars {
  unsigned char firstRecordPending;  // the single elements go before the next record
  unsigned char singleComponent;
  unsigned char singleProduct;
  unsigned char singleProductInstance;
  unsigned char singleServer;
  unsigned char forceAsMessage;
  unsigned char forceAsTrace;
};

// The configuration keys of the truth values.
struct FlagKey {
  const char *key;
  unsigned char XmlVars::*field;
};
constexpr FlagKey kFlagKeys[] = {
    {"singleComponent", &XmlVars::singleComponent},
    {"singleProduct", &XmlVars::singleProduct},
    {"singleProductId", &XmlVars::singleProductInstance},
    {"singleServer", &XmlVars::singleServer},
    {"forceAsMessage", &XmlVars::forceAsMessage},
    {"forceAsTrace", &XmlVars::forceAsTrace},
};

// The variables of a formatter object, or null.
XmlVars *varsOf(Object *formatter) {
  if (formatter == nullptr || formatter->objClass == nullptr ||
      formatter->objClass->kind != LMX_KIND_FORMATTER) {
    return nullptr;
  }
  return static_cast<XmlVars *>(formatter->vars);
}

// The Id attribute's value: the event's own identifier, else the one at the
// start of the text; "None" when that is empty.
void writeMessageId(lmx::XmlWriter &w, const Event *event, const char *text) {
  char *extracted = nullptr;
  const char *id = event->messageId;
  if (id == nullptr) id = extracted = lmxPDXMLGetMessageID(text);
  w.escaped(id != nullptr && id[0] != '\0' ? id : "None");
  BasMemoryFree(extracted);
}

void writeOpeningTag(lmx::XmlWriter &w, const Event *event, bool asMessage, const char *text) {
  if (asMessage) {
    w.raw("<Message Id=\"");
    writeMessageId(w, event, text);
    if (event->level != LMX_LEVEL_NONE) {
      w.raw("\" Severity=\"");
      lmx::xmlLevel(w, event->level);
    }
    w.raw("\">\n");
  } else if (event->level == LMX_LEVEL_NONE) {
    w.raw("<Trace>\n");
  } else {
    w.raw("<Trace Level=\"");
    lmx::xmlLevel(w, event->level);
    w.raw("\">\n");
  }
}

void writeTime(lmx::XmlWriter &w, Object *formatter, const Event *event) {
  w.raw(" <Time Millis=\"").number(event->time).raw("\">");
  char *stamp = LmxBasicFormatterFormatDate(formatter, event->time);
  if (stamp != nullptr) {
    w.escaped(stamp);
  } else {
    lmx::reportMsg(LMX_LEVEL_ERROR, lmx::MsgKey::OutOfMemory);
  }
  BasMemoryFree(stamp);
  w.raw("</Time>\n");
}

// Source, thread and process of a trace record.
void writeTraceOrigin(lmx::XmlWriter &w, Event *event) {
  if (!lmx::xmlSource(w, event)) w.raw(" <Source FileName=\"None\" Method=\"None\"/>\n");
  unsigned char found = 0;
  int32_t thread = LmxGetEventPropInt(event, "threadId", &found);
  if (found) w.raw(" <Thread>").unsignedNumber(static_cast<uint32_t>(thread)).raw("</Thread>\n");
  int32_t process = LmxGetEventPropInt(event, "processId", &found);
  if (found) w.raw(" <Process>").number(process).raw("</Process>\n");
}

// blank, <Tag>text</Tag>, line feed, when the event has the property.
void writeOptional(lmx::XmlWriter &w, const Event *event, const char *key, const char *tag) {
  const char *value = lmx::eventPropText(event, key);
  if (value != nullptr) w.raw(" <").raw(tag).raw(">").escaped(value).raw("</").raw(tag).raw(">\n");
}

}  // namespace

extern "C" {

void *LmxPDXMLFormatterFAllocVars(void) {
  auto *vars = static_cast<XmlVars *>(BasMemoryCalloc(1, sizeof(XmlVars)));
  if (vars != nullptr) vars->firstRecordPending = 1;
  return vars;
}

void LmxPDXMLFormatterFFreeVars(void *vars) { BasMemoryFree(vars); }

void LmxPDXMLFormatterFCfgChange(Object *formatter, const char *key) {
  XmlVars *vars = varsOf(formatter);
  if (vars == nullptr || key == nullptr) return;
  for (const FlagKey &flag : kFlagKeys) {
    if (std::strcmp(key, flag.key) == 0) {
      unsigned char found = 0;
      unsigned char value = LmxGetMapPropBool(formatter->properties, key, &found);
      vars->*flag.field = found && value;
      return;
    }
  }
  LmxBasicFormatterFCfgChange(formatter, key);
}

char *LmxPDXMLFormatterFGetHeader(Object *formatter) {
  XmlVars *vars = varsOf(formatter);
  if (vars != nullptr) vars->firstRecordPending = 1;
  return nullptr;
}

char *LmxPDXMLFormatterFGetTrailer(Object *) { return nullptr; }

char *LmxPDXMLFormatterFFormat(Object *formatter, Event *event) {
  XmlVars *v = varsOf(formatter);
  if (v == nullptr || event == nullptr) return nullptr;
  CxStringBuff record{};
  lmx::XmlWriter w{&record};

  if (v->firstRecordPending) {
    lmx::xmlProductInfo(w, event, v->singleComponent, v->singleProduct, v->singleProductInstance,
                        v->singleServer);
    v->firstRecordPending = 0;
  }
  bool asMessage = v->forceAsMessage != v->forceAsTrace ? v->forceAsMessage != 0
                                                        : event->isMessage != 0;
  const char *catalog = event->message != nullptr ? event->message->catalog : nullptr;
  char *text = LmxBindEventMsg(event, lmxIntlBindI18Msg);

  writeOpeningTag(w, event, asMessage, text);
  writeTime(w, formatter, event);
  lmx::xmlProductInfo(w, event, !v->singleComponent, !v->singleProduct,
                      !v->singleProductInstance, !v->singleServer);
  w.raw(" <LogText><![CDATA[").section(text).raw("]]></LogText>\n");
  BasMemoryFree(text);
  lmx::xmlFreeAttributes(w, event);
  if (asMessage) {
    lmx::xmlSource(w, event);
    lmx::xmlTranslationInfo(w, event, catalog);
  } else {
    writeTraceOrigin(w, event);
  }
  writeOptional(w, event, "correlationId", "CorrelationId");
  writeOptional(w, event, "client", "Principal");
  w.raw(asMessage ? "</Message>\n" : "</Trace>\n");

  if (!w.ok) {
    // Memory ran out somewhere: no half record.
    CxStringBuffDiscard(&record);
    return nullptr;
  }
  return CxStringBuffTakeStr(&record);
}

}  // extern "C"
