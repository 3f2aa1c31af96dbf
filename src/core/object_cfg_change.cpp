// The configuration keys that every object understands: the enabled flag,
// the listeners and the description of the object's class.
#include <cstring>

#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/collections.h"
#include "logging/log_path.h"
#include "lumex/logging.h"
#include "messages/i18msg.h"

namespace {

// Blanks, tabs, carriage returns, line feeds, form feeds, vertical tabs.
constexpr const char *kNameSeparators = " \t\r\n\f\v";

bool equalsIgnoringCase(const char *a, const char *b) { return strcasecmp(a, b) == 0; }

void applyLogging(Object *object, const char *) {
  char *value = lmxIntlGetObjProp(object, "logging", nullptr);
  if (value != nullptr) {
    if (equalsIgnoringCase(value, "on") || equalsIgnoringCase(value, "true")) {
      lmxIntlSetObjectEnabled(object, 1);
    } else if (equalsIgnoringCase(value, "off") || equalsIgnoringCase(value, "false")) {
      lmxIntlSetObjectEnabled(object, 0);
    }
  }
  BasMemoryFree(value);
}

// Replaces the object's listeners by the objects named in the value, in
// order. A name that yields no object, or that the listener add refuses
// (a loop), adds nothing.
void applyListenerNames(Object *object, const char *) {
  if (ListenerGroup **group = lmx::listenersOf(object)) {
    ListenerGroup *old = *group;
    *group = nullptr;
    lmxIntlFreeListenerGroup(old);
  }
  char *value = lmxIntlGetObjProp(object, "listenerNames", nullptr);
  if (value != nullptr) {
    for (LmxStrTokIter it = LmxStrTokIterator(value, kNameSeparators); LmxStrTokIterHasNext(it);
         it = LmxStrTokIterNext(it)) {
      char *name = LmxStrTokIterGet(it);
      if (Object *listener = lmxIntlGetObject(name, nullptr)) {
        lmxIntlAddListener(object, listener);  // refuses a listener closing a loop
        lmxIntlReleaseObject(listener);
      }
      BasMemoryFree(name);
    }
  }
  BasMemoryFree(value);
}

// One field of the class's description message. A class without one gets a
// new message (no catalog, set 0, key 0, no text) holding only this field.
void applyDescription(Object *object, const char *key) {
  I18Msg *&desc = object->objClass->description;
  if (desc == nullptr) {
    desc = lmxIntlAllocI18Msg(nullptr, 0, 0, nullptr);
    if (desc == nullptr) return;
  }
  if (std::strcmp(key, "descriptionSet") == 0) {
    LmxSetI18MsgSet(desc, lmxIntlGetObjPropInt(object, key, nullptr));
  } else if (std::strcmp(key, "descriptionKey") == 0) {
    LmxSetI18MsgKey(desc, lmxIntlGetObjPropInt(object, key, nullptr));
  } else {
    char *value = lmxIntlGetObjProp(object, key, nullptr);
    if (std::strcmp(key, "description") == 0) {
      LmxSetI18MsgTxt(desc, value);
    } else {
      LmxSetI18MsgCat(desc, value);
    }
    BasMemoryFree(value);
  }
}

struct KeyRule {
  const char *key;  // compared with case
  void (*apply)(Object *object, const char *key);
};

constexpr KeyRule kKeyRules[] = {
    {"description", applyDescription},     {"descriptionFile", applyDescription},
    {"descriptionSet", applyDescription},  {"descriptionKey", applyDescription},
    {"logging", applyLogging},             {"listenerNames", applyListenerNames},
};

}  // namespace

extern "C" void LmxBasicObjectFCfgChange(Object *object, const char *key) {
  if (object == nullptr || object->objClass == nullptr || key == nullptr) return;
  for (const KeyRule &rule : kKeyRules) {
    if (std::strcmp(rule.key, key) == 0) {
      rule.apply(object, key);
      return;
    }
  }
}
