// Dispatch of an event to an object's listeners, and the listener
// operations. Adding a listener refuses any that would close a loop, so
// the listeners always form a tree (or a graph without cycles) and an
// event reaches each of its handlers by a finite walk.
#include <cstdio>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/api_frame.h"
#include "core/object.h"
#include "logging/event.h"
#include "logging/log_path.h"
#include "logging/toolkit_report.h"
#include "messages/i18msg.h"

namespace {

// Key 0 carries free texts, as platform reports do.
constexpr const char *kLoopRefused =
    "The listener '%1$s' was not added to '%2$s' because it would close a loop of listeners.";

// Listeners seen at the start of one dispatch: the walk goes over this copy,
// so that a listener that changes the group while it runs (removing itself
// or another) cannot pull a node from under the walk.
class ListenerSnapshot {
 public:
  explicit ListenerSnapshot(const ListenerGroup *group) {
    for (LmxLink *n = lmxIntlListenerGroupIterator(group); n != nullptr; n = n->next) {
      if (count_ == capacity_ && !grow()) break;
      items_[count_++] = lmxIntlAcquireObject(static_cast<Object *>(n->item));
    }
  }
  ~ListenerSnapshot() {
    for (int i = 0; i < count_; ++i) lmxIntlReleaseObject(items_[i]);
    if (items_ != local_) BasMemoryFree(items_);
  }
  ListenerSnapshot(const ListenerSnapshot &) = delete;
  ListenerSnapshot &operator=(const ListenerSnapshot &) = delete;
  int size() const { return count_; }
  Object *operator[](int i) const { return items_[i]; }

 private:
  bool grow() {
    const int wanted = capacity_ * 2;
    auto *bigger = static_cast<Object **>(BasMemoryMalloc(sizeof(Object *) * wanted));
    if (bigger == nullptr) return false;
    for (int i = 0; i < count_; ++i) bigger[i] = items_[i];
    if (items_ != local_) BasMemoryFree(items_);
    items_ = bigger;
    capacity_ = wanted;
    return true;
  }
  Object *local_[8];
  Object **items_ = local_;
  int count_ = 0;
  int capacity_ = 8;
};

// The message about a toolkit logger without listeners, which cannot go
// through that logger: the standard error stream instead.
void printNoListeners(const Object *logger) {
  lmx::printTableMsgToStderr(lmx::MsgKey::NoListeners, logger->name);
}

// True when `target` is among the listeners of `from`, or among theirs.
bool reaches(Object *from, const Object *target) {
  const ListenerGroup *group = lmxFetchListenerGroup(from, 0);
  for (LmxLink *n = lmxIntlListenerGroupIterator(group); n != nullptr; n = n->next) {
    auto *listener = static_cast<Object *>(n->item);
    if (listener == target || reaches(listener, target)) return true;
  }
  return false;
}

}  // namespace

extern "C" {

void LmxBasicObjectFLog(Object *object, Event *event) {
  if (object == nullptr || !lmx::enabledOf(object) || object->objClass == nullptr) return;
  const ListenerGroup *group = lmxFetchListenerGroup(object, 0);
  if (lmxIntlListenerGroupIterator(group) == nullptr) {
    if (object->objClass->kind != LMX_KIND_LOGGER) return;
    if (object == lmxToolkitLogger()) {
      printNoListeners(object);
    } else {
      lmx::reportMsg(LMX_LEVEL_ERROR, lmx::MsgKey::NoListeners, LMX_PARM_STRING, object->name);
    }
    return;
  }
  ListenerSnapshot listeners(group);
  for (int i = 0; i < listeners.size(); ++i) {
    Object *listener = listeners[i];
    const ObjClass *cls = listener->objClass;
    if (cls == nullptr) continue;
    LmxProcessFn process = nullptr;
    if (cls->kind == LMX_KIND_FILTER) process = cls->ops.filter.process;
    if (cls->kind == LMX_KIND_HANDLER) process = cls->ops.handler.process;
    if (process != nullptr) process(listener, event);
  }
}

ListenerGroup *lmxFetchListenerGroup(Object *object, unsigned char create) {
  if (object == nullptr || object->objClass == nullptr) return nullptr;
  ListenerGroup **slot = lmx::listenersOf(object);
  if (slot == nullptr) return nullptr;
  if (*slot == nullptr && create) *slot = lmxIntlAllocListenerGroup();
  return *slot;
}

unsigned char lmxIntlAddListener(Object *object, Object *listener) {
  if (object == nullptr || listener == nullptr || object->objClass == nullptr) return 0;
  if (lmx::listenersOf(object) == nullptr) return 0;
  if (listener == object || reaches(listener, object)) {
    lmxIntlLogVA(LMX_LEVEL_WARN, static_cast<int32_t>(lmx::MsgKey::None), kLoopRefused,
                 LMX_PARM_STRING, listener->name, LMX_PARM_STRING, object->name, 0);
    return 0;
  }
  ListenerGroup *group = lmxFetchListenerGroup(object, 1);
  return group != nullptr && lmxIntlListenerGroupAdd(group, listener);
}

unsigned char lmxIntlRemListener(Object *object, Object *listener) {
  ListenerGroup *group = lmxFetchListenerGroup(object, 0);
  return group != nullptr && listener != nullptr && lmxIntlListenerGroupRem(group, listener);
}

void LmxAddListener(Object *object, Object *listener) {
  lmx::locked([&] { lmxIntlAddListener(object, listener); });
}
void LmxRemListener(Object *object, Object *listener) {
  lmx::locked([&] { lmxIntlRemListener(object, listener); });
}
LmxLink *LmxGetListeners(Object *object) {
  return lmx::locked(
      [&] { return lmxIntlListenerGroupIterator(lmxFetchListenerGroup(object, 0)); });
}

}  // extern "C"
