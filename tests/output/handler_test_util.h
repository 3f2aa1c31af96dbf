// Helpers of the handler and formatter tests: an open toolkit per test,
// events from a tagged list, captured standard output, properties files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/lumex.h"

namespace test {

// The toolkit open (without a properties file unless the test opens it with
// one itself) for the length of one test.
class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LmxOpenToolkit(nullptr)); }
  void TearDown() override { LmxCloseToolkit(); }
};

// The text as a string, freed.
inline std::string takeText(char *text) {
  std::string copy = text != nullptr ? text : "<null>";
  BasMemoryFree(text);
  return copy;
}

// An INFO event with the message text (of the catalog, when one is named)
// and the tagged parameter list ended by 0.
inline Event *newEvent(const char *catalog, const char *text, ...) {
  va_list args;
  va_start(args, text);
  Event *event = LmxVaAllocEvent(LMX_LEVEL_INFO, catalog, 1, 1, text, args);
  va_end(args);
  return event;
}

// Takes a key out of an object's configuration and tells the class, as a
// configuration that no longer has the key does.
inline void removeProp(Object *object, const char *key) {
  LmxStringToStringMapRem(object->properties, key);
  if (object->objClass->cfgChange != nullptr) object->objClass->cfgChange(object, key);
}

// Standard output redirected into a temporary file for one scope.
class StdoutCapture {
 public:
  StdoutCapture() {
    std::fflush(stdout);
    file_ = std::tmpfile();
    saved_ = dup(STDOUT_FILENO);
    dup2(fileno(file_), STDOUT_FILENO);
  }
  ~StdoutCapture() { text(); }
  // Everything written since the capture began; ends the capture.
  std::string text() {
    if (file_ == nullptr) return captured_;
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    std::rewind(file_);
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file_)) > 0) captured_.append(chunk, n);
    std::fclose(file_);
    file_ = nullptr;
    return captured_;
  }

 private:
  FILE *file_ = nullptr;
  int saved_ = -1;
  std::string captured_;
};

// Writes a properties file under the test's temporary directory; returns
// its path.
inline std::string writeProps(const char *name, const std::string &content) {
  std::string path = ::testing::TempDir() + name;
  FILE *file = std::fopen(path.c_str(), "w");
  std::fputs(content.c_str(), file);
  std::fclose(file);
  return path;
}

}  // namespace test

namespace test {

// A formatter class whose header and trailer are marked lines; records are
// formatted by the basic formatter's operation (the default).
inline char *framedHeader(Object *) { return BasStringDup("<head>\n"); }
inline char *framedTrailer(Object *) { return BasStringDup("<tail>\n"); }
inline void addFramedFormatterClass() {
  LmxAddFormatterClass("test_framed", nullptr, nullptr, nullptr, LmxBasicFormatterFCfgChange,
                       nullptr, framedHeader, framedTrailer, nullptr);
}

// A handler class that counts the events it is given.
inline int &processedCount() {
  static int count = 0;
  return count;
}
inline void countProcess(Object *, Event *) { ++processedCount(); }
inline void addCountingHandlerClass() {
  processedCount() = 0;
  LmxAddHandlerClass("test_counting", nullptr, nullptr, nullptr, nullptr, countProcess, nullptr,
                     nullptr);
}

}  // namespace test
