// Message catalogs: the compiler (sources, program runs, beside the C library's
// gencat), look-ups, damaged files, the index, finding catalog files, the
// cache, and binding arguments into formats.
#include <gtest/gtest.h>
#include <nl_types.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalog_writer.h"
#include "ilx_test_util.h"
#include "ilx/catalog.h"
#include "lumex/ilx.h"
#include "msg_source.h"

using lmxgencat::Messages;
using ilxtest::EnvVar;
using ilxtest::slurp;
using ilxtest::TempDir;

namespace {

std::string image(const Messages &msgs) {
  std::string img, err;
  EXPECT_TRUE(lmxgencat::buildCatalog(msgs, img, err)) << err;
  return img;
}
void writeFile(const std::string &path, const std::string &bytes) {
  std::string err;
  ASSERT_TRUE(lmxgencat::writeFileAtomically(path, bytes, err)) << err;
}
MCCatalogT *openImage(const std::string &path, const std::string &img) {
  writeFile(path, img);
  return ilx_catopen(path.c_str(), 0, nullptr);
}
// A look-up; "-" where the default pointer comes back.
std::string get(MCCatalogT *cat, int set, int key, CodeSetT cs = nullptr) {
  static const char *const kDflt = "-";
  const char *t = ilx_catgets(cat, set, key, kDflt, cs);
  return t == kDflt ? "-" : t;
}

// Big-endian 32-bit words at byte offset off, and the offsets inside an image
// made by lmxgencat's writer.
void put32(std::string &img, size_t off, uint32_t v) {
  ASSERT_LE(off + 4, img.size());
  for (int i = 0; i < 4; ++i) img[off + i] = static_cast<char>(v >> (24 - 8 * i));
}
uint32_t get32(const std::string &img, size_t off) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(img[off + i]);
  return v;
}
constexpr size_t kHdrNumSets = 20;
size_t setRec(int i) { return 28 + 28 * static_cast<size_t>(i); }
enum { kSetNo, kNext = 4, kMsgOff = 8, kTextOff = 12, kTextLen = 16, kNumMsgs = 20, kInvalid = 24 };
size_t msgRec(const std::string &img, int set, int i) {
  return get32(img, setRec(set) + kMsgOff) + 12 * static_cast<size_t>(i);
}

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
                         {3, {{2, "tab\there\nnew line \\ A0x"}, {5, " leading blank kept"},
                              {6, ""}, {7, "one two"}, {8, "quoted \" text"},
                              {9, "unquoted \" stays"}, {10, "\"plain\""}}}}));
  const std::string nasty = "a\\b\n\t\v\b\r\f\x01\x7f end \xc3\xa9 ";  // escaped and read back
  m.clear();
  ASSERT_EQ(parse("4 " + lmxgencat::escapeText(nasty) + "\n", m), "ok");
  EXPECT_EQ(m.at(1).at(4), nasty);
}

TEST(MessageSource, ErrorsNameTheFileAndLine) {
  const std::string utf8 = "message text is not valid UTF-8", num = " number from 1 to 2147483647";
  const struct { std::string src, want; } rows[] = {
      {"1 ok\n\n  3 indented\n", "3: expected a message number, a $ directive or an empty line"},
      {"$set 0\n", "1: $set needs a set" + num}, {"$set x\n", "1: $set needs a set" + num},
      {"$delset 2147483648\n", "1: $delset needs a set" + num},
      {"$sett 1\n", "1: unknown directive $sett"},
      {"1 a\\\ncontinued\n12abc\n", "3: expected a blank after the message number"},
      {"0 zero\n", "1: message number must be from 1 to 2147483647"},
      {"1 bad \\q\n", "1: unknown escape \\q"}, {"1 a\\\n\\q\n", "2: unknown escape \\q"},
      {"1 \\400\n", "1: octal escape above \\377"},
      {"1 a\\0b\n", "1: \\0 would end the message text"},
      {std::string("1 a\0b\n", 6), "1: message text contains a NUL byte"},
      {"1 ends \\", "1: backslash at the end of the text"},
      {"$quote '\n1 'open\n", "2: missing closing '"},
      {"$quote '\n1 'a' b\n", "2: text after the closing quote"},
      {"$quote \xc2\xab\n", "1: the quote character must be a single byte"},
      {"$quote ab\n", "1: the quote character must be a single byte"},
      {"1 caf\xe9\n", "1: " + utf8}, {"1 \xed\xa0\x80\n", "1: " + utf8},  // the second a surrogate
      {"1 \xc0\xaf\n", "1: " + utf8},  // overlong; then at the line of the bad byte
      {"1 a\\\nb\\\n\\303\n", "3: " + utf8}, {"1 good \\\nmore \\\nbad \xff\n", "3: " + utf8},
  };
  Messages m;
  for (const auto &r : rows) EXPECT_EQ(parse(r.src, m), "t.msg:" + r.want) << r.src;
}

// Runs lmxgencat ('@' in args stands for dir): the exit status; its output and errors.
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
      {"empty.cat", ""}, {"n.msg", "2 more\n"}, {"real.cat", image({{1, {{1, "text"}}}})},
      // Texts that are not UTF-8, as another compiler makes from Latin-1.
      {"l.cat", image({{2, {{1, "fine"}, {7, "caf\xe9"}}}})},
  };
  for (const auto &[name, text] : files) writeFile(dir / name, text);
  ASSERT_EQ(chmod((dir / "real.cat").c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.cat", (dir / "link.cat").c_str()), 0);
  const std::string set1 = "$set 1\n2 changed\n3 third\n", usage =
      "usage: lmxgencat [-o] [-r] CATALOG SOURCE... | --dump CATALOG [OUTPUT] | --help\n";
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
      {"@/m.cat @/del.msg", 0, "", ""}, {"--dump @/m.cat", 0, set1, ""},
      {"-r @/m.cat @/one.msg", 0, "", ""},
      {"--dump @/m.cat", 0, "$set 1\n1 first\n2 second\n$set 2\n1 other set\n", ""},
      {"--replace @/m.cat @/two.msg", 0, "", ""}, {"--dump @/m.cat", 0, set1, ""},
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
  // Failed runs left files untouched and nothing behind; the link and permissions stay.
  EXPECT_EQ(slurp(dir / "x.cat"), image({{1, {{1, "good"}}}}));
  EXPECT_EQ(slurp(dir / "notes.txt"), "precious notes\n");
  std::set<std::string> names,
      want{"again.cat", "app.cat", "dump.msg", "link.cat", "m.cat", "x.cat"};
  for (const auto &f : files) want.insert(f.first);
  for (const auto &e : std::filesystem::directory_iterator(dir.path()))
    names.insert(e.path().filename());
  EXPECT_EQ(names, want);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.cat"));
  EXPECT_EQ(std::filesystem::status(dir / "real.cat").permissions(), std::filesystem::perms(0640));
  std::string help;
  EXPECT_EQ(run(dir, "--help", &help), 0);
  for (const char *word : {"$set", "$delset", "$quote", "\\ddd", "--dump", "FILE:LINE"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

// Source in the grammar both compilers read alike. No deletions: POSIX deletes
// the message of a number alone and the set of $delset, as lmxgencat does; the
// C library's gencat stores an empty text for the one and ignores the other.
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
    // The second source merges into what the first made. A new name each
    // round: the library keeps catalogs it has opened.
    const std::string a = randomSource(rng), b = randomSource(rng), n = std::to_string(round);
    writeFile(dir / "a.msg", a);
    writeFile(dir / "b.msg", b);
    const std::string gcatPath = dir / ("g" + n + ".cat"), g = "gencat " + gcatPath + " ";
    ASSERT_EQ(std::system((g + dir / "a.msg && " + g + dir / "b.msg").c_str()), 0) << a << b;
    // lmxgencat writes no catalog without messages; gencat an empty one.
    for (const char *src : {"a.msg", "b.msg"}) {
      std::string err;
      const int status = run(dir, "@/l" + n + ".cat @/" + src, nullptr, &err);
      ASSERT_EQ(status == 0 ? "" : err, status == 0 ? "" : "lmxgencat: no messages to write\n");
    }
    // Every text of sets 1..4, messages 1..6, "-" where absent.
    nl_catd gcat = catopen(gcatPath.c_str(), 0);
    MCCatalogT *lcat = ilx_catopen((dir / ("l" + n + ".cat")).c_str(), 0, nullptr);
    std::map<std::pair<int, int>, std::string> theirs, mine;
    for (int s = 1; s <= 4; ++s) {
      for (int k = 1; k <= 6; ++k) {
        theirs[{s, k}] = gcat == (nl_catd)-1 ? "-" : catgets(gcat, s, k, "-");
        mine[{s, k}] = lcat ? get(lcat, s, k, utf8) : "-";
      }
    }
    EXPECT_EQ(mine, theirs) << a << "--\n" << b;
    if (gcat != (nl_catd)-1) catclose(gcat);
    if (lcat) ilx_catclose(lcat);
  }
  ilx_cs_free(utf8);
}

TEST(CatalogLookup, TextsInUtf8TheDefaultCodeSetATableCodeSetAndDefaults) {
  // é, €, grüße, and 中 that neither single-byte code set holds.
  const Messages msgs{{1, {{1, "caf\xc3\xa9"}, {2, "plain"}}}, {2, {{1, "\xe2\x82\xac 5"}}},
                      {4, {{3, "gr\xc3\xbc\xc3\x9f" "e"}, {4, "\xe4\xb8\xad"}}},
                      {5, {{1, "\xc3\xa0"}}}};
  TempDir dir;
  MCCatalogT *cat = openImage(dir / "cs.cat", image(msgs));
  ASSERT_NE(cat, nullptr);
  CodeSetT utf8 = ilx_cs_new("utf-8"), cp1252 = ilx_cs_new("CP1252");
  CodeSetT latin9 = ilx_cs_new("ISO-8859-15"), before = ilx_get_def_cs();
  ASSERT_TRUE(cp1252 && latin9) << "code set tables not found along ILXDIR";
  ilx_set_def_cs(cp1252);  // in force when sets 1 to 4 load
  for (int s : {1, 2, 4})
    for (const auto &[k, text] : msgs.at(s)) EXPECT_EQ(get(cat, s, k, utf8), text);
  const struct { int set, key; const char *cp1252, *latin9; } rows[] = {
      {1, 1, "caf\xe9", "caf\xe9"}, {1, 2, "plain", "plain"}, {2, 1, "\x80 5", "\xa4 5"},
      {4, 3, "gr\xfc\xdf" "e", "gr\xfc\xdf" "e"}};
  for (const auto &r : rows) {
    EXPECT_EQ(get(cat, r.set, r.key), r.cp1252) << r.set << "/" << r.key;
    EXPECT_EQ(get(cat, r.set, r.key, latin9), r.latin9) << r.set << "/" << r.key;
  }
  // Unmappable: one substitution byte, never the UTF-8 bytes.
  EXPECT_EQ(get(cat, 4, 4).size(), 1u);
  EXPECT_EQ(get(cat, 4, 4, latin9).size(), 1u);
  // The UTF-8 text is the stored one, stable across look-ups.
  EXPECT_EQ(ilx_catgets(cat, 1, 1, "-", utf8), ilx_catgets(cat, 1, 1, "-", utf8));
  // Default code set texts are made when a set loads, and kept.
  ilx_set_def_cs(utf8);
  EXPECT_EQ(get(cat, 5, 1), "\xc3\xa0");
  EXPECT_EQ(get(cat, 2, 1), "\x80 5");
  ilx_set_def_cs(before);
  // No catalog gives the default; a null default comes back for what is missing.
  EXPECT_EQ(ilx_catgets(nullptr, 1, 1, "d", nullptr), std::string("d"));
  EXPECT_EQ(ilx_catgets(cat, 1, 2, nullptr, nullptr), std::string("plain"));
  EXPECT_EQ(ilx_catgets(cat, 1, 3, nullptr, nullptr), nullptr);
  EXPECT_EQ(ilx_catclose(cat), 0);
  for (CodeSetT cs : {latin9, cp1252}) ilx_cs_free(cs);
}

TEST(CatalogRecords, AreBigEndianAndDamageOnlyMakesSetsOrMessagesMissing) {
  const std::string good = image({{1, {{1, "a"}, {2, "bb"}, {3, "ccc"}}}, {2, {{1, "x"}}}});
  const size_t s0 = setRec(0), m0 = msgRec(good, 0, 0), m1 = msgRec(good, 0, 1);
  const std::pair<size_t, uint32_t> hdr1{kHdrNumSets, 1};  // counts only the usable set records
  const std::vector<std::string> gone1{"-", "-", "-", "-", "x"};  // set 1 missing
  EXPECT_EQ(good.substr(0, 8), "*nazgul*");
  // Word patches, the sets counted after opening (0: refused), the texts of these keys.
  const int keys[][2] = {{1, 1}, {1, 2}, {1, 3}, {1, 5}, {2, 1}};
  using Patches = std::vector<std::pair<size_t, uint32_t>>;
  using Texts = std::vector<std::string>;
  const struct { const char *what; Patches patches; int sets; Texts want; } rows[] = {
      {"invalid set record", {{s0 + kInvalid, 1}, hdr1}, 1, gone1},
      {"invalid set record counted", {{s0 + kInvalid, 1}}, 0, {}},
      {"text block past the end", {{s0 + kTextLen, 1000}, hdr1}, 1, gone1},
      {"negative text length", {{s0 + kTextLen, 0xFFFFFFFF}, hdr1}, 1, gone1},
      {"text offset past the end", {{s0 + kTextOff, 0x7FFFFFF0}, hdr1}, 1, gone1},
      {"messages past the end", {{s0 + kNumMsgs, 100}, hdr1}, 1, gone1},
      {"negative message count", {{s0 + kNumMsgs, 0x80000000}, hdr1}, 1, gone1},
      {"negative message offset", {{s0 + kMsgOff, 0xFFFFFFF0}, hdr1}, 1, gone1},
      {"negative set number", {{s0 + kSetNo, 0xFFFFFFFF}, hdr1}, 1, gone1},
      {"sets out of order (3, 2)", {{s0 + kSetNo, 3}}, 0, {}},
      {"text offset outside the block", {{m1 + 4, 500}}, 2, {"a", "-", "ccc", "-", "x"}},
      {"last text without its NUL", {{s0 + kTextLen, 8}}, 2, {"a", "bb", "-", "-", "x"}},
      {"messages out of order (1, 5, 3)", {{m1, 5}}, 2, {"a", "-", "-", "bb", "x"}},
      {"message number below 1", {{m0, 0}}, 2, {"-", "bb", "ccc", "-", "x"}},
      // "a\0bb\0ccc\0": 9 bytes, conversion areas of 18. Every message at
      // "ccc" asks 7 bytes each: the first two fit, the third is missing.
      {"overlapping texts", {{m0 + 4, 5}, {m1 + 4, 5}, {m1 + 16, 5}}, 2,
       {"ccc", "ccc", "-", "-", "x"}},
      {"bad magic \"Xnaz\"", {{0, 0x586E617A}}, 0, {}}, {"version 2", {{8, 2}}, 0, {}},
      {"no sets", {{kHdrNumSets, 0}}, 0, {}}, {"too many sets", {{kHdrNumSets, 0x7FFFFFFF}}, 0, {}},
      {"first set before the file", {{24, 0xFFFFFF00}}, 0, {}},
      {"invalid record looping", {{s0 + kInvalid, 1}, {s0 + kNext, uint32_t(s0)}}, 0, {}},
  };
  TempDir dir;
  int n = 0;
  for (const auto &r : rows) {
    SCOPED_TRACE(r.what);
    std::string img = good;
    for (const auto &[off, value] : r.patches) put32(img, off, value);
    MCCatalogT *cat = openImage(dir / ("c" + std::to_string(++n)), img);
    ASSERT_EQ(cat != nullptr, r.sets > 0);
    if (cat == nullptr) continue;
    EXPECT_EQ(cat->numSets, r.sets);
    std::vector<std::string> got;
    for (const auto &k : keys) got.push_back(get(cat, k[0], k[1]));
    EXPECT_EQ(got, r.want);
  }
  // The table patches every header and set record word big-endian; the third
  // word of a message record is kept too, and a null record is ignored.
  MCMsgTDisk m{0x01020304, 5, -7};
  hton_MCMsgTDisk(&m);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(&m), sizeof m),
            std::string("\1\2\3\4\0\0\0\5\xff\xff\xff\xf9", 12));
  ntoh_MCMsgTDisk(&m);
  EXPECT_EQ(m.extra, -7);
  hton_MCMsgTDisk(nullptr);
  // Every truncation opens with intact texts or defaults, or not at all.
  for (size_t len = 0; len < good.size(); ++len) {
    MCCatalogT *cat = openImage(dir / ("t" + std::to_string(len)), good.substr(0, len));
    if (!cat) continue;
    EXPECT_TRUE(get(cat, 1, 2) == "bb" || get(cat, 1, 2) == "-") << len;
    EXPECT_TRUE(get(cat, 2, 1) == "x" || get(cat, 2, 1) == "-") << len;
    ilx_catclose(cat);
  }
}

// Generated catalogs: one set or several; numbers consecutive, by component
// (1001, 1002, 2001, ...) or gapped; thousands of messages; damaged numbers.
TEST(CatalogIndex, FindsExactlyWhatASearchByNumberFinds) {
  std::mt19937 rng(10);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  TempDir dir;
  const char *const dflt = "default";
  for (int round = 0; round <= 48; ++round) {
    Messages msgs;
    if (round == 48) {
      // Sparse, numbers far above their index, a set with one message at 7.
      msgs[3][7] = "lonely";
      for (int s : {1, 2, 5, 6, 40, 41, 1000, 70000})
        for (int k : {1, 3, 4, 9, 10, 11, 50, 51, 52, 999, 100000})
          msgs[s][k] = std::to_string(s) + "/" + std::to_string(k);
    }
    const int sets = round == 48 ? 0 : round % 3 == 0 ? 1 : 1 + pick(8);
    int setNo = pick(3);
    for (int s = 0; s < sets; ++s, setNo += 1 + (round % 2 ? pick(50) : 0)) {
      const int count = round % 8 == 0 ? 2000 + pick(2000) : 1 + pick(300);
      for (int i = 0, k = 1; i < count; ++i) {
        msgs[setNo][k] = "s" + std::to_string(setNo) + "k" + std::to_string(k);
        k += round % 3 == 0 ? 1 : round % 3 == 1 ? (i % 20 == 19 ? 1000 - 19 : 1) : 1 + pick(9);
      }
    }
    std::string img = image(msgs);
    // Message numbers out of order, zero, negative or repeated; a set number out of order.
    if (round % 4 == 3) {
      const int32_t bad[] = {0, -1, -100000, INT32_MIN, 1, 5, INT32_MAX};
      const int setCount = static_cast<int>(msgs.size());
      for (int d = 0; d < 12; ++d) {
        const int s = pick(setCount), n = static_cast<int>(get32(img, setRec(s) + kNumMsgs));
        if (n > 0) put32(img, msgRec(img, s, pick(n)), static_cast<uint32_t>(bad[pick(7)]));
      }
      if (setCount > 1) put32(img, setRec(pick(setCount)) + kSetNo, 0);
    }
    MCCatalogT *cat = openImage(dir / ("c" + std::to_string(round) + ".cat"), img);
    if (cat == nullptr && round % 4 == 3) continue;  // damaged set records may leave none
    ASSERT_NE(cat, nullptr) << round;
    // Every number present, its neighbours, beyond the last, the extremes.
    std::vector<int32_t> setKeys{-1, 0, INT32_MIN, INT32_MAX, setNo, setNo + 1000};
    std::set<int32_t> msgKeys{-1, 0, INT32_MIN, INT32_MAX, 1, 2};
    for (const auto &[s, texts] : msgs) {
      setKeys.insert(setKeys.end(), {s - 1, s, s + 1});
      for (const auto &[k, text] : texts) msgKeys.insert({k - 1, k, k + 1});
      msgKeys.insert(texts.rbegin()->first + 1000000);
    }
    size_t found = 0;
    const Messages::mapped_type kNone;
    for (int32_t s : setKeys) {
      MCSetT *set = std::lower_bound(cat->sets, cat->sets + cat->numSets, s,
                                     [](const MCSetT &r, int32_t key) { return r.setNo < key; });
      if (set == cat->sets + cat->numSets || set->setNo != s) set = nullptr;
      if (set && set->loadState != 0 && !ilx::catalogLoadSet(cat, set)) set = nullptr;
      const auto &texts = msgs.count(s) ? msgs.at(s) : kNone;  // undamaged: the source's texts
      for (int32_t k : msgKeys) {
        const MCMsgT *msg = set == nullptr || set->loadState != 0 ? nullptr
            : std::lower_bound(set->msgs, set->msgs + set->msgCount, k,
                               [](const MCMsgT &r, int32_t key) { return r.msgNo < key; });
        if (msg && (msg == set->msgs + set->msgCount || msg->msgNo != k)) msg = nullptr;
        const char *got = ilx_catgets(cat, s, k, dflt, nullptr);
        ASSERT_EQ(got, msg ? msgLocal(set, msg) : dflt) << round << " " << s << "/" << k;
        const auto t = texts.find(k);
        if (round % 4 != 3) {
          ASSERT_STREQ(got, t != texts.end() ? t->second.c_str() : dflt) << s << "/" << k;
        }
        found += msg != nullptr;
      }
    }
    EXPECT_GT(found, 0u) << round;
    ilx_catclose(cat);
  }
}

TEST(CatalogTemplate, DirectivesLocalePartsAndLengthLimit) {
  const std::string dir(1017, 'd'), n300(300, 'n');  // dir + "/m.cat": the 1023 bytes that fit
  const struct { std::string tmpl; const char *name, *locale; std::string want; } rows[] = {
      {"%L/%l/%t/%c", "m", "de_DE.ISO8859-1", "de_DE.ISO8859-1/de/DE/ISO8859-1"},
      {"%L/%l/%t/%c", "m", "C", "C/C//"}, {"%l|%t|%c", "m", "en.UTF-8", "en||UTF-8"},
      {"%l|%t|%c", "m", "pt_BR", "pt|BR|"}, {"/usr/%N/%N.cat", "lmx", "C", "/usr/lmx/lmx.cat"},
      {"%%N", "m", "C", "%m"},       // "%" copied, then "%N" read again
      {"a%xb%", "m", "C", "a%xb%"},  // unknown and trailing "%" stay
      {dir + "/%N.cat", "m", "C", dir + "/m.cat"}, {dir + "/%N.cats", "m", "C", "<too long>"},
      {std::string(500, 'x') + "%N%N", n300.c_str(), "C", "<too long>"},
  };
  for (const auto &r : rows) {
    char out[ilx::kCatPathMax];
    const bool ok = ilx::expandTemplate(r.tmpl.data(), r.tmpl.size(), r.name, r.locale, out);
    EXPECT_EQ(ok ? out : "<too long>", r.want) << r.tmpl;
  }
}

class CatalogSearch : public ::testing::Test {
 protected:
  // Writes a catalog (by default: message 1/1 is its relative path); its path.
  std::string make(const std::string &rel, Messages msgs = {}) {
    for (size_t pos = 0; (pos = rel.find('/', pos)) != std::string::npos; ++pos)
      mkdir((dir_ / rel.substr(0, pos)).c_str(), 0700);
    if (msgs.empty()) msgs[1][1] = rel;
    writeFile(dir_ / rel, image(msgs));
    return dir_ / rel;
  }
  // Which file was found, relative to the folder; "" when none.
  std::string find(const char *name, int flags, const char *locale) {
    char path[ilx::kCatPathMax];
    if (!ilx::findCatalogFile(name, flags, locale, path)) return "";
    const std::string p = path;
    return p.rfind(dir_.path() + "/", 0) == 0 ? p.substr(dir_.path().size() + 1) : p;
  }
  TempDir dir_;
};

TEST_F(CatalogSearch, LocaleCandidatesInOrderAndTheirFlags) {
  for (const char *f : {"fr/app.cat", "fr_FR/app.cat", "C/app.cat", "de/app.cat", "ja_JP/app.cat"})
    make(f);
  EnvVar nls("NLSPATH", (dir_.path() + "/%L/%N.cat").c_str());
  EnvVar lang("LANG", "de_DE"), all("LC_ALL", "japanese"), msgs("LC_MESSAGES", nullptr);
  const int no2 = ILX_CAT_NO_LANG2, noCan = ILX_CAT_NO_CANLANG;
  const char *const longName = "fr_CA.a-very-long-code-set-name-indeed";  // no candidates
  const struct { const char *name; int flags; const char *locale, *want; } rows[] = {
      {"app", 0, "fr_CA.UTF-8", "fr/app.cat"},  // two-letter language
      {"app", no2, "fr_CA", "fr_FR/app.cat"},   // canonical language
      {"app", no2 | noCan, "fr_CA", "C/app.cat"}, {"app", no2 | noCan | ILX_CAT_NO_C, "fr_CA", ""},
      // From here on fr_CA/app.cat exists.
      {"app", 0, "FR-ca", "fr_CA/app.cat"},  // canonical form first
      {"other", 0, "fr_CA", ""}, {"app", 0, longName, "C/app.cat"},
      {"app", ILX_CAT_NO_C, longName, ""},
      // No locale: the user's language (LANG), or with the flag the environment's.
      {"app", 0, nullptr, "de/app.cat"}, {"app", ILX_CAT_ENV_LOCALE, nullptr, "ja_JP/app.cat"},
      {"app", ILX_CAT_ENV_LOCALE, "de_AT", "de/app.cat"},  // given wins
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    if (i == 4) make("fr_CA/app.cat");
    EXPECT_EQ(find(rows[i].name, rows[i].flags, rows[i].locale), rows[i].want) << i;
  }
  EnvVar none("LC_ALL", nullptr), m("LC_MESSAGES", "ja");
  EXPECT_EQ(find("app", ILX_CAT_ENV_LOCALE, nullptr), "ja_JP/app.cat");
}

TEST_F(CatalogSearch, NlspathElementsSeparatorsDriveLettersPathsAndSetters) {
  for (const char *f : {"X:/m.cat", "b/m.cat", "here.cat", "p/q.cat"}) make(f);
  const std::string d = dir_.path(), tooLong = std::string(1100, 'z') + "/%N.cat;b/%N.cat";
  const struct { const char *nlspath; std::string name; const char *want; } rows[] = {
      // ':' second in an element belongs to a drive letter; ';' and other ':' split.
      {"Q:/none/%N.cat;X:/%N.cat", "m", "X:/m.cat"}, {"nothing/%N:b/%N.cat", "m", "b/m.cat"},
      {tooLong.c_str(), "m", "b/m.cat"},  // an element too long is skipped
      {nullptr, "here", "here.cat"}, {"", "here", "here.cat"},  // unset or empty: "%N.cat" here
      {"/nowhere/%N", d + "/p/q.cat", "p/q.cat"},  // paths are used as they stand
      {"/nowhere/%N", d + "/p/none.cat", ""}, {"/nowhere/%N", "", ""},
  };
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(d);
  for (const auto &r : rows) {
    EnvVar nls("NLSPATH", r.nlspath);
    if (r.nlspath == nullptr) {
      EXPECT_STREQ(ilx_get_nlspath(), "");
    }
    EXPECT_EQ(find(r.name.c_str(), 0, "C"), r.want) << (r.nlspath ? r.nlspath : "unset") << r.name;
  }
  EXPECT_EQ(find(nullptr, 0, "C"), "");
  std::filesystem::current_path(cwd);
  // Setting and prepending keep the environment consistent.
  EnvVar unset("NLSPATH", nullptr);
  EXPECT_EQ(ilx_prepend_nlspath("/a/%N"), 0);  // separator even before an empty value
  EXPECT_STREQ(ilx_get_nlspath(), "/a/%N;");
  EXPECT_EQ(ilx_set_nlspath("/b/%N.cat"), 0);
  EXPECT_STREQ(ilx_get_nlspath(), "/b/%N.cat");
  EXPECT_EQ(ilx_prepend_nlspath("/c/%L/%N"), 0);
  EXPECT_EQ(ilx_set_nlspath(nullptr), -1);
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  EXPECT_STREQ(getenv("NLSPATH"), "/c/%L/%N;/b/%N.cat");
  // Tearing the services down forgets the text but keeps the value, in one
  // whole entry; a value that someone else set since stays.
  const auto entries = [] {
    int n = 0;
    for (char **e = environ; *e != nullptr; ++e) n += std::strncmp(*e, "NLSPATH", 7) == 0;
    return n;
  };
  ilx_init();
  ilx_uninit();
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  EXPECT_EQ(entries(), 1);
  EXPECT_EQ(ilx_set_nlspath("/d/%N"), 0);
  setenv("NLSPATH", "/e/%N", 1);
  ilx_init();
  ilx_uninit();
  EXPECT_STREQ(ilx_get_nlspath(), "/e/%N");
  EXPECT_EQ(entries(), 1);
  ilx_init();
}

TEST_F(CatalogSearch, CachedHandlesAreSharedCloseOnceAndStayValid) {
  const std::string p = make("shared.cat");
  MCCatalogT *a = ilx_catopen(p.c_str(), 0, nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
  EXPECT_EQ(ilx_catclose(a), -1);
  EXPECT_EQ(ilx_catclose(nullptr), -1);
  EXPECT_STREQ(ilx_catgets(a, 1, 1, "d", nullptr), "shared.cat");  // closed, still cached
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
  // Files that are not catalogs are not cached.
  writeFile(dir_ / "junk.cat", "not a catalog at all, but long enough");
  const size_t before = ilx::cacheCount();
  EXPECT_EQ(ilx_catopen((dir_ / "junk.cat").c_str(), 0, nullptr), nullptr);
  EXPECT_EQ(ilx::cacheCount(), before);
  // The XPG wrappers use the all-ones handle for failures.
  EXPECT_EQ(rmc_catopen((dir_ / "absent.cat").c_str(), 0), RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(RMC_CATD_ERR, 1, 1, "dflt"), "dflt");
  EXPECT_EQ(rmc_catclose(RMC_CATD_ERR), -1);
  MCCatalogT *cat = rmc_catopen(make("rmc.cat").c_str(), 0);
  ASSERT_NE(cat, RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(cat, 1, 1, "dflt"), "rmc.cat");
  EXPECT_EQ(rmc_catclose(cat), 0);
  EXPECT_EQ(rmc_catclose(cat), -1);
}

TEST_F(CatalogSearch, CacheGrowsOnlyWhenEveryCatalogIsOpen) {
  // The capacity before and after each of 20 catalogs opens, and the count; reopening 3
  // after closing 3, 7 and 12; per new catalog whether 7, 12 and 3 are cached, the capacity.
  const auto states = [&] {
    auto open = [&](const std::string &n) { return ilx_catopen(make(n).c_str(), 0, nullptr); };
    std::string log = std::to_string(ilx::cacheCapacity()) + ":";
    std::vector<MCCatalogT *> cats;
    for (int i = 0; i < 20; ++i) {
      cats.push_back(open("c" + std::to_string(i)));
      log += cats.back() ? " " + std::to_string(ilx::cacheCapacity()) : " null";
    }
    log += " n" + std::to_string(ilx::cacheCount());
    for (int i : {3, 7, 12}) ilx_catclose(cats[i]);
    log += open("c3") == cats[3] ? " / same" : " / other";
    ilx_catclose(cats[3]);  // 7 now carries the oldest stamp
    for (const char *name : {"new1", "new2", "new3", "new4"}) {
      log += open(name) ? " /" : " / null";
      for (int i : {7, 12, 3}) log += ilx::cacheIsCached(cats[i]) ? " 1" : " 0";
      log += " " + std::to_string(ilx::cacheCapacity());
    }
    return log + " n" + std::to_string(ilx::cacheCount());
  };
  // Ten slots, doubled when all are open; the oldest closed goes first. A fresh
  // process with an empty cache runs only this test, the states on its stderr.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT((std::fputs(states().c_str(), stderr), std::exit(0)), testing::ExitedWithCode(0),
              "^0: 10 10 10 10 10 10 10 10 10 10 20 20 20 20 20 20 20 20 20 20 n20 / same"
              " / 0 1 1 20 / 0 0 1 20 / 0 0 0 20 / 0 0 0 40 n21$");
}

std::string bind(const char *fmt, std::vector<const char *> args, const char *catalog = nullptr,
                 int set = 1, int key = 1) {
  BindBufT out{nullptr, 0, 0, 1};
  const int32_t n = static_cast<int32_t>(args.size());
  EXPECT_EQ(real_msg_bind(catalog, fmt, key, set, n, args.data(), &out), 0);
  std::string s = out.text ? out.text : "<no text>";
  EXPECT_EQ(s.size(), out.used);
  std::free(out.text);
  return s;
}

using MsgBind = CatalogSearch;

TEST_F(MsgBind, ArgumentListsFaultyDirectivesBuffersAndCatalogFormats) {
  // Faulty directives leave markers and binding goes on.
  const std::string ones(400, '1'), longNo = "%" + ones + "$s";
  const struct { std::string fmt; std::vector<const char *> args; std::string want; } rows[] = {
      {"%2$s-%1$s", {"a", "b"}, "b-a"}, {"<%s>", {"a", "b"}, "<a>"}, {"%1.2$s", {"a", "b"}, "ab"},
      {"%0$s", {"a", "b"}, "ab"}, {"%2.$s", {"a", "b"}, "bab"},  // an empty number means all
      {"%5$s", {"a", "b"}, "(null)"}, {"%99999999999999999999$s|", {"a"}, "(null)|"},
      {"%1$ls %%", {"x"}, "x %"}, {"%1$s", {nullptr}, "(null)"}, {"%s", {}, "(null)"},
      {"no directives", {}, "no directives"}, {"end %", {"a"}, "end *bogus format %*"},
      {"%2s!", {"a", "b"}, "*expecting $*s!"}, {"%1$", {"a"}, "*don't know what to do with fmt*"},
      {"%d and %1$s", {"a"}, "*don't know what to do with fmt* and a"},
      {longNo, {"a"}, "*expecting positional #*" + ones + "$s"},
  };
  for (const auto &r : rows) EXPECT_EQ(bind(r.fmt.c_str(), r.args), r.want) << r.fmt;
  EXPECT_EQ(bind(nullptr, {}), "*no format string*");
  EXPECT_EQ(real_msg_bind(nullptr, "x", 1, 1, 0, nullptr, nullptr), -1);
  // Growth in steps of 500, or by the text's length + 1 for long texts.
  BindBufT out{nullptr, 0, 0, 1};
  const std::string big(700, 'b');
  const char *x[] = {"x"}, *args[] = {big.c_str()};
  ASSERT_EQ(real_msg_bind(nullptr, "%s", 1, 1, 1, x, &out), 0);
  EXPECT_EQ(out.capacity, 500u);
  ASSERT_EQ(real_msg_bind(nullptr, "%s", 1, 1, 1, args, &out), 0);
  EXPECT_EQ(out.capacity, 500u + 701u);
  EXPECT_EQ(std::string(out.text), "x" + big);
  std::free(out.text);
  // A fixed buffer takes what fits, stays terminated, and says it was cut.
  char fixed[8] = "XXXXXXX";
  BindBufT f{fixed, sizeof fixed, 0, 0};
  const char *ab[] = {"abcdef", "ghij"};
  EXPECT_EQ(real_msg_bind(nullptr, "%1.2$s", 1, 1, 2, ab, &f), -1);
  EXPECT_STREQ(fixed, "abcdefg");
  EXPECT_EQ(f.used, 7u);
  BindBufT none{nullptr, 0, 0, 0};
  EXPECT_EQ(real_msg_bind(nullptr, "x", 1, 1, 0, nullptr, &none), -1);
  // The format comes from the catalog of the environment locale where it has one.
  make("de/app.cat", {{2, {{7, "%2$s vor %1$s"}}}});
  EnvVar nls("NLSPATH", (dir_.path() + "/%l/%N.cat").c_str()), all("LC_ALL", "de_DE.UTF-8");
  const char *const fmt = "%1$s before %2$s";
  EXPECT_EQ(bind(fmt, {"a", "b"}, "app", 2, 7), "b vor a");
  EXPECT_EQ(bind(fmt, {"a", "b"}, "app", 2, 8), "a before b");
  EXPECT_EQ(bind(fmt, {"a", "b"}, "nothere", 2, 7), "a before b");
}

}  // namespace
