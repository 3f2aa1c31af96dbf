// Parameters and their formatting; messages: binding, copies, EBCDIC, printing
// in the local code set; the message table against its published texts, the
// built catalog and a translated one found along NLSPATH.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../common/texts.h"
#include "messages/i18msg.h"
#include "messages/msg_table.h"
#include "messages/parm_format.h"

namespace {

using test::take;

// One parameter: its type tag and its value.
struct Arg { int type; double num; const char *str; };
Arg S(const char *s) { return {LMX_PARM_STRING, 0, s}; }
Arg N(int type, double v) { return {type, v, nullptr}; }
constexpr int kB = LMX_PARM_BOOL, kI = LMX_PARM_INT, kL = LMX_PARM_LONG, kF = LMX_PARM_FLOAT,
              kD = LMX_PARM_DOUBLE, kC = LMX_PARM_CHAR;

Parm parm(const Arg &a) {
  Parm p{a.type, {}};
  switch (a.type) {
    case kB: p.value.b = static_cast<unsigned char>(a.num); break;
    case kL: p.value.l = static_cast<int32_t>(a.num); break;
    case kF: p.value.f = static_cast<float>(a.num); break;
    case kD: p.value.d = a.num; break;
    case kC: p.value.c = static_cast<char>(static_cast<int>(a.num)); break;
    case LMX_PARM_STRING: p.value.s = const_cast<char *>(a.str); break;
    default: p.value.i = static_cast<int32_t>(a.num);  // int and invalid tags
  }
  return p;
}

TEST(Parm, CompareNeedsTheSameTagAndValue) {
  char a[] = "same", b[] = "same";
  const Arg i5 = N(kI, 5), l5 = N(kL, 5), i6 = N(kI, 6), sa = S(a), sb = S(b), none = S(nullptr),
            f = N(kF, 0.5), d = N(kD, 0.5), bad = N(500, 0);
  const struct { const Arg *a, *b; bool same; } rows[] = {  // null: no parameter
      {nullptr, nullptr, true}, {&i5, nullptr, false}, {&i5, &l5, false}, {&i5, &i6, false},
      {&sa, &sb, true},  // by text, not storage
      {&sa, &none, false}, {&none, &none, true}, {&f, &d, false},
      {&bad, &bad, false}};  // an invalid tag never matches
  for (const auto &r : rows) {
    Parm pa = r.a ? parm(*r.a) : Parm{}, pb = r.b ? parm(*r.b) : Parm{};
    EXPECT_EQ(LmxCmpParms(r.a ? &pa : nullptr, r.b ? &pb : nullptr) != 0, r.same) << &r - rows;
  }
}

TEST(Parm, CopyOfNoTextOrAnInvalidTag) {
  for (const Arg &a : {S(nullptr), N(999, 1)}) {
    Parm p = parm(a), *copy = LmxCopyParm(&p);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->type, a.type);
    if (a.type == LMX_PARM_STRING) {
      EXPECT_EQ(copy->value.s, nullptr);
    }
    LmxFreeParm(copy);
  }
  EXPECT_EQ(LmxCopyParm(nullptr), nullptr);
}

TEST(Aprintf, FillsConversionsFromTheParameterList) {
  using Args = std::vector<Arg>;
  const Args none, a = {S("a")}, ab = {S("a"), S("b")}, abc = {S("a"), S("b"), S("ignored")},
      empty = {S("")}, numText = {N(kI, 5), S("text")}, ints = {N(kI, -42), N(kL, -2)},
      typed = {N(kI, -42), N(kD, 2.5), N(kC, 0xE9), N(kF, 0.125), N(kL, 7), N(kB, 'Y')};
  // Int and long parameters print as 32-bit values, as the C library does.
  char want[96];
  std::snprintf(want, sizeof want, "%x %X %o %u|%x %d", -42, -42, -42, -42, -2, -2);
  const struct { const Args *parms; const char *format; std::string expected; } rows[] = {
      {&a, "Object '%1$s' of class '%2$s'", "<null>"},  // the second one missing
      {&ab, "%2$s", "b"}, {&abc, "[%1$s]", "[a]"},      // parameters passed over
      {nullptr, "no list needed", "no list needed"}, {nullptr, "%1$s", "<null>"},
      {&ab, nullptr, "<null>"}, {&none, "", "<null>"},  // nothing written
      {&none, "bad %y", "<null>"}, {&empty, "%s", "<null>"},  // a parse error, an empty result
      // The parameter's type gives the value, the format the look.
      {&typed, "%1$d|%5$#x|%2$.1f|%4$g|%5$05d|%6$c", "-42|0x7|2.5|0.125|00007|Y"},
      {&typed, "%3$u", "233"}, {&typed, "%1$*5$d", "    -42"},  // unsigned char, width parameter
      // Numbers are never read as texts, nor texts as numbers.
      {&numText, "%1$s", "<null>"}, {&numText, "%2$S", "<null>"}, {&numText, "%2$ls", "<null>"},
      {&numText, "%2$*2$d", "<null>"}, {&numText, "%2$.*2$s", "<null>"},
      {&numText, "%1$n", "<null>"}, {&numText, "%2$s has %1$d", "text has 5"},
      {&ints, "%1$x %1$X %1$o %1$u|%2$x %2$d", want},
  };
  for (const auto &r : rows) {
    ParmList *list = r.parms ? LmxAllocParmList() : nullptr;
    for (const Arg &arg : r.parms ? *r.parms : none) {
      Parm p = parm(arg);
      ASSERT_TRUE(LmxParmListAppend(list, &p));
    }
    EXPECT_EQ(take(LmxAprintf(r.format, list)), r.expected) << &r - rows;
    LmxFreeParmList(list);
  }
}

TEST(ParmToStr, DefaultAndGivenFormats) {
  const struct { const char *format; Arg arg; std::string expected; } rows[] = {
      {nullptr, N(kI, -7), "-7"},       {nullptr, N(kF, 1.5), "1.500000"},
      {"%05d", N(kI, 42), "00042"},     {nullptr, N(kB, 1), "\x01"},  // the character of code 1
      {"%d %d", N(kI, 42), "<null>"},   {nullptr, N(600, 1), "<null>"}};  // one parameter only
  for (const auto &r : rows) {
    Parm p = parm(r.arg);
    EXPECT_EQ(take(lmxParmToUTF8Str(r.format, &p)), r.expected) << &r - rows;
  }
  Parm x = parm(S("x"));
  EXPECT_EQ(take(lmxParmToLocalStr("<%s>", &x)), "<x>");
}

void addArgs(I18Msg *msg, const std::vector<Arg> &args) {
  for (const Arg &a : args) {
    const Parm p = parm(a);
    switch (a.type) {
      case kB: LmxAddI18MsgParmBool(msg, p.value.b); break;
      case kI: LmxAddI18MsgParmInt(msg, p.value.i); break;
      case kL: LmxAddI18MsgParmLong(msg, p.value.l); break;
      case kF: LmxAddI18MsgParmFloat(msg, p.value.f); break;
      case kD: LmxAddI18MsgParmDouble(msg, p.value.d); break;
      case kC: LmxAddI18MsgParmChar(msg, p.value.c); break;
      default: LmxAddI18MsgParmString(msg, a.str); break;
    }
  }
}

class I18MsgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No catalog file can be found: every look-up falls back.
    setenv("NLSPATH", "/nonexistent/%L/%N.cat", 1);
    lmxI18InitIlx();
  }
  void TearDown() override {
    lmxI18UninitIlx();
    unsetenv("NLSPATH");
  }
};

TEST_F(I18MsgTest, BindFillsParametersByPositionOrFallsBackToTheDefault) {
  const char *k61 = lmx::msgText(lmx::MsgKey::WrongObjectClass);
  const struct { const char *catalog, *text; int32_t key; std::vector<Arg> args;
                 std::string expected; } rows[] = {
      {nullptr, "%1$d|%2$.1f|%3$.2f|%4$c|%5$s|%6$d", 0,
       {N(kL, -7), N(kF, 1.5), N(kD, 2.25), N(kC, 'z'), S("s"), N(kI, 42)}, "-7|1.5|2.25|z|s|42"},
      // A parameter the text refers to is missing: the text as it stands.
      {"lmxmsg", k61, 61, {S("o"), S("c")}, k61},
      // The catalog cannot be found: the table's text, formatted.
      {"lmxmsg", lmx::msgText(lmx::MsgKey::ClassUndefined), 62, {S("cls"), S("obj")},
       "LMXBC0062W Class 'cls' must be defined before object 'obj' can be created.\r"},
      {nullptr, "", 0, {}, ""}, {nullptr, nullptr, 0, {S("x")}, "<null>"},
      {"lmxmsg", nullptr, 20, {}, "<null>"},
  };
  for (const auto &r : rows) {
    I18Msg *msg = LmxAllocI18Msg(r.catalog, lmx::kToolkitSet, r.key, r.text);
    ASSERT_NE(msg, nullptr);
    addArgs(msg, r.args);
    EXPECT_EQ(take(LmxBindI18Msg(msg)), r.expected) << &r - rows;
    LmxFreeI18Msg(msg);
  }
  EXPECT_EQ(LmxBindI18Msg(nullptr), nullptr);
}

TEST_F(I18MsgTest, CopySurvivesItsSourceAndSettersReplace) {
  I18Msg *src = LmxAllocI18Msg("nosuch", 3, 4, "%1$s-%2$d");
  addArgs(src, {S("left"), N(kI, 9)});
  I18Msg *copy = LmxCopyI18Msg(src);
  LmxFreeI18Msg(src);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(take(LmxBindI18Msg(copy)), "left-9");
  LmxSetI18MsgCat(copy, nullptr);
  LmxSetI18MsgTxt(copy, "%2$d:%1$s");
  EXPECT_EQ(copy->catalog, nullptr);
  EXPECT_EQ(take(LmxBindI18Msg(copy)), "9:left");
  LmxFreeI18Msg(copy);
  EXPECT_EQ(LmxCopyI18Msg(nullptr), nullptr);
  EXPECT_EQ(lmxGetI18MsgParmList(nullptr), nullptr);
}

TEST_F(I18MsgTest, EbcdicConversionsUseTheirOwnCodeSets) {
  const struct { char *(*fromUtf8)(const char *), *(*toUtf8)(const char *); const char *ebcdic; }
      rows[] = {{lmxI18StrUTF8To1047, lmxI18Str1047ToUTF8, "\xC1\xAD"},
                {lmxI18StrUTF8To37, lmxI18Str37ToUTF8, "\xC1\xBA"}};
  for (const auto &r : rows) {
    EXPECT_EQ(take(r.fromUtf8("A[")), r.ebcdic) << r.ebcdic;
    EXPECT_EQ(take(r.toUtf8(r.ebcdic)), "A[") << r.ebcdic;
  }
  EXPECT_EQ(lmxI18StrUTF8To1047(nullptr), nullptr);
}

// A text longer than the buffer, every 4095-byte boundary inside a three-byte
// character, reaches standard output whole; another stream in the default code set.
TEST_F(I18MsgTest, TextsLongerThanTheBufferArePrintedWhole) {
  std::string euros = "a", latin1 = "x", wide = "x";
  for (int i = 0; i < 2000; ++i) euros += "\xE2\x82\xAC";
  for (int i = 0; i < 5000; ++i) wide += "\xC3\xA9", latin1 += "\xE9";
  testing::internal::CaptureStdout();
  lmxI18PrintUTF8AsLocal(stdout, euros.c_str());
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), euros);
  CodeSetT cs = ilx_cs_new("ISO-8859-1"), old = ilx_get_def_cs();
  ASSERT_NE(cs, nullptr);
  ilx_set_def_cs(cs);
  FILE *file = std::tmpfile();
  lmxI18PrintUTF8AsLocal(file, wide.c_str());
  std::rewind(file);
  std::string got(latin1.size() + 1, '\0');
  got.resize(std::fread(got.data(), 1, got.size(), file));
  std::fclose(file);
  EXPECT_EQ(got, latin1);
  ilx_set_def_cs(old);
  ilx_cs_free(cs);
}

// The published texts of the keys that carry one (the table ends each with "\r").
const std::map<int, std::string> kPublished = {
    {1, "LMXLG01E No listeners are registered with the logger %s."},
    {2, "LMXBC02E The message catalog file %s could not be opened."},
    {3, "LMXBC03E The message with set index %1$d and key index %2$d was not found in the message catalog %3$s."},
    {10, "LMXBC0010E The following BAS error occurred: %s"},
    {20, "LMXBC0020E Out of memory."},
    {30, "LMXBC0030E A value must be specified for the property '%s' ."},
    {31, "LMXBC0031E Property '%1$s' must be %2$d characters or less."},
    {32, "LMXFH0032E Property '%1$s' must be a valid file path for this platform, but value '%2$s' was given."},
    {33, "LMXBC0033E ANULLvalue for parameter %1$s was passed to the function %2$s. The function call will be ignored."},
    {34, "LMX0034E A negative value for parameter %1$s was passed to the function %2$s. The function call will be ignored."},
    {35, "LMXLG0035E A logger of class %s could not get the host name. The host name will not be logged."},
    {36, "LMXFH0036W Could not load codeset %s. Logged text will be stored in UTF-8 encoding instead."},
    {40, "LMXFH0040E Unable to get directory list for the file: %s"},
    {50, "LMXTK0050W Failed to initialize the Lumex toolkit."},
    {51, "LMX0051E The log manager could not read the properties file %s."},
    {52, "LMX0052E The value of property '%s' in the properties file could not be parsed, because it contains a backslash character that is not part of a valid escape sequence."},
    {60, "LMXBC0060W The object named '%s' is corrupt."},
    {61, "LMXBC0061W Object '%1$s' exists but is of class '%2$s' instead of '%3$s' ."},
    {62, "LMXBC0062W Class '%1$s' must be defined before object '%2$s' can be created."},
    {63, "LMXBC0063W A class must be specified before object '%1$s' can be created."},
    {70, "LMXBC0070W The logging method parameter list did not end with a NULL."},
    {71, "LMXBC0071W The logging method's parameter list is missing type markers."},
    {72, "LMXMP0072W Could not read the active log file %1s during log file rollover."},
    {73, "LMXMP0073W Could not write to the backup log file %1s during log file rollover."},
    {74, "LMXMP0074W The value %1s is not a valid file permission mask for file handler %2s. Please specify a four-digit octal value (with a leading zero)."},
    {75, "LMXMP0075W Could not set file %1s to permission mode %2o. The system error code is %3d."},
    {100, "Logger for basic messages"},
    {101, "Logger for messages with detailed problem data"},
    {110, "Filters messages by level"},
    {120, "Handles output to the console"},
    {121, "Handles output to local log files"},
    {130, "Formats a basic message summary."},
    {131, "Formats all message data as an XML record."},
};

// Keys after the published ones are the toolkit's own; the built catalog holds them all.
TEST(MsgTable, EveryKeyHoldsItsPublishedTextOrNumberedPlaceholderAlsoInTheBuiltCatalog) {
  const std::string path = std::string(LUMEX_BUILD_DATA_DIR) + "/nls/C/lmxmsg.cat";
  MCCatalogT *cat = ilx_catopen(path.c_str(), 0, nullptr);
  ASSERT_NE(cat, nullptr) << path;
  CodeSetT utf8 = ilx_cs_new("UTF8");
  int placeholder = 0;
  for (int key = 1; key <= lmx::kMsgTableSize; ++key) {
    const char *text = lmx::msgText(key);
    ASSERT_NE(text, nullptr) << key;
    if (key <= 131) {
      auto it = kPublished.find(key);
      char unused[16];
      std::snprintf(unused, sizeof unused, "unused%03d", placeholder);
      std::string expected = it != kPublished.end() ? it->second : (++placeholder, unused);
      EXPECT_EQ(text, expected + "\r") << "key " << key;
    }
    EXPECT_STREQ(ilx_catgets(cat, lmx::kToolkitSet, key, "<missing>", utf8), text) << key;
  }
  EXPECT_EQ(placeholder, 98);
  for (int key : {0, -1, 134}) EXPECT_EQ(lmx::msgText(key), nullptr) << key;
  EXPECT_STREQ(ilx_catgets(cat, lmx::kToolkitSet, 134, "<missing>", nullptr), "<missing>");
  ilx_catclose(cat);
  ilx_cs_free(utf8);
}

TEST(ToolkitCatalog, BindingFindsTheLanguagesCatalogAlongNlspath) {
  const std::string nlspath = std::string(LUMEX_TEST_NLS_DIR) + "/%L/%N.cat:" +
                              LUMEX_BUILD_DATA_DIR + "/nls/%L/%N.cat";
  setenv("NLSPATH", nlspath.c_str(), 1);
  for (const char *name : {"LC_ALL", "LC_MESSAGES"}) unsetenv(name);
  lmxI18InitIlx();
  const struct { const char *lang; int32_t key; std::string expected; } rows[] = {
      // No catalog of the language: the build's, its text, not the default given here.
      {"en_US", 62, "LMXBC0062W Class 'a' must be defined before object 'b' can be created.\r"},
      {"de_DE.UTF-8", 62, "LMXBC0062W Die Klasse 'a' muss definiert sein, bevor das Objekt 'b' "
                          "erstellt werden kann.\r"},
      {"de_AT", 61, "default a b"},  // the German catalog is found first and lacks the key
  };
  for (const auto &r : rows) {
    setenv("LANG", r.lang, 1);
    I18Msg *msg = lmxIntlAllocI18Msg(lmx::kToolkitCatalog, lmx::kToolkitSet, r.key,
                                     "default %1$s %2$s");
    lmxIntlAddI18MsgParmString(msg, "a");
    lmxIntlAddI18MsgParmString(msg, "b");
    EXPECT_EQ(take(lmxIntlBindI18Msg(msg)), r.expected) << r.lang << " key " << r.key;
    lmxIntlFreeI18Msg(msg);
  }
  lmxI18UninitIlx();
  setenv("LANG", "C.UTF-8", 1);
  unsetenv("NLSPATH");
}

}  // namespace
