// A handler's formatter: getting, setting, asking it for texts, and naming
// it in the configuration.
#include "output_fixture.h"

namespace {

using test::takeText;

class HandlerFormatterTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    ASSERT_TRUE(openToolkit());
    test::addFramedFormatterClass();
    handler_ = LmxGetObject("test.handler", "lmx_consolehandler");
    ASSERT_NE(handler_, nullptr);
  }
  void TearDown() override {
    LmxReleaseObject(handler_);
    OutputTest::TearDown();
  }
  std::string formatterName() {
    Object *formatter = LmxHandlerGetFormatter(handler_);
    std::string name = formatter != nullptr ? formatter->name : "<none>";
    LmxReleaseObject(formatter);
    return name;
  }
  Object *handler_ = nullptr;
};

TEST_F(HandlerFormatterTest, NewHandlerFormatsWithTheDefaultFormattersFullStamp) {
  EXPECT_EQ(formatterName(), "lumex.defaultFormatter");
  EXPECT_EQ(LmxHandlerGetFmtHeader(handler_), nullptr);
  EXPECT_EQ(LmxHandlerGetFmtTrailer(handler_), nullptr);
  Event *event = test::newEvent(nullptr, "m", 0);
  EXPECT_EQ(takeText(LmxHandlerDoFmt(handler_, event)),
            takeText(LmxBasicFormatterFormatDate(nullptr, LmxGetEventTime(event))) + " m\n");
  LmxFreeEvent(event);
  // Other keys reach the generic configuration; calls without an object or
  // a key change nothing.
  LmxSetObjProp(handler_, "logging", "OFF");
  EXPECT_FALSE(LmxIsObjectEnabled(handler_));
  LmxSetObjProp(handler_, "logging", "true");
  EXPECT_TRUE(LmxIsObjectEnabled(handler_));
  LmxBasicHandlerFCfgChange(nullptr, "formatterName");
  LmxBasicHandlerFCfgChange(handler_, nullptr);
  EXPECT_EQ(formatterName(), "lumex.defaultFormatter");
}

TEST_F(HandlerFormatterTest, TextsComeFromTheFormattersOperations) {
  Object *framed = LmxGetObject("test.framed", "test_framed");
  LmxHandlerSetFormatter(handler_, framed);
  LmxSetObjProp(framed, "dateTimeFormat", "T");
  Event *event = test::newEvent(nullptr, "m", 0);
  EXPECT_EQ(takeText(LmxHandlerGetFmtHeader(handler_)), "<head>\n");
  EXPECT_EQ(takeText(LmxHandlerGetFmtTrailer(handler_)), "<tail>\n");
  EXPECT_EQ(takeText(LmxHandlerDoFmt(handler_, event)), "T m\n");

  // No formatter, or an object of another kind in its place: no texts.
  Object *logger = LmxGetObject("test.logger", "lmx_basiclogger");
  for (Object *formatter : {static_cast<Object *>(nullptr), logger}) {
    LmxHandlerSetFormatter(handler_, formatter);
    EXPECT_EQ(LmxHandlerGetFmtHeader(handler_), nullptr);
    EXPECT_EQ(LmxHandlerGetFmtTrailer(handler_), nullptr);
    EXPECT_EQ(LmxHandlerDoFmt(handler_, event), nullptr);
  }
  EXPECT_EQ(formatterName(), "test.logger");

  // Objects that are not handlers have no formatter and are left alone.
  LmxHandlerSetFormatter(logger, framed);
  EXPECT_EQ(LmxHandlerGetFormatter(logger), nullptr);
  EXPECT_EQ(LmxHandlerGetFmtHeader(logger), nullptr);
  EXPECT_EQ(LmxHandlerGetFmtTrailer(logger), nullptr);
  EXPECT_EQ(LmxHandlerDoFmt(logger, event), nullptr);
  EXPECT_EQ(LmxHandlerGetFormatter(nullptr), nullptr);
  EXPECT_EQ(LmxHandlerDoFmt(nullptr, event), nullptr);

  LmxFreeEvent(event);
  LmxReleaseObject(logger);
  LmxReleaseObject(framed);
}

TEST_F(HandlerFormatterTest, SettingTheCurrentFormatterAgainKeepsItAndItsCount) {
  Object *formatter = LmxGetObject("test.fmt", "lmx_basicformatter");
  LmxHandlerSetFormatter(handler_, formatter);
  int32_t before = formatter->references;  // map, handler, this test
  LmxHandlerSetFormatter(handler_, formatter);
  EXPECT_EQ(formatter->references, before);
  // Now the handler holds the only reference outside the instances map.
  LmxReleaseObject(formatter);
  LmxHandlerSetFormatter(handler_, formatter);
  EXPECT_EQ(formatterName(), "test.fmt");
  EXPECT_EQ(formatter->references, before - 1);
  // Another formatter in its place destroys the old one.
  LmxHandlerSetFormatter(handler_, nullptr);
  Object *again = LmxGetObject("test.fmt", nullptr);
  EXPECT_EQ(again, nullptr) << "the replaced formatter should be gone";
  LmxReleaseObject(again);
}

TEST_F(HandlerFormatterTest, FormatterNameReplacesTheFormatterByName) {
  Object *framed = LmxGetObject("test.framed", "test_framed");
  struct Row {
    const char *value;  // null: the key taken out of the configuration
    const char *formatter;
  } rows[] = {
      {"test.framed", "test.framed"},
      {"lumex.defaultFormatter", "lumex.defaultFormatter"},
      {"test.framed", "test.framed"},
      {nullptr, "test.framed"},         // gone: the handler keeps its formatter
      {"test.unconfigured", "<none>"},  // no object of that name can be made
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(str(row.value));
    if (row.value != nullptr) {
      LmxSetObjProp(handler_, "formatterName", row.value);
    } else {
      test::removeProp(handler_, "formatterName");
    }
    EXPECT_EQ(formatterName(), row.formatter);
  }
  // The framed formatter is held by nobody now but the test.
  EXPECT_EQ(framed->references, 2);
  LmxReleaseObject(framed);
}

}  // namespace
