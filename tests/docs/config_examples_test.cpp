// The properties-file examples of the configuration reference are opened
// and logged through, so that the reference cannot drift from the code.
#include <gtest/gtest.h>
#include <unistd.h>

#include "../cx/temp_dir.h"
#include "lumex/lumex.h"

namespace {

class ConfigExamples : public TempDir {};

TEST_F(ConfigExamples, EachOpensTheToolkitAndLogs) {
  struct Example {
    const char *file;  // where the record lands; null: standard output
    const char *expect;
  } examples[] = {  // in the order of the reference
      {nullptr, " | record from the reference\n"},
      {"logs/app.log", " record from the reference\n"},
      {"logs/shared.xml", "record from the reference"},
  };
  const std::string doc = readFile(
      (std::filesystem::path(__FILE__).parent_path() / "../../docs/configuration.md").string());
  const std::string open = "```properties\n";
  std::vector<std::string> texts;
  for (size_t at = doc.find(open), end = 0; at != std::string::npos; at = doc.find(open, end)) {
    at += open.size();
    if ((end = doc.find("```", at)) == std::string::npos) break;
    texts.push_back(doc.substr(at, end - at));
  }
  ASSERT_EQ(texts.size(), std::size(examples));
  const std::string cwd = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(root.c_str()), 0);
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE("example " + std::to_string(i + 1));
    writeFile("example.properties", texts[i]);
    if (examples[i].file == nullptr) testing::internal::CaptureStdout();
    ASSERT_TRUE(LmxOpenToolkit("example.properties"));
    Object *app = LmxGetObject("app", nullptr);
    EXPECT_NE(app, nullptr);
    LmxLogWarn(app, nullptr, 0, 0, "record from the reference", 0);
    LmxReleaseObject(app);
    LmxCloseToolkit();
    const std::string got = examples[i].file == nullptr ? testing::internal::GetCapturedStdout()
                                                        : readFile(examples[i].file);
    EXPECT_NE(got.find(examples[i].expect), std::string::npos) << got;
  }
  ASSERT_EQ(chdir(cwd.c_str()), 0);
}

}  // namespace
