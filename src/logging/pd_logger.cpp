// The problem-data logger: a basic logger that stamps every event with the
// product's and the machine's identity, the process and thread numbers and
// the message identifier before passing it on.
#include <cstring>

#include "core/object.h"
#include "logging/toolkit_report.h"
#include "lumex/logging.h"
#include "lumex/output.h"

namespace {

// The stamped texts, in the order they are set on an event; each is
// configured by the key of the same name.
constexpr const char *kFieldKeys[] = {"organization", "product",       "component",
                                      "client",       "server",        "serverFormat",
                                      "productInstance"};
constexpr size_t kFields = sizeof kFieldKeys / sizeof kFieldKeys[0];
constexpr size_t kServer = 4;
constexpr size_t kServerFormat = 5;

struct PDVars {
  char *fields[kFields];
  Object *msgIdFormatter;  // counted reference, may be null
};

PDVars *varsOf(Object *logger) { return static_cast<PDVars *>(logger->vars); }

int fieldIndex(const char *key) {
  for (size_t i = 0; i < kFields; ++i)
    if (std::strcmp(kFieldKeys[i], key) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace

extern "C" {

void *LmxPDLoggerFAllocVars(void) {
  auto *vars = static_cast<PDVars *>(BasMemoryCalloc(1, sizeof(PDVars)));
  if (vars == nullptr) return nullptr;
  vars->fields[kServerFormat] = BasStringDup("IP");
  vars->msgIdFormatter = lmxIntlGetObject("lumex.pdMsgIdFormatter", "lmx_xmlformatter");
  char host[256];
  const CxStatus st = CxSystemGetFQHostname(host, sizeof host);
  if (st.kind == '-') {
    vars->fields[kServer] = BasStringDup(host);
  } else {
    lmx::reportMsg(LMX_LEVEL_WARN, lmx::MsgKey::NoHostName, LMX_PARM_STRING, "lmx_pdlogger");
  }
  return vars;
}

void LmxPDLoggerFFreeVars(void *block) {
  auto *vars = static_cast<PDVars *>(block);
  if (vars == nullptr) return;
  lmxIntlReleaseObject(vars->msgIdFormatter);
  for (char *text : vars->fields) BasMemoryFree(text);
  BasMemoryFree(vars);
}

void LmxPDLoggerFCfgChange(Object *logger, const char *key) {
  if (logger == nullptr || key == nullptr || logger->vars == nullptr) return;
  const int i = fieldIndex(key);
  if (i < 0) {
    LmxBasicLoggerFCfgChange(logger, key);
    return;
  }
  unsigned char found = 0;
  char *value = lmxIntlGetObjProp(logger, key, &found);
  PDVars *vars = varsOf(logger);
  BasMemoryFree(vars->fields[i]);
  vars->fields[i] = value;  // null once the key is removed
}

void LmxPDLoggerFLog(Object *logger, Event *event) {
  if (logger == nullptr || event == nullptr) return;
  PDVars *vars = varsOf(logger);
  if (vars != nullptr) {
    for (size_t i = 0; i < kFields; ++i)
      if (vars->fields[i] != nullptr) LmxSetEventProp(event, kFieldKeys[i], vars->fields[i]);
  }
  LmxSetEventPropLong(event, "processId", static_cast<int32_t>(CxProcessGetCurrentID()));
  LmxSetEventPropLong(event, "threadId", static_cast<int32_t>(CxThreadGetCurrentID()));
  lmxPDXMLFormatterCacheMessageID(vars != nullptr ? vars->msgIdFormatter : nullptr, event);
  LmxBasicObjectFLog(logger, event);
}

}  // extern "C"
