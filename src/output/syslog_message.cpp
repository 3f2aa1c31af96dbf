// Syslog message text: header fields, structured data, framing and cutting.
#include "output/syslog_message.h"

#include <cstdio>

#include "lumex/logging.h"

namespace lmx::syslog {
namespace {

constexpr std::string_view kFacilities[] = {
    "kern", "user",     "mail", "daemon", "auth",  "syslog", "lpr",   "news",
    "uucp", "cron",     "authpriv", "ftp", "ntp",  "audit",  "alert", "clock",
    "local0", "local1", "local2", "local3", "local4", "local5", "local6", "local7"};

// Maximum lengths of the header fields.
constexpr std::size_t kHostMax = 255, kAppMax = 48, kProcMax = 128, kMsgIdMax = 32,
                      kNameMax = 32;

bool printable(unsigned char c) { return c >= 33 && c <= 126; }

void appendNumber(std::string &out, long long v, int width) {
  char buf[24];
  int n = std::snprintf(buf, sizeof buf, "%0*lld", width, v);
  out.append(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
void civilFromDays(long long z, long long &y, unsigned &m, unsigned &d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<long long>(yoe) + era * 400 + (m <= 2);
}

void appendStructuredData(std::string &out, const MessageParts &p) {
  if (p.paramCount == 0) {
    out += '-';
    return;
  }
  out += '[';
  out += kSdId;
  for (std::size_t i = 0; i < p.paramCount; ++i) {
    out += ' ';
    appendParamName(out, p.params[i].name);
    out += "=\"";
    appendParamValue(out, p.params[i].value);
    out += '"';
  }
  out += ']';
}

// The formatter's text without its closing line end.
std::string_view bodyOf(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

} // namespace

int facilityCode(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kFacilities); ++i)
    if (kFacilities[i] == name) return static_cast<int>(i);
  return -1;
}

int severityForLevel(int level) {
  if (level >= LMX_LEVEL_FATAL) return level >= LMX_LEVEL_OFF ? 7 : 2;
  if (level >= LMX_LEVEL_ERROR) return 3;
  if (level >= LMX_LEVEL_WARN) return 4;
  if (level >= LMX_LEVEL_INFO) return 6;
  return 7;
}

void appendParamValue(std::string &out, std::string_view value) {
  for (char c : value) {
    if (c == '"' || c == '\\' || c == ']') out += '\\';
    out += c;
  }
}

void appendHeaderField(std::string &out, std::string_view field, std::size_t maxLen) {
  if (field.empty()) {
    out += '-';
    return;
  }
  if (field.size() > maxLen) field = field.substr(0, maxLen);
  for (char c : field) out += printable(static_cast<unsigned char>(c)) ? c : '_';
}

void appendParamName(std::string &out, std::string_view name) {
  if (name.empty()) {
    out += '_';
    return;
  }
  if (name.size() > kNameMax) name = name.substr(0, kNameMax);
  for (char c : name) {
    bool ok = printable(static_cast<unsigned char>(c)) && c != '=' && c != ']' && c != '"';
    out += ok ? c : '_';
  }
}

void appendTimestamp(std::string &out, std::int64_t epochMillis, int utcOffsetMinutes) {
  long long local = epochMillis + static_cast<long long>(utcOffsetMinutes) * 60000;
  long long ms = local % 1000, secs = local / 1000;
  if (ms < 0) ms += 1000, secs -= 1;
  long long days = secs / 86400, sod = secs % 86400;
  if (sod < 0) sod += 86400, days -= 1;
  long long y;
  unsigned m, d;
  civilFromDays(days, y, m, d);
  appendNumber(out, y, 4);
  out += '-';
  appendNumber(out, m, 2);
  out += '-';
  appendNumber(out, d, 2);
  out += 'T';
  appendNumber(out, sod / 3600, 2);
  out += ':';
  appendNumber(out, sod / 60 % 60, 2);
  out += ':';
  appendNumber(out, sod % 60, 2);
  out += '.';
  appendNumber(out, ms, 3);
  int off = utcOffsetMinutes;
  out += off < 0 ? '-' : '+';
  if (off < 0) off = -off;
  appendNumber(out, off / 60, 2);
  out += ':';
  appendNumber(out, off % 60, 2);
}

std::size_t utf8Prefix(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t n = limit;
  // Step back over continuation bytes to the lead byte of the cut character.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

std::string buildMessage(const MessageParts &p, std::size_t limit) {
  std::string out;
  out += '<';
  appendNumber(out, p.facility * 8 + p.severity, 1);
  out += ">1 ";
  appendTimestamp(out, p.epochMillis, p.utcOffsetMinutes);
  out += ' ';
  appendHeaderField(out, p.host, kHostMax);
  out += ' ';
  appendHeaderField(out, p.appName, kAppMax);
  out += ' ';
  std::string proc;
  appendNumber(proc, p.procId, 1);
  appendHeaderField(out, proc, kProcMax);
  out += ' ';
  appendHeaderField(out, p.msgId, kMsgIdMax);
  out += ' ';
  const std::size_t headerLen = out.size();
  appendStructuredData(out, p);
  std::string_view body = bodyOf(p.text);
  const std::size_t whole = out.size() + (body.empty() ? 0 : 1 + body.size());
  if (limit == 0 || whole <= limit) {
    if (!body.empty()) out.append(1, ' ').append(body);
    return out;
  }
  if (out.size() + 1 + kCutMark.size() > limit) {
    out.resize(headerLen);
    out += '-';
  }
  out += ' ';
  std::size_t room = limit > out.size() + kCutMark.size() ? limit - out.size() - kCutMark.size() : 0;
  out.append(body.substr(0, utf8Prefix(body, room))).append(kCutMark);
  return out;
}

std::string frameOctetCounted(std::string_view message) {
  std::string out;
  appendNumber(out, static_cast<long long>(message.size()), 1);
  out += ' ';
  out.append(message);
  return out;
}

} // namespace lmx::syslog
