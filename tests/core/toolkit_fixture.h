// A toolkit opened with a properties file, and test classes that record
// what happens to their objects: t_logger, t_filter and t_handler (which
// records the message key of every event it gets).
#pragma once

#include <string>
#include <vector>

#include "../cx/temp_dir.h"
#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/object.h"
#include "core/toolkit_state.h"
#include "logging/event.h"
#include "lumex/lumex.h"

namespace test {

struct Seen {
  int made = 0, freed = 0;        // private variables
  std::vector<std::string> keys;  // "object:key" of each CfgChange
  std::vector<int32_t> events;    // message keys the handlers processed
  int32_t lastLevel = 0;          // and the level of the last one
};
inline Seen seen;

inline void *allocVars() { return ++seen.made, BasMemoryMalloc(8); }
inline void freeVars(void *vars) { ++seen.freed, BasMemoryFree(vars); }
inline void cfgChange(Object *object, const char *key) {
  seen.keys.push_back(std::string(object->name) + ":" + key);
  LmxBasicObjectFCfgChange(object, key);
}
inline void record(Object *, Event *event) {
  seen.events.push_back(event->message->key);
  seen.lastLevel = event->level;
}

inline void addTestClasses() {
  LmxAddLoggerClass("t_logger", nullptr, allocVars, freeVars, cfgChange, nullptr);
  LmxAddFilterClass("t_filter", nullptr, nullptr, nullptr, cfgChange, nullptr, nullptr, nullptr);
  LmxAddHandlerClass("t_handler", nullptr, allocVars, freeVars, cfgChange, record, nullptr,
                     nullptr);
}

// The names of an object's listeners, in order.
inline std::vector<std::string> listenerNames(Object *object) {
  std::vector<std::string> out;
  for (LmxLink *l = lmxIntlListenerGroupIterator(*lmx::listenersOf(object)); l != nullptr;
       l = lmxIntlListenerGroupIterNext(l)) {
    out.emplace_back(static_cast<Object *>(l->item)->name);
  }
  return out;
}

class Toolkit : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    seen = Seen{};
  }
  void TearDown() override {
    LmxCloseToolkit();
    EXPECT_EQ(lmx::toolkitState().instances, nullptr);
    EXPECT_EQ(seen.made, seen.freed) << "private variables left alive";
    TempDir::TearDown();
  }
  std::string write(const std::string &name, const std::string &text) {
    writeFile(at(name), text);
    return at(name);
  }
  // Registers the test classes and opens the toolkit with the file; the
  // toolkit's own reports reach the handler `rec`.
  bool open(const std::string &properties) {
    addTestClasses();
    std::string recorder = "lumex.errorLogger.listenerNames=rec\nrec.className=t_handler\n";
    return LmxOpenToolkit(write("t.properties", recorder + properties).c_str());
  }
};

}  // namespace test
