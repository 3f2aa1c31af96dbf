// The catalog compiler: message source parsing and its errors, the program's
// runs (merging, failures that leave nothing behind, dumps), and agreement
// with the C library's gencat.
#include <nl_types.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>

#include "catalog_fixture.h"
#include "msg_source.h"

using cattest::slurp;
using cattest::TempDir;
using lmxgencat::Messages;

namespace {

// The parse error, or "ok" and the messages in m.
std::string parse(const std::string &src, Messages &m) {
  lmxgencat::SourceError err;
  return lmxgencat::parseSource(src, "t.msg", m, err) ? "ok" : err.str();
}

TEST(MessageSource, DirectivesMessagesAndEscapes) {
  Messages m;
  // Comments, sets, escapes, blanks, continuations, quoting, deletions.
  ASSERT_EQ(parse("$ a comment\n1 before any set\n$set 3 the third set\n"
                  "2 tab\\there\\nnew line \\\\ \\101\\60x\n5  leading blank kept\n6 \n"
                  "7 one \\\ntwo\r\n\n$quote \"\n8 \"quoted \\\" text\"  \n9 unquoted \" stays\n"
                  "$quote\n10 \"plain\"\n$set 1\n1 redefined\n2 gone\n2\n"
                  "$set 9\n1 whole set removed\n$delset 9 comment\n", m), "ok");
  EXPECT_EQ(m, (Messages{{1, {{1, "redefined"}}},
                         {3,
                          {{2, "tab\there\nnew line \\ A0x"}, {5, " leading blank kept"}, {6, ""},
                           {7, "one two"}, {8, "quoted \" text"}, {9, "unquoted \" stays"},
                           {10, "\"plain\""}}}}));
  const std::string nasty = "a\\b\n\t\v\b\r\f\x01\x7f end \xc3\xa9 ";  // escaped and read back
  m.clear();
  ASSERT_EQ(parse("4 " + lmxgencat::escapeText(nasty) + "\n", m), "ok");
  EXPECT_EQ(m.at(1).at(4), nasty);
}

TEST(MessageSource, ErrorsNameTheFileAndLine) {
  const std::string utf8 = "message text is not valid UTF-8";
  const struct { std::string src, want; } rows[] = {
      {"1 ok\n\n  3 indented\n", "3: expected a message number, a $ directive or an empty line"},
      {"$set 0\n", "1: $set needs a set number from 1 to 2147483647"},
      {"$set x\n", "1: $set needs a set number from 1 to 2147483647"},
      {"$delset 2147483648\n", "1: $delset needs a set number from 1 to 2147483647"},
      {"$sett 1\n", "1: unknown directive $sett"},
      {"1 a\\\ncontinued\n12abc\n", "3: expected a blank after the message number"},
      {"0 zero\n", "1: message number must be from 1 to 2147483647"},
      {"1 bad \\q\n", "1: unknown escape \\q"},
      {"1 a\\\n\\q\n", "2: unknown escape \\q"},
      {"1 \\400\n", "1: octal escape above \\377"},
      {"1 a\\0b\n", "1: \\0 would end the message text"},
      {std::string("1 a\0b\n", 6), "1: message text contains a NUL byte"},
      {"1 ends \\", "1: backslash at the end of the text"},
      {"$quote '\n1 'open\n", "2: missing closing '"},
      {"$quote '\n1 'a' b\n", "2: text after the closing quote"},
      {"$quote \xc2\xab\n", "1: the quote character must be a single byte"},
      {"$quote ab\n", "1: the quote character must be a single byte"},
      {"1 caf\xe9\n", "1: " + utf8}, {"1 \xed\xa0\x80\n", "1: " + utf8},  // the second a surrogate
      {"1 \xc0\xaf\n", "1: " + utf8},  // overlong
      {"1 good \\\ncontinued \\\nbad \xff byte\n", "3: " + utf8},  // at the bad byte's line
      {"1 a\\\nb\\\n\\303\n", "3: " + utf8},
  };
  Messages m;
  for (const auto &r : rows) EXPECT_EQ(parse(r.src, m), "t.msg:" + r.want) << r.src;
}

// --- the program ---

// Runs lmxgencat in dir ('@' in args stands for its path): the exit status,
// with the standard output and error in out and err.
int run(const TempDir &dir, std::string args, std::string *out = nullptr,
        std::string *err = nullptr) {
  for (size_t p; (p = args.find('@')) != std::string::npos;) args.replace(p, 1, dir.path());
  TempDir tmp;
  const std::string cmd = LMXGENCAT_PATH " " + args + " >" + tmp / "o" + " 2>" + tmp / "e";
  const int st = std::system(cmd.c_str());
  if (out) *out = slurp(tmp / "o");
  if (err) *err = slurp(tmp / "e");
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

TEST(Lmxgencat, ProgramRuns) {
  TempDir dir;
  const std::pair<const char *, std::string> files[] = {
      {"a.msg", "$set 2\n1 zwei eins\n3 \\ttab \xe2\x82\xac\n$set 1\n2 one two\n1 one one\\n\n"
                "$set 40\n100 hundred\n"},
      {"b.msg", "$set 1\n2 replaced by the second file\n"},
      {"good.msg", "1 good\n"}, {"bad.msg", "1 fine\n$set 2\n2 \\z\n"},
      {"empty.msg", "$ nothing here\n$set 4\n"}, {"notes.txt", "precious notes\n"},
      {"one.msg", "$set 1\n1 first\n2 second\n$set 2\n1 other set\n"},
      {"two.msg", "$set 1\n2 changed\n3 third\n"}, {"del.msg", "$delset 2\n$set 1\n1\n"},
      {"empty.cat", ""}, {"n.msg", "2 more\n"}, {"real.cat", cattest::image({{1, {{1, "text"}}}})},
      // Texts that are not UTF-8, as another compiler makes from Latin-1.
      {"l.cat", cattest::image({{2, {{1, "fine"}, {7, "caf\xe9"}}}})},
  };
  for (const auto &[name, text] : files) cattest::writeFile(dir / name, text);
  ASSERT_EQ(chmod((dir / "real.cat").c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.cat", (dir / "link.cat").c_str()), 0);
  const std::string usage =
      "usage: lmxgencat [-o] [-r] CATALOG SOURCE... | --dump CATALOG [OUTPUT] | --help\n";
  // Arguments, exit status, and the expected standard output and error.
  const struct { const char *args; int exit; std::string out, err; } steps[] = {
      // A round trip: the dump compiles to the same bytes.
      {"@/app.cat @/a.msg @/b.msg", 0, "", ""},
      {"--dump @/app.cat", 0, "$set 1\n1 one one\\n\n2 replaced by the second file\n$set 2\n"
                              "1 zwei eins\n3 \\ttab \xe2\x82\xac\n$set 40\n100 hundred\n", ""},
      {"--dump @/app.cat @/dump.msg", 0, "", ""}, {"@/again.cat @/dump.msg", 0, "", ""},
      {"@/x.cat @/good.msg", 0, "", ""},
      {"@/x.cat @/bad.msg", 1, "", "@/bad.msg:3: unknown escape \\z\n"},
      {"@/y.cat @/missing.msg", 1, "", "lmxgencat: @/missing.msg: No such file or directory\n"},
      {"@/z.cat @/empty.msg", 1, "", "lmxgencat: no messages to write\n"},
      {"@/nodir/x.cat @/good.msg", 1, "",
       "lmxgencat: cannot create a file beside @/nodir/x.cat: No such file or directory\n"},
      {"--dump @/good.msg", 1, "", "lmxgencat: @/good.msg: not a readable message catalog\n"},
      {"--dump @/l.cat", 1, "", "lmxgencat: @/l.cat: message 7 of set 2 is not UTF-8 text; "
                                "its source would not compile again\n"},
      {"", 2, "", usage}, {"@/only.cat", 2, "", usage},
      // Merging into what the catalog holds, unless replacing.
      {"@/m.cat @/one.msg", 0, "", ""}, {"@/m.cat @/two.msg", 0, "", ""},
      {"--dump @/m.cat", 0, "$set 1\n1 first\n2 changed\n3 third\n$set 2\n1 other set\n", ""},
      {"@/m.cat @/del.msg", 0, "", ""},
      {"--dump @/m.cat", 0, "$set 1\n2 changed\n3 third\n", ""},
      {"-r @/m.cat @/one.msg", 0, "", ""},
      {"--dump @/m.cat", 0, "$set 1\n1 first\n2 second\n$set 2\n1 other set\n", ""},
      {"--replace @/m.cat @/two.msg", 0, "", ""},
      {"--dump @/m.cat", 0, "$set 1\n2 changed\n3 third\n", ""},
      // A file that is not a catalog is left alone; an empty file is an empty catalog.
      {"@/notes.txt @/two.msg", 1, "",
       "lmxgencat: @/notes.txt: not a message catalog; it is left alone "
       "(--replace overwrites it)\n"},
      {"@/empty.cat @/two.msg", 0, "", ""},
      {"@/link.cat @/n.msg", 0, "", ""},  // through the link, into the file it points to
      {"--dump @/real.cat", 0, "$set 1\n1 text\n2 more\n", ""},
  };
  for (const auto &s : steps) {
    std::string out, err, want = s.err;
    for (size_t p; (p = want.find('@')) != std::string::npos;) want.replace(p, 1, dir.path());
    EXPECT_EQ(run(dir, s.args, &out, &err), s.exit) << s.args;
    EXPECT_EQ(out, s.out) << s.args;
    EXPECT_EQ(err, want) << s.args;
  }
  EXPECT_EQ(slurp(dir / "app.cat"), slurp(dir / "again.cat"));
  // Failed runs left the earlier files untouched and nothing else behind;
  // the link stays and the file it points to keeps its permissions.
  EXPECT_EQ(slurp(dir / "x.cat"), cattest::image({{1, {{1, "good"}}}}));
  EXPECT_EQ(slurp(dir / "notes.txt"), "precious notes\n");
  std::set<std::string> names;
  for (const auto &e : std::filesystem::directory_iterator(dir.path()))
    names.insert(e.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"a.msg", "again.cat", "app.cat", "b.msg", "bad.msg",
                                          "del.msg", "dump.msg", "empty.cat", "empty.msg",
                                          "good.msg", "l.cat", "link.cat", "m.cat", "n.msg",
                                          "notes.txt", "one.msg", "real.cat", "two.msg", "x.cat"}));
  struct stat st;
  ASSERT_EQ(lstat((dir / "link.cat").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat((dir / "real.cat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  std::string help;
  EXPECT_EQ(run(dir, "--help", &help), 0);
  for (const char *word : {"$set", "$delset", "$quote", "\\ddd", "--dump", "FILE:LINE"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

// --- agreement with the C library's gencat ---

// Message source in the grammar that both compilers read alike: sets,
// comments, quoting, escapes, continuations, UTF-8 text. Deletions are left
// out: POSIX deletes the message of a number alone and the set of $delset,
// as lmxgencat does, where the C library's gencat stores an empty text for
// the one and ignores the other.
std::string randomSource(std::mt19937 &rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  static const char *const kPieces[] = {"a", "Zz", " ", "\xc3\xa9", "\xe2\x82\xac", "\\n", "\\t",
                                        "\\\\", "\\101", "\\7", "9", "x\\\n", "%s", "$"};
  std::string src;
  bool quoting = false;
  int set = 1;
  std::set<std::pair<int, int>> used;  // gencat refuses a number defined twice in one file
  for (int lines = 1 + pick(10); lines > 0; --lines) {
    const int kind = pick(20);
    if (kind < 2) {
      src += "$set " + std::to_string(set = 1 + pick(4)) + "\n";
    } else if (kind == 3) {
      src += "$ a comment\n";
    } else if (kind == 4) {
      src += (quoting = !quoting) ? "$quote \"\n" : "$quote\n";
    } else if (const int msg = 1 + pick(6); used.insert({set, msg}).second) {
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
  CodeSetT utf8 = ilx_cs_new("UTF8");
  std::mt19937 rng(20261207);
  for (int round = 0; round < 150; ++round) {
    // Two sources compiled one after the other into the same catalog: the
    // second merges into what the first made. A new name each round: the
    // library keeps catalogs it has opened.
    const std::string a = randomSource(rng), b = randomSource(rng), n = std::to_string(round);
    cattest::writeFile(dir / "a.msg", a);
    cattest::writeFile(dir / "b.msg", b);
    const std::string g = "gencat " + dir / ("g" + n + ".cat") + " ";
    ASSERT_EQ(std::system((g + dir / "a.msg && " + g + dir / "b.msg").c_str()), 0)
        << a << "--\n" << b;
    // lmxgencat refuses to write a catalog without messages; gencat writes
    // an empty one. Both then hold no text.
    for (const char *src : {"a.msg", "b.msg"}) {
      std::string err;
      const int status = run(dir, "@/l" + n + ".cat @/" + src, nullptr, &err);
      ASSERT_EQ(status == 0 ? "" : err, status == 0 ? "" : "lmxgencat: no messages to write\n");
    }
    // Every text of sets 1..4, messages 1..6, "-" where absent.
    nl_catd gcat = catopen((dir / ("g" + n + ".cat")).c_str(), 0);
    MCCatalogT *lcat = ilx_catopen((dir / ("l" + n + ".cat")).c_str(), 0, nullptr);
    std::map<std::pair<int, int>, std::string> theirs, mine;
    for (int s = 1; s <= 4; ++s) {
      for (int k = 1; k <= 6; ++k) {
        theirs[{s, k}] = gcat == (nl_catd)-1 ? "-" : catgets(gcat, s, k, "-");
        mine[{s, k}] = lcat ? cattest::get(lcat, s, k, utf8) : "-";
      }
    }
    EXPECT_EQ(mine, theirs) << a << "--\n" << b;
    if (gcat != (nl_catd)-1) catclose(gcat);
    if (lcat) ilx_catclose(lcat);
  }
  ilx_cs_free(utf8);
}

}  // namespace
