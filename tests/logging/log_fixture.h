// A toolkit opened with a properties file, with a recording handler class
// t_rec: every event it processes is kept as a Rec, then passed on to the
// handler's own listeners as the built-in handlers do. The toolkit's own
// reports reach the handler t.reports.
#pragma once

#include "../cx/temp_dir.h"
#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/api_frame.h"
#include "core/object.h"
#include "core/toolkit_state.h"
#include "logging/event.h"
#include "logging/log_path.h"
#include "lumex/lumex.h"
#include "messages/i18msg.h"

namespace test {

struct Rec {
  std::string handler;
  int32_t level;
  bool isMessage;
  int32_t key;
  std::string text;   // the bound message, without the table's trailing \r
  std::string props;  // "key=value" words in their order, "-" without any
};
inline std::vector<Rec> recs;

inline std::string take(char *text) {
  std::string s = text != nullptr ? text : "";
  BasMemoryFree(text);
  return s;
}

inline void join(std::string &out, const std::string &word) {
  out += (out.empty() ? "" : " ") + word;
}

inline void recordEvent(Object *handler, Event *ev) {
  if (!lmx::enabledOf(handler) || ev == nullptr) return;
  std::string text = take(lmxIntlBindI18Msg(ev->message)), props;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  for (LmxLink *e = ev->properties ? lmxIntlStringToStringMapIterator(ev->properties) : nullptr;
       e != nullptr; e = e->next) {
    join(props, take(lmxIntlStringToStringMapIterGetKey(e)) + "=" +
                    take(lmxIntlStringToStringMapIterGetVal(e)));
  }
  recs.push_back({handler->name, ev->level, ev->isMessage != 0, ev->message->key, text,
                  ev->properties == nullptr ? "-" : props});
  LmxBasicObjectFLog(handler, ev);
}

inline std::vector<Rec> of(const std::string &handler) {
  std::vector<Rec> out;
  std::copy_if(recs.begin(), recs.end(), std::back_inserter(out),
               [&](const Rec &r) { return r.handler == handler; });
  return out;
}

// The handler's records, one a line: key, level, m(essage) or t(race), text.
inline std::string shown(const std::string &handler) {
  std::string out;
  for (const Rec &r : of(handler)) {
    out += std::to_string(r.key) + " " + std::to_string(r.level) + (r.isMessage ? " m " : " t ") +
           r.text + "\n";
  }
  return out;
}

// The names of an object's listeners, blank-separated.
inline std::string listeners(Object *object) {
  std::string out;
  for (LmxLink *l = LmxGetListeners(object); l != nullptr; l = l->next) {
    join(out, static_cast<Object *>(l->item)->name);
  }
  return out;
}

class Toolkit : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    recs.clear();
  }
  void TearDown() override {
    close();
    TempDir::TearDown();
  }
  // Releases the test's objects and closes the toolkit, which must leave none alive.
  void close() {
    for (Object *o : held_) LmxReleaseObject(o);
    held_.clear();
    LmxCloseToolkit();
    EXPECT_EQ(lmx::toolkitState().instances, nullptr) << "objects left alive";
  }
  // Opens the toolkit with the properties; the toolkit's reports go to
  // t.reports only (the default console is taken off the error logger).
  void open(const std::string &properties) {
    LmxAddHandlerClass("t_rec", nullptr, nullptr, nullptr, LmxBasicObjectFCfgChange, recordEvent,
                       nullptr, nullptr);
    const std::string path = at("t.properties");
    writeFile(path, "lumex.errorLogger.listenerNames=t.reports\nt.reports.className=t_rec\n" +
                        properties);
    ASSERT_TRUE(LmxOpenToolkit(path.c_str()));
    LmxRemListener(lmxToolkitLogger(), get("lumex.defaultConsole"));
    ASSERT_EQ(listeners(lmxToolkitLogger()), "t.reports");
  }
  // The object of the name, released at the end of the test.
  Object *get(const char *name) {
    Object *o = LmxGetObject(name, nullptr);
    if (o != nullptr) held_.push_back(o);
    return o;
  }
  std::vector<Object *> held_;
};

}  // namespace test
