// The XML formatter: record layout, record kinds, levels, product elements
// once per destination, free attributes, parameters, hostile texts.
#include <gtest/gtest.h>

#include <cstdarg>

#include "../common/helpers.h"
#include "../common/texts.h"
#include "logging/event.h"
#include "lumex/logging.h"
#include "lumex/output.h"
#include "xml_reader.h"

namespace {

class XmlFormatterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LmxOpenToolkit(nullptr));
    ASSERT_NE(fmt_ = LmxGetObject("t.xml", "lmx_xmlformatter"), nullptr);
    configure("dateTimeFormat", "T");  // a fixed time text
  }
  void TearDown() override {
    for (Event *e : events_) LmxFreeEvent(e);
    LmxReleaseObject(fmt_);
    LmxCloseToolkit();
  }
  void configure(const char *key, const char *value) { test::setProp(fmt_, key, value); }
  static void setProps(Event *e, std::initializer_list<std::pair<const char *, const char *>> kv) {
    for (const auto &[key, value] : kv) LmxSetEventProp(e, key, value);
  }
  // A catalog message (catalog not null) or a plain text at time 1234.
  Event *event(int32_t level, const char *catalog, int32_t key, const char *text, ...) {
    va_list args;
    va_start(args, text);
    Event *e = LmxVaAllocEvent(level, catalog, 1, key, text, args);
    va_end(args);
    e->time = 1234;
    events_.push_back(e);
    return e;
  }
  Event *trace(int32_t level, const char *text) {
    Event *e = event(level, nullptr, 0, text, 0);
    LmxSetEventIsMessage(e, 0);
    return e;
  }
  std::string format(Event *e) { return test::take(LmxPDXMLFormatterFFormat(fmt_, e)); }
  // The records parsed; fails the test when they are not well-formed.
  static xmltest::Element records(const std::string &text) {
    xmltest::Parsed p = xmltest::parseRecords(text);
    EXPECT_TRUE(p.ok) << p.error;
    return p.root;
  }
  xmltest::Element parsed(Event *e) {
    xmltest::Element all = records(format(e));
    EXPECT_EQ(all.children.size(), 1u);
    return all.children.empty() ? xmltest::Element{} : all.children.back();
  }

  Object *fmt_ = nullptr;
  std::vector<Event *> events_;
};

// Free attributes stand in the order first set, names compared with case; no
// Thread, Process or Source without a source file.
TEST_F(XmlFormatterTest, MessageRecordOfAProblemDataLogger) {
  Event *e = event(LMX_LEVEL_ERROR, "lmxmsg", 20, "LMXBC0020E Out of memory.\r", LMX_PARM_STRING,
                   "disk", LMX_PARM_INT, 5, 0);
  setProps(e, {{"zeta", "1"}, {"server", "host.example.org"}, {"serverFormat", "IP"},
               {"organization", "o"}, {"client", "c"}, {"alpha", "2"}, {"zeta", "3"},
               {"Server", "S"}, {"processId", "42"}, {"threadId", "43"},
               {LMX_PROP_SRCFUNCTION, "f"}});
  EXPECT_EQ(format(e),
            "<Message Id=\"LMXBC0020E\" Severity=\"ERROR\">\n <Time Millis=\"1234\">T</Time>\n"
            " <Server Format=\"IP\">host.example.org</Server>\n"
            " <LogText><![CDATA[LMXBC0020E Out of memory.\r]]></LogText>\n"
            " <LogAttribs><Key>zeta</Key><Value>3</Value><Key>organization</Key><Value>o</Value>"
            "<Key>alpha</Key><Value>2</Value><Key>Server</Key><Value>S</Value></LogAttribs>\n"
            " <TranslationInfo Type=\"XPG4\" Catalog=\"lmxmsg\" MsgKey=\"20\" SetId=\"1\">"
            "<Param><![CDATA[disk]]></Param><Param><![CDATA[5]]></Param></TranslationInfo>\n"
            " <Principal>c</Principal>\n</Message>\n");
}

TEST_F(XmlFormatterTest, TraceRecordsWithAndWithoutSource) {
  Event *e = trace(LMX_LEVEL_DEBUG_MIN, "step");
  setProps(e, {{"organization", "org"}, {LMX_PROP_SRCFILE, "a.c"}, {LMX_PROP_SRCLINE, "7"},
               {LMX_PROP_SRCFUNCTION, "f"}, {"processId", "42"}, {"threadId", "-2"},  // unsigned
               {"correlationId", "c-1"}, {"client", "alice"}});
  EXPECT_EQ(format(e),
            "<Trace Level=\"MIN\">\n <Time Millis=\"1234\">T</Time>\n"
            " <LogText><![CDATA[step]]></LogText>\n"
            " <LogAttribs><Key>organization</Key><Value>org</Value></LogAttribs>\n"
            " <Source FileName=\"a.c\" Method=\"f\" Line=\"7\"/>\n"
            " <Thread>4294967294</Thread>\n <Process>42</Process>\n"
            " <CorrelationId>c-1</CorrelationId>\n <Principal>alice</Principal>\n</Trace>\n");
  EXPECT_EQ(format(trace(LMX_LEVEL_NONE, nullptr)),
            "<Trace>\n <Time Millis=\"1234\">T</Time>\n <LogText><![CDATA[]]></LogText>\n"
            " <Source FileName=\"None\" Method=\"None\"/>\n</Trace>\n");
}

TEST_F(XmlFormatterTest, RecordKindFromTheEventAndTheForceKeys) {
  struct Row { bool isMessage; const char *forceAsMessage, *forceAsTrace, *kind; } rows[] = {
      {true, nullptr, nullptr, "Message"},  {false, nullptr, nullptr, "Trace"},
      {true, nullptr, "true", "Trace"},     {true, nullptr, "TRUE", "Trace"},
      {false, "True", nullptr, "Message"},  {true, "true", "false", "Message"},
      {true, "true", "true", "Message"},    {false, "true", "true", "Trace"},
      {false, "yes", nullptr, "Trace"},     {true, nullptr, "1", "Message"},
  };
  for (const Row &row : rows) {
    configure("forceAsMessage", row.forceAsMessage);
    configure("forceAsTrace", row.forceAsTrace);
    Event *e = event(LMX_LEVEL_WARN, row.isMessage ? "cat" : nullptr, 1, "ABC1234W x", 0);
    LmxSetEventIsMessage(e, row.isMessage);
    EXPECT_EQ(parsed(e).name, row.kind)
        << row.isMessage << " " << (row.forceAsMessage ? row.forceAsMessage : "-") << " "
        << (row.forceAsTrace ? row.forceAsTrace : "-");
  }
}

TEST_F(XmlFormatterTest, LevelNames) {
  struct Row { int32_t level; const char *name; } rows[] = {
      {LMX_LEVEL_DEBUG_MAX, "MAX"}, {LMX_LEVEL_DEBUG_MID, "MID"}, {LMX_LEVEL_DEBUG_MIN, "MIN"},
      {LMX_LEVEL_INFO, "INFO"},     {LMX_LEVEL_WARN, "WARN"},     {LMX_LEVEL_ERROR, "ERROR"},
      {LMX_LEVEL_FATAL, "ERROR"},   {LMX_LEVEL_ALL, "OTHER"},     {LMX_LEVEL_OFF, "OTHER"},
      {4500, "OTHER"},              {LMX_LEVEL_NONE, "<absent>"}};
  for (const Row &row : rows) {
    EXPECT_EQ(parsed(event(row.level, "cat", 1, "t", 0)).attr("Severity"), row.name) << row.level;
    EXPECT_EQ(parsed(trace(row.level, "t")).attr("Level"), row.name) << row.level;
  }
}

TEST_F(XmlFormatterTest, MessageIdFromTheEventOrItsText) {
  struct Row { const char *text, *messageId, *id; } rows[] = {
      {"LMXBC0020E Out", nullptr, "LMXBC0020E"}, {"LMXBC0020E Out", "MINE0001I", "MINE0001I"},
      {"LMXBC0020E Out", "", "None"},            {nullptr, nullptr, "None"}};
  for (const Row &row : rows) {
    Event *e = event(LMX_LEVEL_INFO, "cat", 1, row.text, 0);
    LmxSetEventMessageId(e, row.messageId);
    EXPECT_EQ(parsed(e).attr("Id"), row.id);
  }
}

TEST_F(XmlFormatterTest, ProductElementsInEveryRecordOrOncePerDestination) {
  struct Row { const char *key, *property, *element; } rows[] = {
      {"singleServer", "server", "Server"},          {"singleProduct", "product", "ProductId"},
      {"singleComponent", "component", "Component"},
      {"singleProductId", "productInstance", "ProductInstance"}};
  for (const Row &row : rows) {
    SCOPED_TRACE(row.key);
    Event *e = event(LMX_LEVEL_INFO, "cat", 1, "t", 0);
    LmxSetEventProp(e, row.property, "v");
    configure(row.key, nullptr);
    EXPECT_EQ(parsed(e).childNames(),
              (std::vector<std::string>{"Time", row.element, "LogText", "TranslationInfo"}));
    configure(row.key, "true");
    LmxPDXMLFormatterFGetHeader(fmt_);  // a destination opened
    std::string text = format(e);
    text += format(e);
    EXPECT_EQ(LmxPDXMLFormatterFGetHeader(fmt_), nullptr);  // the destination opened again
    text += format(e);
    const xmltest::Element all = records(text + format(e));
    EXPECT_EQ(all.childNames(), (std::vector<std::string>{row.element, "Message", "Message",
                                                          row.element, "Message", "Message"}));
    for (const xmltest::Element &rec : all.children) EXPECT_EQ(rec.child(row.element), nullptr);
  }
  // Without a server format the attribute is empty.
  configure("singleServer", "false");
  Event *e = event(LMX_LEVEL_INFO, "cat", 1, "t", 0);
  LmxSetEventProp(e, "server", "h");
  EXPECT_EQ(parsed(e).child("Server")->attr("Format"), "");
  // The single elements stand in this order.
  for (const Row &row : rows) {
    configure(row.key, "true");
    LmxSetEventProp(e, row.property, "v");
  }
  LmxPDXMLFormatterFGetHeader(fmt_);
  EXPECT_EQ(records(format(e)).childNames(),
            (std::vector<std::string>{"Server", "ProductId", "Component", "ProductInstance",
                                      "Message"}));
}

TEST_F(XmlFormatterTest, HostileTextsEverywhereStayWellFormed) {
  // Every character that could end a text early, and bytes XML cannot carry.
  const char *hostile[] = {"]]></LogText><Forged/><![CDATA[\"/><Forged a=\"&amp; &bogus;'",
                           "\x01\x7F\x1B[31m\xFF\xFE<\xC3"};
  for (const char *h : hostile) {
    SCOPED_TRACE(h);
    configure("dateTimeFormat", h);
    Event *e = event(LMX_LEVEL_WARN, h, 1, h, LMX_PARM_STRING, h, LMX_NAMED_PROP, h,
                     LMX_PARM_STRING, h, 0);
    LmxSetEventMessageId(e, h);
    for (const char *key : {"server", "serverFormat", "product", "component", "productInstance",
                            LMX_PROP_SRCFILE, LMX_PROP_SRCFUNCTION, "correlationId", "client"}) {
      LmxSetEventProp(e, key, h);
    }
    for (const char *kind : {"Message", "Trace"}) {
      configure("forceAsTrace", kind[0] == 'T' ? "true" : nullptr);
      xmltest::Element r = parsed(e);
      EXPECT_EQ(r.name, kind);
      for (const std::string &n : r.childNames()) EXPECT_NE(n, "Forged");
      const xmltest::Element *attribs = r.child("LogAttribs");
      ASSERT_NE(attribs, nullptr);
      ASSERT_EQ(attribs->children.size(), 2u);
      // Texts without replaced bytes come back as they went in.
      if (std::string(h).find_first_of("\x01\xFF") == std::string::npos) {
        EXPECT_EQ(attribs->children[0].text, h);
        EXPECT_EQ(r.child("LogText")->text, h);
        EXPECT_EQ(r.child("Source")->attr("FileName"), h);
        EXPECT_EQ(r.child("Time")->text, h);
        if (r.name == "Message") {
          EXPECT_EQ(r.attr("Id"), h);
          EXPECT_EQ(r.child("TranslationInfo")->attr("Catalog"), h);
          EXPECT_EQ(r.child("TranslationInfo")->child("Param")->text, h);
        }
      }
    }
  }
}

TEST_F(XmlFormatterTest, NothingWithoutFormatterVariablesOrEvent) {
  Event *e = event(LMX_LEVEL_INFO, "cat", 1, "t", 0);
  EXPECT_EQ(LmxPDXMLFormatterFFormat(fmt_, nullptr), nullptr);
  EXPECT_EQ(LmxPDXMLFormatterFFormat(nullptr, e), nullptr);
  Object bare{};
  bare.objClass = fmt_->objClass;
  EXPECT_EQ(LmxPDXMLFormatterFFormat(&bare, e), nullptr);
  LmxPDXMLFormatterFCfgChange(&bare, "singleServer");
  EXPECT_EQ(LmxPDXMLFormatterFGetHeader(&bare), nullptr);
  EXPECT_EQ(LmxPDXMLFormatterFGetTrailer(fmt_), nullptr);
  lmxPDXMLFormatterCacheMessageID(nullptr, nullptr);
}

}  // namespace
