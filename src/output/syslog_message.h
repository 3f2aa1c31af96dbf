// Building one syslog message (RFC 5424) from plain values, and the framing
// and cutting its transports need. Nothing here touches sockets or objects,
// so the handler and its tests share the same text rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lmx::syslog {

// One structured-data parameter: a name and its value, unescaped.
struct SdParam {
  std::string_view name;
  std::string_view value;
};

// Everything one message carries, as plain values.
struct MessageParts {
  int facility = 1;             // 0..23
  int severity = 7;             // 0..7
  std::int64_t epochMillis = 0; // milliseconds since 1970, UTC
  int utcOffsetMinutes = 0;     // the zone of the timestamp
  std::string_view host;
  std::string_view appName;
  long procId = 0;
  std::string_view msgId;       // empty: none
  const SdParam *params = nullptr;
  std::size_t paramCount = 0;
  std::string_view text;        // the formatter's text
};

// The enterprise number of the toolkit's structured-data element.
inline constexpr std::string_view kSdId = "lumex@32473";
// What a cut message ends with.
inline constexpr std::string_view kCutMark = "[truncated]";

// Facility code for a name ("user", "local3", ...); -1 when unknown.
int facilityCode(std::string_view name);
// Severity for a toolkit level: FATAL crit, ERROR err, WARN warning,
// INFO info, the debug levels and no level debug.
int severityForLevel(int level);

// Appends a parameter value with `"`, `\` and `]` escaped by a backslash.
void appendParamValue(std::string &out, std::string_view value);
// Appends a header field or parameter name: printable ASCII only (others
// become '_'), at most maxLen bytes, "-" when empty. Names also lose
// '=', ']' and '"', which would end them.
void appendHeaderField(std::string &out, std::string_view field, std::size_t maxLen);
void appendParamName(std::string &out, std::string_view name);
// RFC 3339 with milliseconds: 2026-12-07T13:03:29.123+01:00.
void appendTimestamp(std::string &out, std::int64_t epochMillis, int utcOffsetMinutes);

// The whole message. A limit other than 0 bounds its length in bytes: the
// text is cut at a character boundary and ends with kCutMark; when even the
// header and structured data do not fit, the structured data becomes "-".
std::string buildMessage(const MessageParts &parts, std::size_t limit = 0);

// Octet-counting frame for a stream: "<length> <message>".
std::string frameOctetCounted(std::string_view message);

// The longest prefix of text no longer than limit bytes that ends on a
// UTF-8 character boundary.
std::size_t utf8Prefix(std::string_view text, std::size_t limit);

} // namespace lmx::syslog
