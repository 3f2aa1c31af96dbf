// The catalog compiler: message source parsing, its errors, and the round
// trip source -> lmxgencat -> catalog -> dump through the real program.
#include <dirent.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "catalog_fixture.h"
#include "msg_source.h"

using cattest::TempDir;
using lmxgencat::Messages;

namespace {

Messages parse(const std::string &src) {
  Messages m;
  lmxgencat::SourceError err;
  EXPECT_TRUE(lmxgencat::parseSource(src, "t.msg", m, err)) << err.str();
  return m;
}

std::string parseError(const std::string &src) {
  Messages m;
  lmxgencat::SourceError err;
  if (lmxgencat::parseSource(src, "t.msg", m, err)) return "<no error>";
  return err.str();
}

TEST(MessageSource, DirectivesMessagesAndEscapes) {
  const Messages m = parse(
      "$ a comment\n"
      "1 before any set\n"
      "$set 3 the third set\n"
      "2 tab\\there\\nnew line \\\\ \\101\\60x\n"
      "5  leading blank kept\n"
      "6 \n"
      "7 one \\\n"
      "two\r\n"
      "\n"
      "$quote \"\n"
      "8 \"quoted \\\" text\"  \n"
      "9 unquoted \" stays\n"
      "$quote\n"
      "10 \"plain\"\n"
      "$set 1\n"
      "1 redefined\n"
      "2 gone\n"
      "2\n"
      "$set 9\n"
      "1 whole set removed\n"
      "$delset 9 comment\n");
  const Messages want{
      {1, {{1, "redefined"}}},
      {3,
       {{2, "tab\there\nnew line \\ A0x"},
        {5, " leading blank kept"},
        {6, ""},
        {7, "one two"},
        {8, "quoted \" text"},
        {9, "unquoted \" stays"},
        {10, "\"plain\""}}}};
  EXPECT_EQ(m, want);
}

TEST(MessageSource, ErrorsNameTheFileAndLine) {
  EXPECT_EQ(parseError("1 ok\n\n  3 indented\n"), "t.msg:3: expected a message number, a $ directive or an empty line");
  EXPECT_EQ(parseError("$set 0\n"), "t.msg:1: $set needs a set number from 1 to 2147483647");
  EXPECT_EQ(parseError("$set x\n"), "t.msg:1: $set needs a set number from 1 to 2147483647");
  EXPECT_EQ(parseError("$delset 2147483648\n"), "t.msg:1: $delset needs a set number from 1 to 2147483647");
  EXPECT_EQ(parseError("$sett 1\n"), "t.msg:1: unknown directive $sett");
  EXPECT_EQ(parseError("1 a\\\ncontinued\n12abc\n"), "t.msg:3: expected a blank after the message number");
  EXPECT_EQ(parseError("0 zero\n"), "t.msg:1: message number must be from 1 to 2147483647");
  EXPECT_EQ(parseError("1 bad \\q\n"), "t.msg:1: unknown escape \\q");
  EXPECT_EQ(parseError("1 \\400\n"), "t.msg:1: octal escape above \\377");
  EXPECT_EQ(parseError("1 a\\0b\n"), "t.msg:1: \\0 would end the message text");
  EXPECT_EQ(parseError(std::string("1 a\0b\n", 6)), "t.msg:1: message text contains a NUL byte");
  EXPECT_EQ(parseError("1 ends \\"), "t.msg:1: backslash at the end of the text");
  EXPECT_EQ(parseError("$quote '\n1 'open\n"), "t.msg:2: missing closing '");
  EXPECT_EQ(parseError("$quote '\n1 'a' b\n"), "t.msg:2: text after the closing quote");
  EXPECT_EQ(parseError("1 caf\xe9\n"), "t.msg:1: message text is not valid UTF-8");
  EXPECT_EQ(parseError("1 \xed\xa0\x80\n"), "t.msg:1: message text is not valid UTF-8");  // surrogate
  EXPECT_EQ(parseError("1 \xc0\xaf\n"), "t.msg:1: message text is not valid UTF-8");      // overlong
}

TEST(MessageSource, EscapedTextsReadBackUnchanged) {
  const std::string nasty = "a\\b\n\t\v\b\r\f\x01\x7f end \xc3\xa9 ";
  const Messages m = parse("4 " + lmxgencat::escapeText(nasty) + "\n");
  EXPECT_EQ(m.at(1).at(4), nasty);
}

// --- the program ---

int run(const std::string &args, std::string *out = nullptr, std::string *err = nullptr) {
  TempDir tmp;
  const std::string cmd = std::string(LMXGENCAT_PATH) + " " + args + " >" + (tmp / "out") + " 2>" + (tmp / "err");
  const int st = std::system(cmd.c_str());
  auto slurp = [](const std::string &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  };
  if (out) *out = slurp(tmp / "out");
  if (err) *err = slurp(tmp / "err");
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

void write(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> entries(const std::string &dir) {
  std::vector<std::string> names;
  DIR *d = opendir(dir.c_str());
  while (dirent *e = readdir(d))
    if (e->d_name[0] != '.') names.push_back(e->d_name);
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Lmxgencat, RoundTripThroughTheProgram) {
  TempDir dir;
  const std::string src =
      "$set 2\n1 zwei eins\n3 \\ttab \xe2\x82\xac\n"
      "$set 1\n2 one two\n1 one one\\n\n"
      "$set 40\n100 hundred\n";
  write(dir / "a.msg", src);
  write(dir / "b.msg", "$set 1\n2 replaced by the second file\n");
  ASSERT_EQ(run(dir / "app.cat" + " " + dir / "a.msg" + " " + dir / "b.msg"), 0);
  std::string dumped, err;
  ASSERT_EQ(run("--dump " + dir / "app.cat", &dumped, &err), 0) << err;
  EXPECT_EQ(dumped,
            "$set 1\n1 one one\\n\n2 replaced by the second file\n"
            "$set 2\n1 zwei eins\n3 \\ttab \xe2\x82\xac\n"
            "$set 40\n100 hundred\n");
  // The dump compiles to a byte-identical catalog, and the library reads it.
  write(dir / "dump.msg", dumped);
  ASSERT_EQ(run(dir / "again.cat" + " " + dir / "dump.msg"), 0);
  std::ifstream a(dir / "app.cat", std::ios::binary), b(dir / "again.cat", std::ios::binary);
  std::stringstream sa, sb;
  sa << a.rdbuf();
  sb << b.rdbuf();
  EXPECT_EQ(sa.str(), sb.str());
  MCCatalogT *cat = ilx_catopen((dir / "app.cat").c_str(), 0, nullptr);
  ASSERT_NE(cat, nullptr);
  EXPECT_STREQ(ilx_catgets(cat, 2, 3, "d", ilx_cs_new("UTF8")), "\ttab \xe2\x82\xac");
  EXPECT_STREQ(ilx_catgets(cat, 40, 100, "d", nullptr), "hundred");
  ilx_catclose(cat);
}

TEST(Lmxgencat, ErrorsLeaveNothingBehind) {
  TempDir dir;
  write(dir / "good.msg", "1 good\n");
  write(dir / "bad.msg", "1 fine\n$set 2\n2 \\z\n");
  ASSERT_EQ(run(dir / "x.cat" + " " + dir / "good.msg"), 0);
  std::string before;
  {
    std::ifstream in(dir / "x.cat", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    before = ss.str();
  }
  std::string err;
  EXPECT_EQ(run(dir / "x.cat" + " " + dir / "bad.msg", nullptr, &err), 1);
  EXPECT_EQ(err, dir / "bad.msg" + ":3: unknown escape \\z\n");
  EXPECT_EQ(run(dir / "y.cat" + " " + dir / "missing.msg", nullptr, &err), 1);
  EXPECT_NE(err.find("missing.msg"), std::string::npos);
  write(dir / "empty.msg", "$ nothing here\n$set 4\n");
  EXPECT_EQ(run(dir / "z.cat" + " " + dir / "empty.msg", nullptr, &err), 1);
  EXPECT_EQ(err, "lmxgencat: no messages to write\n");
  EXPECT_EQ(run(dir / "nodir/x.cat" + " " + dir / "good.msg"), 1);
  // The earlier catalog is untouched and no temporary file remains.
  std::ifstream in(dir / "x.cat", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(), before);
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"bad.msg", "empty.msg", "good.msg", "x.cat"}));
  EXPECT_EQ(run("--dump " + dir / "good.msg", nullptr, &err), 1);
  EXPECT_NE(err.find("not a readable message catalog"), std::string::npos);
  EXPECT_EQ(run(""), 2);
  EXPECT_EQ(run(dir / "only.cat"), 2);
  std::string help;
  EXPECT_EQ(run("--help", &help), 0);
  for (const char *word : {"$set", "$delset", "$quote", "\\ddd", "--dump", "FILE:LINE"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

}  // namespace
