// The properties-file examples of the configuration reference are opened
// and logged through, so that the reference cannot drift from the code.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../cx/temp_dir.h"
#include "lumex/lumex.h"

namespace {

std::vector<std::string> examples() {
  const std::filesystem::path doc =
      std::filesystem::path(__FILE__).parent_path() / "../../docs/configuration.md";
  std::ifstream in(doc);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  std::vector<std::string> out;
  const std::string open = "```properties\n";
  for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
    at += open.size();
    const size_t end = text.find("```", at);
    if (end == std::string::npos) break;
    out.push_back(text.substr(at, end - at));
    at = end;
  }
  return out;
}

struct Example {
  const char *file;  // where the record lands; null: standard output
  const char *expect;
};

// In the order of the reference.
const Example kExamples[] = {
    {nullptr, " | record from the reference\n"},
    {"logs/app.log", " record from the reference\n"},
    {"logs/shared.xml", "record from the reference"},
};

class ConfigExamples : public TempDir {};

TEST_F(ConfigExamples, EachOpensTheToolkitAndLogs) {
  const std::vector<std::string> texts = examples();
  ASSERT_EQ(texts.size(), std::size(kExamples));
  const std::string cwd = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(root.c_str()), 0);
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE("example " + std::to_string(i + 1));
    writeFile("example.properties", texts[i]);
    if (kExamples[i].file == nullptr) testing::internal::CaptureStdout();
    ASSERT_TRUE(LmxOpenToolkit("example.properties"));
    Object *app = LmxGetObject("app", nullptr);
    EXPECT_NE(app, nullptr);
    LmxLogWarn(app, nullptr, 0, 0, "record from the reference", 0);
    LmxReleaseObject(app);
    LmxCloseToolkit();
    const std::string got = kExamples[i].file == nullptr ? testing::internal::GetCapturedStdout()
                                                         : readFile(kExamples[i].file);
    EXPECT_NE(got.find(kExamples[i].expect), std::string::npos) << got;
  }
  ASSERT_EQ(chdir(cwd.c_str()), 0);
}

}  // namespace
