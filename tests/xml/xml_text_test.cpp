// Texts inside records and message identifiers at the start of texts.
#include <gtest/gtest.h>

#include <string>

#include "lumex/output.h"
#include "output/xml_text.h"
#include "xml_reader.h"

namespace {

using lmx::XmlText;

std::string appended(const char *text, XmlText form) {
  CxStringBuff b{};
  EXPECT_TRUE(lmx::xmlAppend(&b, text, form));
  std::string s = b.data != nullptr ? b.data : "";
  CxStringBuffDiscard(&b);
  return s;
}

// The text with each '?' standing for U+FFFD, the replacement character.
std::string fffd(std::string s) {
  for (size_t at; (at = s.find('?')) != std::string::npos;) s.replace(at, 1, "\xEF\xBF\xBD");
  return s;
}

TEST(XmlText, SpecialCharactersAndBytesXmlCannotCarry) {
  // Escaped: as attribute value or element content; section: inside CDATA (null: as escaped).
  struct Row { const char *in, *escaped, *section = nullptr; } rows[] = {
      {"plain, \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80", "plain, \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80"},
      {"a<b&c>d\"e'", "a&lt;b&amp;c&gt;d&quot;e'", "a<b&c>d\"e'"},
      {"x]]>y]]]>z", "x]]&gt;y]]]&gt;z", "x]]]]><![CDATA[>y]]]]]><![CDATA[>z"},
      {"]]", "]]"},         {"tab\tlf\ncr\r", "tab\tlf\ncr\r"}, {"\x01\x08\x0B\x0C\x1F", "?????"},
      {"a\xC3", "a?"},      // cut at the end
      {"\xC3<", "?&lt;", "?<"},                         // lead byte without continuation
      {"\xC0\xAF", "??"},    {"\xE0\x80\xAF", "???"},        // overlong
      {"\xED\xA0\x80", "???"},                          // surrogate
      {"\xEF\xBF\xBE\xEF\xBF\xBD", "????"},              // U+FFFE, then U+FFFD itself
      {"\xF4\x90\x80\x80", "????"},                     // past U+10FFFF
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.in);
    EXPECT_EQ(appended(row.in, XmlText::Escaped), fffd(row.escaped));
    const std::string section = appended(row.in, XmlText::Section);
    std::string expected = fffd(row.section ? row.section : row.escaped);
    EXPECT_EQ(section, expected);
    // A parser reads the text back as it went in, with the replacements.
    xmltest::Parsed p = xmltest::parseRecords("<r><![CDATA[" + section + "]]><e>" +
                                              appended(row.in, XmlText::Escaped) + "</e></r>");
    ASSERT_TRUE(p.ok) << p.error;
    for (std::string::size_type at; (at = expected.find("]]]]><![CDATA[>")) != std::string::npos;) {
      expected.replace(at, 15, "]]>");
    }
    for (char &c : expected) c = c == '\r' ? '\n' : c;  // line ends are normalized by XML
    EXPECT_EQ(p.root.children.at(0).text, expected);
    EXPECT_EQ(p.root.children.at(0).child("e")->text, expected);
  }
  EXPECT_EQ(appended(nullptr, XmlText::Escaped), "");
}

TEST(XmlText, MessageIdentifiers) {
  const std::pair<const char *, const char *> rows[] = {
      {"ABC1234W rest", "ABC1234W"}, {"ABCD123E x", "ABCD123E"}, {"LMXBC0020E Out", "LMXBC0020E"},
      {"ABCD1234F", "ABCD1234F"},     {"abc1234W", "None"},       {"ABC 1234W", "None"},
      {"ABCdef123I", "ABCdef123I"},   // three more letters of either case
      {"ABC123456D", "ABC123456D"},   // digits up to the tenth place
      {"ABC1234Wxyz", "ABC1234W"},    // what follows the letter does not matter
      {"LMXBC0020", "None"},  {"LMXBC0020X", "None"},  // no severity letter, X is none
      {"LMXLG01E", "None"},   {"ABC123E", "None"},     // two digits after five letters, 7 long
      {"ABC12D34E", "None"},  {"ABC1234567", "None"},  // letter after a digit, no letter
      {nullptr, "None"},
  };
  for (const auto &[text, id] : rows) {
    char *got = lmxPDXMLGetMessageID(text);
    EXPECT_STREQ(got, id) << (text ? text : "(null)");
    BasMemoryFree(got);
  }
}

}  // namespace
