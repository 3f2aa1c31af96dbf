#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumex/collections.h"

namespace {

std::vector<std::string> tokens(const char *text, const char *seps) {
  std::vector<std::string> out;
  for (LmxStrTokIter it = LmxStrTokIterator(text, seps); LmxStrTokIterHasNext(it);
       it = LmxStrTokIterNext(it)) {
    char *token = LmxStrTokIterGet(it);
    EXPECT_NE(token, nullptr);
    if (token == nullptr) break;
    out.emplace_back(token);
    BasMemoryFree(token);
  }
  return out;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(StrTok, RunsOfSeparatorsCountAsOne) {
  EXPECT_EQ(tokens("  a \t bc ", " \t"), (Texts{"a", "bc"}));
  EXPECT_EQ(tokens("h1,,h2,", ","), (Texts{"h1", "h2"}));
  EXPECT_EQ(tokens("single", " "), (Texts{"single"}));
  EXPECT_EQ(tokens(" \t ", " \t"), Texts{});
  EXPECT_EQ(tokens("", " "), Texts{});
  EXPECT_EQ(tokens(nullptr, " "), Texts{});
}

TEST(StrTok, WithoutSeparatorsWalksCharacters) {
  EXPECT_EQ(tokens("ab", nullptr), (Texts{"a", "b"}));
  EXPECT_EQ(tokens("a b", ""), (Texts{"a", " ", "b"}));
}

TEST(StrTok, ExhaustedIteratorStaysPut) {
  LmxStrTokIter it = LmxStrTokIterator("x  ", " ");
  it = LmxStrTokIterNext(it);
  EXPECT_FALSE(LmxStrTokIterHasNext(it));  // only separators remain
  EXPECT_EQ(LmxStrTokIterGet(it), nullptr);
  it = LmxStrTokIterNext(it);
  it = LmxStrTokIterNext(it);
  EXPECT_STREQ(it.pos, "");
}

TEST(StrACat, JoinsNonNullTexts) {
  const char *three[] = {"x", nullptr, "y"};
  const char *lead[] = {nullptr, "a", "", "b"};
  struct Case {
    int32_t count;
    const char *const *texts;
    const char *sep;
    const char *expected;
  } cases[] = {
      {3, three, ",", "x,y"}, {3, three, nullptr, "xy"},  {0, three, ",", ""},
      {-4, three, ",", ""},   {1, three, "--", "x"},      {4, lead, "+", "a++b"},
      {2, lead, "::", "a"},   {2, nullptr, ",", ""},
  };
  for (const Case &c : cases) {
    char *joined = LmxStrACat(c.count, c.texts, c.sep);
    ASSERT_NE(joined, nullptr);
    EXPECT_STREQ(joined, c.expected) << "count " << c.count;
    BasMemoryFree(joined);
  }
}
