// The catalog compiler: message source parsing, its errors, and the round
// trip source -> lmxgencat -> catalog -> dump through the real program.
#include <dirent.h>
#include <nl_types.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "catalog_fixture.h"
#include "catalog_writer.h"
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


// --- agreement with the C library's gencat, and its catalog conventions ---

std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Every text of sets 1..4, messages 1..6 of a catalog, "-" where absent.
using Texts = std::map<std::pair<int, int>, std::string>;

Texts glibcTexts(const std::string &path) {
  Texts t;
  nl_catd cat = catopen(path.c_str(), 0);
  for (int s = 1; s <= 4; ++s)
    for (int k = 1; k <= 6; ++k) t[{s, k}] = cat == (nl_catd)-1 ? "-" : catgets(cat, s, k, "-");
  if (cat != (nl_catd)-1) catclose(cat);
  return t;
}

Texts lumexTexts(const std::string &path) {
  Texts t;
  MCCatalogT *cat = ilx_catopen(path.c_str(), 0, nullptr);
  CodeSetT utf8 = ilx_cs_new("UTF8");
  for (int s = 1; s <= 4; ++s)
    for (int k = 1; k <= 6; ++k) t[{s, k}] = cat ? ilx_catgets(cat, s, k, "-", utf8) : "-";
  if (cat) ilx_catclose(cat);
  ilx_cs_free(utf8);
  return t;
}

// Message source in the grammar that both compilers read alike: sets,
// comments, quoting, escapes, continuations, UTF-8 text. Deletions are left
// out: POSIX deletes the message of a number alone and the set of $delset,
// as lmxgencat does, where the C library's gencat stores an empty text for
// the one and ignores the other.
std::string randomSource(std::mt19937 &rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  static const char *const kPieces[] = {"a", "Zz", " ", "\xc3\xa9", "\xe2\x82\xac", "\\n", "\\t", "\\\\",
                                        "\\101", "\\7", "9", "x\\\n", "%s", "$"};
  std::string src;
  bool quoting = false;
  int set = 1;
  std::set<std::pair<int, int>> used;  // gencat refuses a number defined twice in one file
  for (int lines = 1 + pick(10); lines > 0; --lines) {
    const int kind = pick(20);
    if (kind < 2) {
      set = 1 + pick(4);
      src += "$set " + std::to_string(set) + "\n";
    } else if (kind == 3) {
      src += "$ a comment\n";
    } else if (kind == 4) {
      quoting = !quoting;
      src += quoting ? "$quote \"\n" : "$quote\n";
    } else {
      const int msg = 1 + pick(6);
      if (!used.insert({set, msg}).second) continue;
      std::string text;
      for (int n = 1 + pick(6); n > 0; --n) text += kPieces[pick(sizeof kPieces / sizeof *kPieces)];
      if (quoting && pick(2)) text = "\"" + text + (pick(3) ? "\\\"" : "") + "\"";
      src += std::to_string(msg) + " " + text + "\n";
    }
  }
  return src;
}

TEST(Lmxgencat, AgreesWithTheCLibraryGencat) {
  if (std::system("command -v gencat >/dev/null 2>&1") != 0) GTEST_SKIP() << "no gencat";
  TempDir dir;
  std::mt19937 rng(20261207);
  for (int round = 0; round < 150; ++round) {
    // Two sources compiled one after the other into the same catalog: the
    // second merges into what the first made.
    const std::string a = randomSource(rng), b = randomSource(rng);
    write(dir / "a.msg", a);
    write(dir / "b.msg", b);
    // A new name each round: the library keeps catalogs it has opened.
    const std::string gcat = dir / ("g" + std::to_string(round) + ".cat");
    const std::string lcat = dir / ("l" + std::to_string(round) + ".cat");
    const std::string g = "gencat " + gcat + " ";
    ASSERT_EQ(std::system((g + dir / "a.msg && " + g + dir / "b.msg").c_str()), 0) << a << "--\n" << b;
    // lmxgencat refuses to write a catalog without messages; gencat writes
    // an empty one. Both then hold no text.
    for (const char *src : {"a.msg", "b.msg"}) {
      std::string err;
      if (run(lcat + " " + dir / src, nullptr, &err) != 0) {
        ASSERT_EQ(err, "lmxgencat: no messages to write\n");
      }
    }
    EXPECT_EQ(lumexTexts(lcat), glibcTexts(gcat)) << a << "--\n" << b;
  }
}

TEST(Lmxgencat, MergesIntoTheExistingCatalogUnlessReplacing) {
  TempDir dir;
  write(dir / "one.msg", "$set 1\n1 first\n2 second\n$set 2\n1 other set\n");
  write(dir / "two.msg", "$set 1\n2 changed\n3 third\n");
  write(dir / "del.msg", "$delset 2\n$set 1\n1\n");
  const std::string cat = dir / "app.cat";
  ASSERT_EQ(run(cat + " " + dir / "one.msg"), 0);
  ASSERT_EQ(run(cat + " " + dir / "two.msg"), 0);
  std::string dumped;
  ASSERT_EQ(run("--dump " + cat, &dumped), 0);
  EXPECT_EQ(dumped, "$set 1\n1 first\n2 changed\n3 third\n$set 2\n1 other set\n");
  ASSERT_EQ(run(cat + " " + dir / "del.msg"), 0);
  ASSERT_EQ(run("--dump " + cat, &dumped), 0);
  EXPECT_EQ(dumped, "$set 1\n2 changed\n3 third\n");
  ASSERT_EQ(run("--replace " + cat + " " + dir / "two.msg"), 0);
  ASSERT_EQ(run("--dump " + cat, &dumped), 0);
  EXPECT_EQ(dumped, "$set 1\n2 changed\n3 third\n");
  ASSERT_EQ(run("-r " + cat + " " + dir / "one.msg"), 0);
  ASSERT_EQ(run("--dump " + cat, &dumped), 0);
  EXPECT_EQ(dumped, "$set 1\n1 first\n2 second\n$set 2\n1 other set\n");

  // A file that is not a catalog is left alone unless replacing; an empty
  // file is an empty catalog.
  std::string err;
  write(dir / "notes.txt", "precious notes\n");
  EXPECT_EQ(run(dir / "notes.txt " + dir / "two.msg", nullptr, &err), 1);
  EXPECT_NE(err.find("not a message catalog"), std::string::npos) << err;
  EXPECT_EQ(slurp(dir / "notes.txt"), "precious notes\n");
  write(dir / "empty.cat", "");
  EXPECT_EQ(run(dir / "empty.cat " + dir / "two.msg"), 0);
}

TEST(Lmxgencat, KeepsPermissionsAndWritesThroughLinks) {
  TempDir dir;
  write(dir / "m.msg", "1 text\n");
  const std::string real = dir / "real.cat", link = dir / "link.cat";
  ASSERT_EQ(run(real + " " + dir / "m.msg"), 0);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.cat", link.c_str()), 0);
  write(dir / "n.msg", "2 more\n");
  ASSERT_EQ(run(link + " " + dir / "n.msg"), 0);
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  std::string dumped;
  ASSERT_EQ(run("--dump " + real, &dumped), 0);
  EXPECT_EQ(dumped, "$set 1\n1 text\n2 more\n");
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"link.cat", "m.msg", "n.msg", "real.cat"}));
}

TEST(Lmxgencat, SourceFaultsAtTheirOwnLine) {
  EXPECT_EQ(parseError("1 good \\\ncontinued \\\nbad \xff byte\n"), "t.msg:3: message text is not valid UTF-8");
  EXPECT_EQ(parseError("1 a\\\n\\q\n"), "t.msg:2: unknown escape \\q");
  EXPECT_EQ(parseError("1 a\\\nb\\\n\\303\n"), "t.msg:3: message text is not valid UTF-8");
  EXPECT_EQ(parseError("$quote \xc2\xab\n"), "t.msg:1: the quote character must be a single byte");
  EXPECT_EQ(parseError("$quote ab\n"), "t.msg:1: the quote character must be a single byte");
  // A catalog whose texts are not UTF-8 (as another compiler makes from
  // Latin-1 text) cannot be dumped as source that compiles again.
  TempDir dir;
  std::string image, err;
  ASSERT_TRUE(lmxgencat::buildCatalog({{2, {{1, "fine"}, {7, "caf\xe9"}}}}, image, err));
  write(dir / "l.cat", image);
  EXPECT_EQ(run("--dump " + dir / "l.cat", nullptr, &err), 1);
  EXPECT_EQ(err, "lmxgencat: " + dir / "l.cat" + ": message 7 of set 2 is not UTF-8 text; its source would not compile again\n");
}

}  // namespace
