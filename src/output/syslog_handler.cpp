// The syslog handler: each record as one RFC 5424 message to the system's
// log collector over a local socket, UDP or TCP.
#include <cerrno>
#include <ctime>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/object.h"
#include "logging/event.h"
#include "messages/i18msg.h"
#include "logging/toolkit_report.h"
#include "lumex/output.h"
#include "output/handler_base.h"
#include "output/syslog_message.h"
#include "output/syslog_transport.h"

namespace {

struct SyslogVars {
  int facility = 1;
  std::string appName;
  std::string hostName;
  lmx::syslog::Link link;
  Event *current = nullptr;  // the record being written; null for header and trailer
  bool reporting = false;    // a drop report is on its way (it may come back here)
};

SyslogVars *varsOf(Object *handler) {
  return handler != nullptr ? static_cast<SyslogVars *>(handler->vars) : nullptr;
}

std::string localHostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

int utcOffsetMinutes(std::int64_t epochMillis) {
  std::time_t secs = static_cast<std::time_t>(epochMillis / 1000);
  std::tm local{};
  if (::localtime_r(&secs, &local) == nullptr) return 0;
  return static_cast<int>(local.tm_gmtoff / 60);
}

// Reports the records lost since the last report, once, and not from
// inside a report that reached this handler again.
void reportDrops(SyslogVars *vars) {
  if (vars->link.dropped == 0 || vars->reporting) return;
  auto count = static_cast<int32_t>(vars->link.dropped);
  vars->link.dropped = 0;
  vars->reporting = true;
  lmx::reportMsg(LMX_LEVEL_WARN, lmx::MsgKey::SyslogRecordsDropped, LMX_PARM_INT, count);
  vars->reporting = false;
}

// The identifier the record carries, else the one its catalog text starts
// with ("LMXFH0036W ..."); empty when there is none.
std::string messageId(const Event *event) {
  if (event->messageId != nullptr) return event->messageId;
  char *text = lmxIntlBindI18Msg(event->message);
  char *id = text != nullptr ? lmxPDXMLGetMessageID(text) : nullptr;
  std::string found = id != nullptr && BasStringCmp(id, "None") != 0 ? id : "";
  BasMemoryFree(id);
  BasMemoryFree(text);
  return found;
}

// The formatter's text without its line end, inside the message of the
// record being processed.
bool syslogWrite(Object *handler, const char *bytes, uint32_t length) {
  SyslogVars *vars = varsOf(handler);
  const Event *event = vars->current;
  if (event == nullptr) return true;  // headers and trailers are not records
  std::string_view text(bytes, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);

  std::vector<lmx::syslog::SdParam> params;
  for (LmxLink *at = lmxIntlStringToStringMapIterator(event->properties); at != nullptr;
       at = lmxIntlStringToStringMapIterNext(at)) {
    const char *value = static_cast<const char *>(lmx::mapEntry(at)->value);
    params.push_back({static_cast<const char *>(at->item), value != nullptr ? value : ""});
  }
  lmx::syslog::MessageParts parts;
  parts.facility = vars->facility;
  parts.severity = lmx::syslog::severityForLevel(event->level);
  parts.epochMillis = event->time;
  parts.utcOffsetMinutes = utcOffsetMinutes(event->time);
  parts.host = vars->hostName;
  parts.appName = vars->appName;
  parts.procId = static_cast<long>(::getpid());
  std::string msgId = messageId(event);
  parts.msgId = msgId;
  parts.params = params.data();
  parts.paramCount = params.size();
  parts.text = text;
  std::string message =
      lmx::syslog::buildMessage(parts, lmx::syslog::datagramLimit(vars->link.transport));
  if (lmx::syslog::linkSend(vars->link, message)) reportDrops(vars);
  return true;
}


bool syslogPrepare(Object *) { return true; }

std::string textProp(Object *handler, const char *key, const char *fallback) {
  unsigned char found = 0;
  char *text = lmxIntlGetObjProp(handler, key, &found);
  std::string value = text != nullptr ? text : fallback;
  BasMemoryFree(text);
  return value;
}

int intProp(Object *handler, const char *key, int fallback, int low) {
  unsigned char found = 0;
  int32_t value = lmxIntlGetObjPropInt(handler, key, &found);
  return found && value >= low ? value : fallback;
}

}  // namespace

extern "C" {

void *LmxSyslogHandlerFAllocVars(void) {
  auto *vars = new (std::nothrow) SyslogVars;
  if (vars == nullptr) return nullptr;
  vars->appName = program_invocation_short_name;
  vars->hostName = localHostName();
  return vars;
}

void LmxSyslogHandlerFFreeVars(void *vars) {
  auto *v = static_cast<SyslogVars *>(vars);
  if (v == nullptr) return;
  lmx::syslog::linkClose(v->link);
  delete v;
}

void LmxSyslogHandlerFCfgChange(Object *handler, const char *key) {
  SyslogVars *vars = varsOf(handler);
  if (vars == nullptr || key == nullptr) return;
  auto is = [key](const char *name) { return BasStringCmp(key, name) == 0; };
  lmx::syslog::Link &link = vars->link;
  if (is("facility")) {
    int code = lmx::syslog::facilityCode(textProp(handler, key, "user"));
    vars->facility = code >= 0 ? code : 1;
  } else if (is("appName")) {
    vars->appName = textProp(handler, key, program_invocation_short_name);
  } else if (is("transport") || is("socketPath") || is("host") || is("port")) {
    LmxSyslogHandlerFClose(handler);
    std::string transport = textProp(handler, "transport", "unix");
    link.transport = transport == "tcp"   ? lmx::syslog::Transport::Tcp
                     : transport == "udp" ? lmx::syslog::Transport::Udp
                                          : lmx::syslog::Transport::Unix;
    link.socketPath = textProp(handler, "socketPath", "/dev/log");
    link.host = textProp(handler, "host", "localhost");
    link.port = intProp(handler, "port", 514, 1);
  } else if (is("queueLimit")) {
    link.queueLimit = static_cast<std::size_t>(intProp(handler, key, 1000, 0));
  } else if (is("sendTimeoutMillis")) {
    link.timeoutMillis = intProp(handler, key, 100, 0);
  } else {
    LmxBasicHandlerFCfgChange(handler, key);
  }
}

void LmxSyslogHandlerFProcess(Object *handler, struct Event *event) {
  SyslogVars *vars = varsOf(handler);
  if (vars == nullptr) return;
  Event *outer = vars->current;
  vars->current = event;
  lmx::handlerProcess(handler, event, {syslogPrepare, nullptr, syslogWrite});
  vars->current = outer;
}

// The connection opens with the first record.
void LmxSyslogHandlerFOpen(Object *) {}

void LmxSyslogHandlerFClose(Object *handler) {
  SyslogVars *vars = varsOf(handler);
  if (vars == nullptr) return;
  lmx::syslog::linkClose(vars->link);
  reportDrops(vars);
}

}  // extern "C"
