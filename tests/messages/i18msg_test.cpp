// Internationalized messages: binding, copies, parameter lists, the EBCDIC
// conversions and printing in the local code set.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "messages/i18msg.h"
#include "messages/msg_table.h"

namespace {

// A text handed out by the library, taken into a std::string ("<null>" for
// null) and freed.
std::string take(char *text) {
  std::string s = text != nullptr ? text : "<null>";
  BasMemoryFree(text);
  return s;
}

// One parameter to add: its type tag and its value.
struct Arg {
  int type;
  double num;
  const char *str;
};

void addArgs(I18Msg *msg, const std::vector<Arg> &args) {
  for (const Arg &a : args) {
    switch (a.type) {
      case LMX_PARM_BOOL: LmxAddI18MsgParmBool(msg, static_cast<unsigned char>(a.num)); break;
      case LMX_PARM_INT: LmxAddI18MsgParmInt(msg, static_cast<int32_t>(a.num)); break;
      case LMX_PARM_LONG: LmxAddI18MsgParmLong(msg, static_cast<int32_t>(a.num)); break;
      case LMX_PARM_FLOAT: LmxAddI18MsgParmFloat(msg, static_cast<float>(a.num)); break;
      case LMX_PARM_DOUBLE: LmxAddI18MsgParmDouble(msg, a.num); break;
      case LMX_PARM_CHAR: LmxAddI18MsgParmChar(msg, static_cast<char>(a.num)); break;
      default: LmxAddI18MsgParmString(msg, a.str); break;
    }
  }
}

Arg str(const char *s) { return {LMX_PARM_STRING, 0, s}; }
Arg num(int type, double v) { return {type, v, nullptr}; }

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
  const struct {
    const char *catalog;
    int32_t key;
    const char *text;
    std::vector<Arg> args;
    std::string expected;
  } rows[] = {
      {nullptr, 0, "%2$s=%1$d", {num(LMX_PARM_INT, 5), str("x")}, "x=5"},
      {nullptr, 0, "%1$d|%2$.1f|%3$.2f|%4$c|%5$s|%6$d",
       {num(LMX_PARM_LONG, -7), num(LMX_PARM_FLOAT, 1.5), num(LMX_PARM_DOUBLE, 2.25),
        num(LMX_PARM_CHAR, 'z'), str("s"), num(LMX_PARM_INT, 42)},
       "-7|1.5|2.25|z|s|42"},
      {nullptr, 0, "%s and %s", {str("a"), str("b")}, "a and b"},
      // A parameter the text refers to is missing: the text as it stands.
      {"lmxmsg", 61, k61, {str("o"), str("c")}, k61},
      {nullptr, 0, "%1$s %2$s", {}, "%1$s %2$s"},
      // The catalog cannot be found: the table's text, formatted.
      {"lmxmsg", 62, lmx::msgText(lmx::MsgKey::ClassUndefined), {str("cls"), str("obj")},
       "LMXBC0062W Class 'cls' must be defined before object 'obj' can be created.\r"},
      {"lmxmsg", 20, lmx::msgText(lmx::MsgKey::OutOfMemory), {}, "LMXBC0020E Out of memory.\r"},
      {nullptr, 0, "", {}, ""},
      {nullptr, 0, nullptr, {str("x")}, "<null>"},
      {"lmxmsg", 20, nullptr, {}, "<null>"},
  };
  for (const auto &r : rows) {
    I18Msg *msg = LmxAllocI18Msg(r.catalog, lmx::kToolkitSet, r.key, r.text);
    ASSERT_NE(msg, nullptr);
    addArgs(msg, r.args);
    EXPECT_EQ(take(LmxBindI18Msg(msg)), r.expected) << (r.text ? r.text : "(null)");
    LmxFreeI18Msg(msg);
  }
  EXPECT_EQ(LmxBindI18Msg(nullptr), nullptr);
}

TEST_F(I18MsgTest, CopySurvivesItsSourceSettersReplaceAndListsAttachOnUse) {
  I18Msg *src = LmxAllocI18Msg("nosuch", 3, 4, "%1$s-%2$d");
  addArgs(src, {str("left"), num(LMX_PARM_INT, 9)});
  I18Msg *copy = LmxCopyI18Msg(src);
  LmxFreeI18Msg(src);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(take(LmxBindI18Msg(copy)), "left-9");
  LmxSetI18MsgCat(copy, nullptr);
  LmxSetI18MsgTxt(copy, "%2$d:%1$s");
  EXPECT_EQ(copy->catalog, nullptr);
  EXPECT_EQ(take(LmxBindI18Msg(copy)), "9:left");
  LmxFreeI18Msg(copy);

  I18Msg *bare = LmxAllocI18Msg(nullptr, 1, 1, "t");
  ParmList *list = lmxGetI18MsgParmList(bare);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(bare->parameters, list);
  EXPECT_EQ(LmxParmListGetIndex(list, 0), nullptr);
  LmxFreeI18Msg(bare);
  EXPECT_EQ(LmxCopyI18Msg(nullptr), nullptr);
  EXPECT_EQ(lmxGetI18MsgParmList(nullptr), nullptr);
}

TEST_F(I18MsgTest, EbcdicConversionsUseTheirOwnCodeSets) {
  ASSERT_NE(lmxI18GetCs1047(), nullptr);
  ASSERT_NE(lmxI18GetCs37(), nullptr);
  const struct {
    char *(*fromUtf8)(const char *);
    char *(*toUtf8)(const char *);
    const char *utf8, *ebcdic;
  } rows[] = {
      {lmxI18StrUTF8To1047, lmxI18Str1047ToUTF8, "A[", "\xC1\xAD"},
      {lmxI18StrUTF8To37, lmxI18Str37ToUTF8, "A[", "\xC1\xBA"},
  };
  for (const auto &r : rows) {
    EXPECT_EQ(take(r.fromUtf8(r.utf8)), r.ebcdic) << r.utf8;
    EXPECT_EQ(take(r.toUtf8(r.ebcdic)), r.utf8) << r.utf8;
  }
  EXPECT_EQ(lmxI18StrUTF8To1047(nullptr), nullptr);
  CodeSetT cs1047 = lmxI18GetCs1047();
  lmxI18InitIlx();  // again: the handles stay
  EXPECT_EQ(lmxI18GetCs1047(), cs1047);
  lmxI18UninitIlx();
  EXPECT_EQ(lmxI18GetCs1047(), nullptr);
  EXPECT_EQ(lmxI18GetCs37(), nullptr);
  lmxI18InitIlx();
}

std::string repeat(const std::string &piece, size_t times) {
  std::string s;
  while (times-- > 0) s += piece;
  return s;
}

// What printing the text to standard output, or to another stream, writes
// into a pipe (its buffer holds the few kilobytes of these texts).
std::string printed(bool toStdout, const std::string &text) {
  int fds[2];
  if (pipe(fds) != 0) return "<pipe failed>";
  std::fflush(stdout);
  const int saved = toStdout ? dup(1) : -1;
  FILE *stream = toStdout ? stdout : fdopen(dup(fds[1]), "w");
  if (toStdout) dup2(fds[1], 1);
  lmxI18PrintUTF8AsLocal(stream, text.c_str());
  std::fflush(stream);
  if (toStdout) {
    dup2(saved, 1);
    close(saved);
  } else {
    std::fclose(stream);
  }
  close(fds[1]);
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  return out;
}

TEST_F(I18MsgTest, LongTextsArePrintedWholeWithoutSplittingCharacters) {
  // One leading byte puts every 4095-byte boundary inside a three-byte
  // character.
  const std::string euros = "a" + repeat("\xE2\x82\xAC", 2000) + "\n";
  EXPECT_EQ(printed(true, euros), euros);
  EXPECT_EQ(printed(true, ""), "");
  EXPECT_EQ(printed(false, euros), euros);

  // Through a single-byte default code set every character shrinks.
  CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  ASSERT_NE(latin1, nullptr);
  CodeSetT old = ilx_get_def_cs();
  ilx_set_def_cs(latin1);
  EXPECT_EQ(printed(false, "x" + repeat("\xC3\xA9", 5000) + "\n"), "x" + repeat("\xE9", 5000) + "\n");
  ilx_set_def_cs(old);
  ilx_cs_free(latin1);
}

}  // namespace
