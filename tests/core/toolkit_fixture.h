// An open toolkit configured by a properties file, with test classes that
// record what happens to their objects: t_logger (a logger), t_handler (a
// handler that records each event's message key) and t_filter.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "collections/collections_intl.h"
#include "core/object.h"
#include "core/toolkit_state.h"
#include "logging/event.h"
#include "lumex/lumex.h"

namespace test {

struct Seen {
  int made = 0;                    // private variables allocated
  int freed = 0;                   // ... and freed
  std::vector<std::string> keys;   // "object:key" for each CfgChange
  std::vector<int32_t> events;     // message keys the handlers processed
  std::vector<std::string> texts;  // and their texts
};
inline Seen seen;

inline void *allocVars() {
  ++seen.made;
  return BasMemoryMalloc(8);
}
inline void freeVars(void *vars) {
  ++seen.freed;
  BasMemoryFree(vars);
}
inline void cfgChange(Object *object, const char *key) {
  seen.keys.push_back(std::string(object->name) + ":" + key);
  LmxBasicObjectFCfgChange(object, key);
}
inline void recordEvent(Object *, Event *event) {
  seen.events.push_back(event->message != nullptr ? event->message->key : -1);
  char *text = LmxBindEventMsg(event, lmxIntlBindI18Msg);
  seen.texts.emplace_back(text != nullptr ? text : "");
  BasMemoryFree(text);
}

inline void addTestClasses() {
  LmxAddLoggerClass("t_logger", nullptr, allocVars, freeVars, cfgChange, nullptr);
  LmxAddHandlerClass("t_handler", nullptr, allocVars, freeVars, cfgChange, recordEvent, nullptr,
                     nullptr);
  LmxAddFilterClass("t_filter", nullptr, nullptr, nullptr, cfgChange, nullptr, nullptr, nullptr);
}

class Toolkit : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lmxcore.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    seen = Seen{};
  }
  void TearDown() override {
    LmxCloseToolkit();
    EXPECT_EQ(lmx::toolkitState().instances, nullptr);
    EXPECT_EQ(lmx::toolkitState().classes, nullptr);
    EXPECT_EQ(seen.made, seen.freed) << "private variables left alive";
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  std::string write(const std::string &name, const std::string &text) {
    std::string path = dir_ + "/" + name;
    FILE *f = std::fopen(path.c_str(), "w");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    return path;
  }
  // Registers the test classes and opens the toolkit with the file.
  bool open(const std::string &properties) {
    addTestClasses();
    return LmxOpenToolkit(write("t.properties", properties).c_str());
  }
  std::string dir_;
};

// The names of an object's listeners, in order.
inline std::vector<std::string> listenerNames(Object *object) {
  std::vector<std::string> out;
  ListenerGroup **group = lmx::listenersOf(object);
  if (group == nullptr) return out;
  for (LmxLink *l = lmxIntlListenerGroupIterator(*group); l != nullptr;
       l = lmxIntlListenerGroupIterNext(l)) {
    Object *listener = lmxIntlListenerGroupIterGet(l);
    out.emplace_back(listener->name);
    lmxIntlReleaseObject(listener);
  }
  return out;
}

}  // namespace test
