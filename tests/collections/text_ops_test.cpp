#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumex/collections.h"

namespace {

using Texts = std::vector<std::string>;

Texts tokens(const char *text, const char *seps) {
  Texts out;
  for (LmxStrTokIter it = LmxStrTokIterator(text, seps); LmxStrTokIterHasNext(it);
       it = LmxStrTokIterNext(it)) {
    char *token = LmxStrTokIterGet(it);
    if (token == nullptr) return ADD_FAILURE() << "no token", out;
    out.emplace_back(token);
    BasMemoryFree(token);
  }
  return out;
}

TEST(StrTok, RunsOfSeparatorsCountAsOneAndNoSeparatorsWalkCharacters) {
  const struct {
    const char *text, *seps;
    Texts expected;
  } rows[] = {
      {"  a \t bc ", " \t", {"a", "bc"}}, {"h1,,h2,", ",", {"h1", "h2"}},
      {"single", " ", {"single"}},
      {" \t ", " \t", {}},                {"", " ", {}},                  {nullptr, " ", {}},
      {"ab", nullptr, {"a", "b"}},        {"a b", "", {"a", " ", "b"}},
  };
  for (const auto &r : rows) EXPECT_EQ(tokens(r.text, r.seps), r.expected) << &r - rows;
}

TEST(StrTok, ExhaustedIteratorStaysPut) {
  LmxStrTokIter it = LmxStrTokIterNext(LmxStrTokIterator("x  ", " "));
  EXPECT_FALSE(LmxStrTokIterHasNext(it));  // only separators remain
  EXPECT_EQ(LmxStrTokIterGet(it), nullptr);
  it = LmxStrTokIterNext(LmxStrTokIterNext(it));
  EXPECT_STREQ(it.pos, "");
}

TEST(StrACat, JoinsNonNullTexts) {
  const char *three[] = {"x", nullptr, "y"}, *lead[] = {nullptr, "a", "", "b"};
  const struct {
    int32_t count;
    const char *const *texts;
    const char *sep, *expected;
  } rows[] = {
      {3, three, ",", "x,y"}, {3, three, nullptr, "xy"}, {0, three, ",", ""}, {-4, three, ",", ""},
      {1, three, "--", "x"},  {4, lead, "+", "a++b"},    {2, lead, "::", "a"},
      {2, nullptr, ",", ""},
  };
  for (const auto &r : rows) {
    char *joined = LmxStrACat(r.count, r.texts, r.sep);
    ASSERT_NE(joined, nullptr);
    EXPECT_STREQ(joined, r.expected) << "count " << r.count;
    BasMemoryFree(joined);
  }
}

}  // namespace
