// Positional binding of string arguments into message formats.
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "catalog_fixture.h"

using cattest::EnvVar;
using cattest::TempDir;

namespace {

std::string bind(const char *fmt, std::vector<const char *> args, const char *catalog = nullptr,
                 int set = 1, int key = 1) {
  BindBufT out{nullptr, 0, 0, 1};
  EXPECT_EQ(real_msg_bind(catalog, fmt, key, set, static_cast<int32_t>(args.size()), args.data(), &out), 0);
  std::string s = out.text ? out.text : "<no text>";
  EXPECT_EQ(s.size(), out.used);
  std::free(out.text);
  return s;
}

TEST(MsgBind, ArgumentListsAndFaultyDirectives) {
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
}

TEST(MsgBind, GrowableAndFixedBuffers) {
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
}

TEST(MsgBind, FormatComesFromTheCatalogOfTheEnvironmentLocale) {
  TempDir dir;
  mkdir((dir / "de").c_str(), 0700);
  cattest::writeFile(dir / "de/app.cat", cattest::image({{2, {{7, "%2$s vor %1$s"}}}}));
  EnvVar nls("NLSPATH", (dir.path() + "/%l/%N.cat").c_str()), all("LC_ALL", "de_DE.UTF-8");
  const char *const fmt = "%1$s before %2$s";
  EXPECT_EQ(bind(fmt, {"a", "b"}, "app", 2, 7), "b vor a");
  EXPECT_EQ(bind(fmt, {"a", "b"}, "app", 2, 8), "a before b");
  EXPECT_EQ(bind(fmt, {"a", "b"}, "nothere", 2, 7), "a before b");
}

}  // namespace
