// Syslog message text: priority, timestamp, header fields, structured data,
// cutting at character boundaries and stream framing.
#include <gtest/gtest.h>

#include "lumex/logging.h"
#include "output/syslog_message.h"

using namespace lmx::syslog;

TEST(SyslogMessage, PriorityFromFacilityAndLevel) {
  struct Row { const char *facility; int level; const char *pri; } rows[] = {
      {"user", LMX_LEVEL_FATAL, "<10>"},     {"user", LMX_LEVEL_WARN, "<12>"},
      {"user", LMX_LEVEL_INFO, "<14>"},      {"user", LMX_LEVEL_DEBUG_MIN, "<15>"},
      {"user", LMX_LEVEL_NONE, "<15>"},      {"kern", LMX_LEVEL_INFO, "<6>"},
      {"local7", LMX_LEVEL_ERROR, "<187>"},  {"daemon", LMX_LEVEL_WARN + 1, "<28>"},
  };
  for (const Row &r : rows) {
    MessageParts p;
    p.facility = facilityCode(r.facility);
    p.severity = severityForLevel(r.level);
    EXPECT_EQ(buildMessage(p).substr(0, std::string(r.pri).size() + 2), std::string(r.pri) + "1 ")
        << r.facility << " " << r.level;
  }
  EXPECT_EQ(facilityCode("bogus"), -1);
  EXPECT_EQ(facilityCode("local0"), 16);
}

TEST(SyslogMessage, Timestamps) {
  struct Row { long long ms; int off; const char *text; } rows[] = {
      {0, 0, "1970-01-01T00:00:00.000+00:00"}, {-1, 0, "1969-12-31T23:59:59.999+00:00"},
      {1796648609123LL, 0, "2026-12-07T13:03:29.123+00:00"},
      {1796648609123LL, 90, "2026-12-07T14:33:29.123+01:30"},
      {1796648609005LL, -300, "2026-12-07T08:03:29.005-05:00"},
      {951782400000LL, 0, "2000-02-29T00:00:00.000+00:00"},
  };
  for (const Row &r : rows) {
    std::string out;
    appendTimestamp(out, r.ms, r.off);
    EXPECT_EQ(out, r.text);
  }
}

TEST(SyslogMessage, WholeMessageWithEscapedStructuredData) {
  SdParam params[] = {{"file", "a\"b\\c]d"}, {"line", "42"}, {"bad name=]", "x"}};
  MessageParts p{1,    3,      1796648609123LL, 0, "box", "my app", 4242, "LMX0001E",
                 params, 3, "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC\r\n"};
  EXPECT_EQ(buildMessage(p),
            "<11>1 2026-12-07T13:03:29.123+00:00 box my_app 4242 LMX0001E "
            "[lumex@32473 file=\"a\\\"b\\\\c\\]d\" line=\"42\" bad_name__=\"x\"] "
            "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC");
  p.msgId = p.host = p.text = "";
  p.paramCount = 0;
  EXPECT_EQ(buildMessage(p), "<11>1 2026-12-07T13:03:29.123+00:00 - my_app 4242 - -");
}

TEST(SyslogMessage, CutAtCharacterBoundaryAndMarked) {
  const std::string euros = "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC";
  const std::string text = euros + euros;  // eight 3-byte characters
  MessageParts p{1, 7, 0, 0, "h", "a", 1, {}, nullptr, 0, text};
  const std::string whole = buildMessage(p), mark(kCutMark);
  const std::size_t head = whole.size() - text.size();
  struct Row { std::size_t limit; std::string expect; } rows[] = {
      {whole.size(), whole},
      {head + mark.size() + 11, whole.substr(0, head + 9) + mark},
      {head + mark.size() + 2, whole.substr(0, head) + mark},
  };
  for (const Row &r : rows) {
    std::string got = buildMessage(p, r.limit);
    EXPECT_EQ(got, r.expect) << r.limit;
    EXPECT_LE(got.size(), r.limit);
  }
  // Structured data that leaves no room for text gives way to "-".
  SdParam params[] = {{"k", "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvv"}};
  p.params = params;
  p.paramCount = 1;
  EXPECT_EQ(buildMessage(p, head + mark.size() + 10),
            whole.substr(0, head) + euros.substr(0, 9) + mark);
}

TEST(SyslogMessage, Utf8PrefixAndFraming) {
  struct Row { const char *text; std::size_t limit, expect; } rows[] = {
      {"abc", 5, 3}, {"abc", 2, 2}, {"a\xC3\xBC", 2, 1}, {"a\xF0\x9F\x98\x80z", 4, 1},
      {"a\xF0\x9F\x98\x80z", 5, 5}, {"", 0, 0},
  };
  for (const Row &r : rows) EXPECT_EQ(utf8Prefix(r.text, r.limit), r.expect) << r.text;
  EXPECT_EQ(frameOctetCounted("<14>1 x"), "7 <14>1 x");
  EXPECT_EQ(frameOctetCounted(""), "0 ");
}
