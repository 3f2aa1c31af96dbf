// Events: parameter lists, accessors and properties.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../common/texts.h"
#include "logging/event.h"
#include "lumex/logging.h"
#include "messages/msg_table.h"

// Keys and default texts of the toolkit's reports made during a test.
static std::vector<std::pair<int32_t, std::string>> reports;

// Every report of the library arrives here instead of at the logging path.
extern "C" void __wrap_lmxIntlLogVA(int32_t level, int32_t key, const char *text, ...) {
  EXPECT_EQ(level, LMX_LEVEL_ERROR);
  reports.emplace_back(key, text != nullptr ? text : "");
}

namespace {

using test::take;

Event *makeEvent(int32_t level, const char *catalog, const char *text, ...) {
  va_list args;
  va_start(args, text);
  Event *ev = LmxVaAllocEvent(level, catalog, 1, 20, text, args);
  va_end(args);
  return ev;
}

// The message parameters as "type:value" words.
std::string parmsOf(const Event *ev) {
  std::string out;
  if (ev->message == nullptr || ev->message->parameters == nullptr) return out;
  const Parm *p;
  for (int32_t i = 0; (p = LmxParmListGetIndex(ev->message->parameters, i)) != nullptr; ++i) {
    char buf[64];
    switch (p->type) {
      case LMX_PARM_BOOL: std::snprintf(buf, sizeof buf, "b:%d", p->value.b); break;
      case LMX_PARM_INT: std::snprintf(buf, sizeof buf, "i:%d", p->value.i); break;
      case LMX_PARM_LONG: std::snprintf(buf, sizeof buf, "l:%d", p->value.l); break;
      case LMX_PARM_FLOAT: std::snprintf(buf, sizeof buf, "f:%.9g", p->value.f); break;
      case LMX_PARM_DOUBLE: std::snprintf(buf, sizeof buf, "d:%.9g", p->value.d); break;
      case LMX_PARM_CHAR: std::snprintf(buf, sizeof buf, "c:%c", p->value.c); break;
      default: std::snprintf(buf, sizeof buf, "s:%s", p->value.s ? p->value.s : "(null)");
    }
    out += (out.empty() ? "" : " ") + std::string(buf);
  }
  return out;
}

// The properties as "key=value" words in their order; "-" without a map.
std::string propsOf(const Event *ev) {
  return ev->properties != nullptr ? test::entries(ev->properties) : "-";
}

TEST(EventList, ItemsBecomeParametersPropertiesOrLevels) {
  const struct { const char *what; std::function<Event *()> make; std::string parms, props;
                 int32_t level; std::vector<int32_t> reported; } rows[] = {
      {"every type, in order",
       [] { return makeEvent(LMX_LEVEL_WARN, nullptr, "t", LMX_PARM_BOOL, 1, LMX_PARM_INT, -5,
                             LMX_PARM_LONG, 7, LMX_PARM_FLOAT, 0.1f, LMX_PARM_DOUBLE, 2.5,
                             LMX_PARM_CHAR, 'x', LMX_PARM_STRING, "t", LMX_PARM_BOOL, 0, 0); },
       "b:1 i:-5 l:7 f:0.100000001 d:2.5 c:x s:t b:0", "-", LMX_LEVEL_WARN, {}},
      {"any non-zero bool word is true",
       [] { return makeEvent(LMX_LEVEL_INFO, nullptr, "t", LMX_PARM_BOOL, 256, LMX_NAMED_PROP, "b",
                             LMX_PARM_BOOL, 2, 0); },
       "b:1", "b=true", LMX_LEVEL_INFO, {}},
      {"named values of every type",
       [] { return makeEvent(LMX_LEVEL_INFO, nullptr, "t", LMX_NAMED_PROP, "l", LMX_PARM_LONG, -3,
                             LMX_NAMED_PROP, "f", LMX_PARM_FLOAT, 0.5f, LMX_NAMED_PROP, "d",
                             LMX_PARM_DOUBLE, 2.5, LMX_NAMED_PROP, "c", LMX_PARM_CHAR, 'q',
                             LMX_NAMED_PROP, "s", LMX_PARM_STRING, "v", LMX_NAMED_PROP, "l",
                             LMX_PARM_INT, 9, 0); },
       "", "l=9 f=0.500000 d=2.500000 c=q s=v", LMX_LEVEL_INFO, {}},
      {"no-level tag", [] { return makeEvent(LMX_LEVEL_INFO, nullptr, "t", LMX_LEVEL_NONE, 0); },
       "", "-", LMX_LEVEL_NONE, {}},
      {"bad tag keeps what came before",
       [] { return makeEvent(LMX_LEVEL_INFO, nullptr, "t", LMX_PARM_STRING, "a", 4500,
                             LMX_PARM_INT, 2, 0); },
       "s:a", "-", LMX_LEVEL_INFO, {71}},
      {"bad tag after a name",
       [] { return makeEvent(LMX_LEVEL_INFO, nullptr, "t", LMX_NAMED_PROP, "n", LMX_NAMED_PROP,
                             "m", LMX_PARM_INT, 2, 0); },
       "", "", LMX_LEVEL_INFO, {71}},
  };
  for (const auto &r : rows) {
    reports.clear();
    Event *ev = r.make();
    ASSERT_NE(ev, nullptr) << r.what;
    EXPECT_EQ(parmsOf(ev), r.parms) << r.what;
    EXPECT_EQ(propsOf(ev), r.props) << r.what;
    EXPECT_EQ(LmxGetEventLevel(ev), r.level) << r.what;
    std::vector<int32_t> keys;
    for (const auto &rep : reports) {
      keys.push_back(rep.first);
      EXPECT_EQ(rep.second, lmx::msgText(rep.first)) << r.what;
    }
    EXPECT_EQ(keys, r.reported) << r.what;
    LmxFreeEvent(ev);
  }
}

TEST(EventRecord, FieldsBindingIdentifierTypedPropertiesAndNullEvent) {
  const int64_t before = CxSystemGetTimestamp();
  Event *msg = makeEvent(LMX_LEVEL_INFO, "nosuchcatalog", "%2$s=%1$d", LMX_PARM_INT, 5,
                         LMX_PARM_STRING, "x", 0);
  Event *text = makeEvent(LMX_LEVEL_DEBUG_MIN, nullptr, "plain", 0);
  EXPECT_GE(LmxGetEventTime(msg), before);
  EXPECT_LE(LmxGetEventTime(msg), CxSystemGetTimestamp());
  EXPECT_EQ(LmxGetEventIsMessage(msg), 1);
  EXPECT_EQ(LmxGetEventIsMessage(text), 0);
  EXPECT_EQ(msg->message->key, 20);
  EXPECT_EQ(take(LmxBindEventMsg(msg, lmxIntlBindI18Msg)), "x=5");
  EXPECT_EQ(take(LmxBindEventMsg(text, lmxIntlBindI18Msg)), "plain");
  EXPECT_EQ(LmxBindEventMsg(msg, nullptr), nullptr);
  LmxSetEventMessageId(msg, "ID1");
  LmxSetEventMessageId(msg, "ID2");
  EXPECT_EQ(take(LmxGetEventMessageId(msg)), "ID2");
  LmxSetEventMessageId(msg, nullptr);
  EXPECT_EQ(LmxGetEventMessageId(msg), nullptr);
  LmxFreeEvent(msg);
  // Typed properties, thin wrappers over the map converters: each must reach its own.
  EXPECT_EQ(LmxSetEventProp(text, "s", "second"), 1);
  LmxSetEventPropBool(text, "b", 1);
  LmxSetEventPropInt(text, "i", -42);
  LmxSetEventPropLong(text, "l", -2147483647 - 1);
  LmxSetEventPropFloat(text, "f", 1.5f);
  LmxSetEventPropDouble(text, "d", -0.25);
  EXPECT_EQ(propsOf(text), "s=second b=true i=-42 l=-2147483648 f=1.500000 d=-0.250000");
  unsigned char found = 0;
  EXPECT_EQ(LmxGetEventPropBool(text, "b", &found), 1);
  EXPECT_EQ(LmxGetEventPropInt(text, "i", &found), -42);
  EXPECT_EQ(LmxGetEventPropLong(text, "l", &found), INT64_C(-2147483648));
  EXPECT_EQ(LmxGetEventPropFloat(text, "f", &found), 1.5f);
  EXPECT_EQ(LmxGetEventPropDouble(text, "d", &found), -0.25);
  EXPECT_EQ(found, 1);
  LmxFreeEvent(text);

  EXPECT_EQ(LmxGetEventTime(nullptr), 0);
  EXPECT_EQ(LmxGetEventLevel(nullptr), LMX_LEVEL_NONE);
  EXPECT_EQ(LmxSetEventIsMessage(nullptr, 1), nullptr);
  EXPECT_EQ(LmxSetEventProp(nullptr, "k", "v"), 0);
  EXPECT_EQ(LmxGetEventPropInt(nullptr, "k", &found), 0);
  EXPECT_EQ(found, 0);
}

}  // namespace
