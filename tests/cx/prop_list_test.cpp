#include "cx/cx_intl.h"
#include "temp_dir.h"

// "[key]=[value]" for each entry, in list order.
static std::string render(const CxPropList &list) {
  std::string out;
  for (int32_t i = 0; i < list.count; ++i)
    out += "[" + std::string(list.entries[i].key) + "]=[" + list.entries[i].value + "]";
  return out;
}

using PropFile = TempDir;

TEST_F(PropFile, ReadsWhatTheSyntaxSaysAndReportsOnlyBadValueEscapes) {
  const std::string badEscape =  // only a bad value escape is reported, with the key so far
      "LMX0052E The value of property 'app.level' in the properties file could not be parsed, "
      "because it contains a backslash character that is not part of a valid escape sequence.\r\n";
  struct { const char *text; bool ok; const char *pairs; std::string printed = ""; } cases[] = {
      // separators, white space, comments, key and value escapes
      {"a.b = c ", true, "[a.b]=[c ]"}, {"a.b==c", true, "[a.b]=[=c]"}, {"a.b", true, "[a.b]=[]"},
      {"a.b:c\na.c=c\na.d c\n", true, "[a.b]=[c][a.c]=[c][a.d]=[c]"}, {"=x=1\n", true, "[=x]=[1]"},
      {" \t\fk =\tv w\tx\n", true, "[k]=[v w\tx]"}, {"a#b=c!d #e\n", true, "[a#b]=[c!d #e]"},
      {"\\a=1", true, "[\\a]=[1]"}, {"a=1\na=2", true, "[a]=[2]"}, {"a.b=", true, "[a.b]=[]"},
      {"# only\n! comments\n\n   \n  # and blanks\r\n", true, ""}, {"a\\tb=1", false, ""},
      {"a\\ b=1\nc\\=d\\:e\\\\f\\\tg=2", true, "[a b]=[1][c=d:e\\f\tg]=[2]"},
      {"ab\\\nc=1", false, ""}, {"k=\\ \\\"\\'\\\\\\\t.", true, "[k]=[ \"'\\\t.]"},
      {"k=\\u12\n", false, ""}, {"k=\\uD83Dx\n", true, "[k]=[\xEF\xBF\xBDx]"},
      {"k=\\u00G1\n", false, ""}, {"k=x\\u0041y\\u00e9\\u00C9", true, "[k]=[xAy\xC3\xA9\xC3\x89]"},
      {"k=\\uD83D\\uDE00!\\UD83D\\UDE00", true, "[k]=[\xF0\x9F\x98\x80!\xF0\x9F\x98\x80]"},
      {"k=\\uD83D\\u0041", true, "[k]=[\xEF\xBF\xBD" "A]"},
      {"k=\\uDE00\\uD83D\n", true, "[k]=[\xEF\xBF\xBD\xEF\xBF\xBD]"},
      // continuation lines; a blank line after the backslash is swallowed
      {"a=b\\\n   c\nd=e\n", true, "[a]=[bc][d]=[e]"}, {"a=b\\\n\n\tc\n", true, "[a]=[bc]"},
      {"a=b\\\r\n\r\n c\r\n", true, "[a]=[bc]"}, {"a=b\\\n  \\ c\n", true, "[a]=[b c]"},
      {"a=b\\\n   \n", true, "[a]=[b]"}, {"a = \\\n x", true, "[a]=[x]"},
      // failing lines; what was stored before stays
      {"   = x\n", false, ""}, {"x=1\na.b\nc=3\n", false, "[x]=[1]"},
      {"x=1\nab  \n", false, "[x]=[1]"}, {"x=1\napp.level=a\\nb\n", false, "[x]=[1]", badEscape},
  };
  CxPropList list{};
  for (const auto &c : cases) {  // read from a real file
    writeFile(at("p"), c.text);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(CxPropListRead(at("p").c_str(), &list), c.ok) << c.text;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.printed) << c.text;
    EXPECT_EQ(render(list), c.pairs) << c.text;
    CxPropListDiscard(&list);
  }
  EXPECT_FALSE(CxPropListRead(at("absent").c_str(), &list));  // a missing file or list fails too
  writeFile(at("p"), "a=1");
  EXPECT_FALSE(CxPropListRead(at("p").c_str(), nullptr));
  EXPECT_EQ(list.count, 0);
}

TEST(PropList, PutReplacesAndRemoveMovesTheLastEntry) {
  CxPropList list{};
  for (const char *k : {"a", "b", "c"}) CxPropListPutStr(&list, k, k);
  EXPECT_TRUE(CxPropListPutStr(&list, "b", "B"));
  auto remove = [&](const char *key) { return std::to_string(CxPropListRemove(&list, key)); };
  const Steps steps{render(list), remove("a"), render(list), remove("a"),
                    remove("b"),  render(list),  // the last one: nothing moves
                    std::to_string(CxPropListPutStr(&list, nullptr, "x")),
                    std::to_string(CxPropListPutStr(&list, "x", nullptr))};
  EXPECT_EQ(steps, (Steps{"[a]=[a][b]=[B][c]=[c]", "1", "[c]=[c][b]=[B]", "0", "1", "[c]=[c]", "0",
                          "0"}));
  CxPropListDiscard(&list);
  EXPECT_EQ(list.count + list.capacity, 0);
  EXPECT_EQ(list.entries, nullptr);
  for (int i = 0; i < 40; ++i)  // usable again, and entries survive growing past the first block
    ASSERT_TRUE(CxPropListPutStr(&list, std::to_string(i).c_str(), std::to_string(3 * i).c_str()));
  for (int i = 0; i < 40; ++i)
    EXPECT_STREQ(CxPropListPeekStr(&list, std::to_string(i).c_str(), nullptr),
                 std::to_string(3 * i).c_str());
  EXPECT_FALSE(cxPropListHasCapacity(nullptr, 1));
  CxPropListDiscard(&list);
}

TEST(PropList, LookupsTellPresenceApartFromEmptyValues) {
  CxPropList list{};
  CxPropListPutStr(&list, "e", "");
  CxPropListPutStr(&list, "k", "v");
  const struct { const CxPropList *list; const char *key; unsigned char found; const char *value; }
      cases[] = {{&list, "e", 1, ""},         {&list, "k", 1, "v"},       {&list, "K", 0, nullptr},
                 {&list, nullptr, 0, nullptr}, {nullptr, "k", 0, nullptr}};
  for (const auto &c : cases) {
    unsigned char found = 7;
    char *copy = CxPropListCopyStr(c.list, c.key, &found);
    EXPECT_EQ(found, c.found);
    EXPECT_STREQ(copy, c.value);
    EXPECT_STREQ(CxPropListPeekStr(c.list, c.key, nullptr), c.value);
    EXPECT_EQ(CxPropListHasKey(c.list, c.key), c.found);
    BasMemoryFree(copy);
  }
  CxPropListDiscard(&list);
}

TEST(PropList, IteratorWalksInOrderAndEndsAsTheEndPosition) {
  CxPropList list{};
  for (const char *k : {"x", "y", "z"}) CxPropListPutStr(&list, k, k);
  std::string walked;
  CxPropListIter it = CxPropListIterator(&list);
  do {
    char *key = CxPropListIterCopyKey(&it);
    walked += std::string(key) + "=" + CxPropListIterPeekVal(&it) + ";";
    BasMemoryFree(key);
  } while (CxPropListIterHasNext(&it) && CxPropListIterNext(&it) == &it);
  EXPECT_EQ(walked, "x=x;y=y;z=z;");
  EXPECT_EQ(CxPropListIterNext(&it), &it);  // past the last: the end position
  EXPECT_EQ(it.list, nullptr);
  EXPECT_EQ(it.index, 0);
  EXPECT_EQ(CxPropListIterCopyVal(&it), nullptr);
  CxPropListIter negative{&list, -1};
  CxPropListIterNext(&negative);
  EXPECT_EQ(negative.index, -1);
  EXPECT_EQ(CxPropListIterPeekKey(&negative), nullptr);
  CxPropList empty{};
  CxPropListIter none = CxPropListIterator(&empty);
  EXPECT_EQ(CxPropListIterPeekKey(&none), nullptr);
  EXPECT_FALSE(CxPropListIterHasNext(&none));
  CxPropListDiscard(&list);
}
