// Opening and closing the toolkit, and the tearing down of the instances
// map at close.
#include <cstdio>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "config/log_mgr.h"
#include "core/api_frame.h"
#include "core/class_registry.h"
#include "core/object.h"
#include "core/toolkit_state.h"
#include "logging/log_path.h"
#include "lumex/output.h"
#include "messages/i18msg.h"
#include "messages/msg_table.h"

namespace {

constexpr const char *kErrorLogger = "lumex.errorLogger";
constexpr const char *kDefaultConsole = "lumex.defaultConsole";
constexpr const char *kDefaultFormatter = "lumex.defaultFormatter";

// Message 51 with the file name, in the local code set, on standard error.
void printUnreadable(const char *path) {
  lmx::printTableMsgToStderr(lmx::MsgKey::PropertiesUnreadable, path);
}

// The object of the name if it exists, else made of the class.
Object *existingOr(const char *name, const char *className) {
  if (Object *found = lmxToolkitGetObjInstance(name)) return found;
  return lmxIntlGetObject(name, className);
}

// The toolkit logger, with its console and the console's formatter when
// the logger is new. The logger's reference is kept as the toolkit logger;
// the console lives on in the logger's listeners and the formatter in the
// console.
Object *makeErrorLogger() {
  if (Object *existing = lmxToolkitGetObjInstance(kErrorLogger)) return existing;
  Object *logger = lmxIntlGetObject(kErrorLogger, "lmx_basiclogger");
  Object *console = lmxToolkitGetObjInstance(kDefaultConsole);
  if (console == nullptr) {
    console = lmxIntlGetObject(kDefaultConsole, "lmx_consolehandler");
    Object *formatter = existingOr(kDefaultFormatter, "lmx_basicformatter");
    lmxIntlHandlerSetFormatter(console, formatter);
    lmxIntlReleaseObject(formatter);
  }
  if (logger != nullptr && console != nullptr) {
    lmxIntlAddListener(logger, console);
  }
  lmxIntlReleaseObject(console);
  return logger;
}

}  // namespace

extern "C" {

unsigned char LmxOpenToolkit(const char *path) {
  if (!lmxAPIMutexLock()) return 0;  // creation or locking failure reported
  lmx::ToolkitState &st = lmx::toolkitState();
  if (st.opened) {
    lmxAPIMutexUnlock();
    return 1;
  }
  lmxI18InitIlx();
  lmxInitLogMgr();
  lmxToolkitInitObjClasses();
  if (path != nullptr && !lmxDoReadProps(path, nullptr)) {
    printUnreadable(path);
    lmxAPIMutexUnlock();
    LmxCloseToolkit();
    return 0;
  }
  st.logger = makeErrorLogger();
  st.opened = 1;
  lmxAPIMutexUnlock();
  return 1;
}

void LmxCloseToolkit(void) {
  if (!lmxAPIMutexLock()) return;
  lmx::ToolkitState &st = lmx::toolkitState();
  // Reports made while everything is taken down are dropped: the toolkit
  // logger is about to go with the instances map, which consumes the
  // reference kept for it.
  st.opened = 0;
  st.logger = nullptr;
  lmxCloseLogMgr();
  lmxFreeInstancesMap();
  lmx::freeClassRegistry();
  lmxI18UninitIlx();
  lmxAPIMutexUnlock();
  lmx::destroyApiMutex();
}

void lmxFreeInstancesMap(void) {
  lmx::ToolkitState &st = lmx::toolkitState();
  LmxLink *entry = lmxIntlStringToObjMapIterator(st.instances);
  while (entry != nullptr) {
    Object *object = lmxIntlStringToObjMapIterGetVal(entry);
    bool restart = false;
    ObjClass *cls = object != nullptr ? object->objClass : nullptr;
    if (cls != nullptr && object->vars != nullptr && cls->freeVars != nullptr) {
      void *vars = object->vars;
      object->vars = nullptr;
      cls->freeVars(vars);
      restart = true;
    }
    if (cls != nullptr && cls->kind == LMX_KIND_HANDLER && object->b.formatter != nullptr) {
      Object *formatter = object->b.formatter;
      object->b.formatter = nullptr;
      // Giving it back may destroy it and take its entry out of the map.
      lmxIntlReleaseObject(formatter);
      restart = true;
    }
    // Giving back the walk's reference destroys an object that only the
    // map holds, and with it perhaps the entries that follow.
    if (cls != nullptr && object->references <= 2) restart = true;
    if (restart) {
      lmxIntlReleaseObject(object);
      entry = lmxIntlStringToObjMapIterator(st.instances);
    } else {
      entry = lmxIntlStringToObjMapIterNext(entry);
      lmxIntlReleaseObject(object);
    }
  }
  // The map gives back its reference to each object as it empties; an
  // object destroyed meanwhile takes its own entry out, so the map stays
  // reachable until it is empty.
  lmxIntlFreeStringToObjMap(st.instances);
  st.instances = nullptr;
}

}  // extern "C"
