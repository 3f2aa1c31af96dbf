// Class registration, lookup and the name groups of each kind.
#include "core/class_registry.h"

#include "collections/collections_intl.h"
#include "core/api_frame.h"
#include "core/toolkit_state.h"
#include "logging/toolkit_report.h"
#include "messages/i18msg.h"

namespace {

StringGroup *namesOf(int32_t kind) {
  if (kind < LMX_KIND_LOGGER || kind > LMX_KIND_FORMATTER) return nullptr;
  return lmx::toolkitState().classNames[kind - LMX_KIND_LOGGER];
}

// Steps 1 to 3 of an add; null when the name is unusable or taken.
ObjClass *startClass(const char *name, int32_t kind, const I18Msg *desc, LmxAllocVarsFn a,
                     LmxFreeVarsFn f, LmxCfgChangeFn c) {
  if (name == nullptr || lmxToolkitGetClassDef(name) != nullptr) return nullptr;
  return lmxInitObjectClass(name, kind, desc, a, f, c);
}

void finishClass(ObjClass *cls) {
  if (cls == nullptr) return;
  lmx::fillDefaultSlots(cls);
  lmxToolkitAddClassDef(cls->name, cls);
}

}  // namespace

namespace lmx {

void freeClassRegistry() {
  ToolkitState &st = toolkitState();
  for (LmxLink *e = lmxIntlStringToObjClassMapIterator(st.classes); e != nullptr;
       e = lmxIntlStringToObjClassMapIterNext(e)) {
    lmxFreeObjClass(lmxIntlStringToObjClassMapIterGetVal(e));
  }
  lmxIntlFreeStringToObjClassMap(st.classes);
  st.classes = nullptr;
  for (StringGroup *&group : st.classNames) {
    lmxIntlFreeStringGroup(group);
    group = nullptr;
  }
}

}  // namespace lmx

extern "C" {

ObjClass *lmxInitObjectClass(const char *name, int32_t kind, const I18Msg *description,
                             LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                             LmxCfgChangeFn cfgChange) {
  auto *cls = static_cast<ObjClass *>(BasMemoryMalloc(sizeof(ObjClass)));
  char *copy = name != nullptr ? BasStringDup(name) : nullptr;
  if (cls == nullptr || (name != nullptr && copy == nullptr)) {
    BasMemoryFree(cls);
    BasMemoryFree(copy);
    lmx::reportMsg(LMX_LEVEL_ERROR, lmx::MsgKey::OutOfMemory);
    return nullptr;
  }
  *cls = ObjClass{};
  cls->kind = kind;
  cls->name = copy;
  cls->description = description != nullptr ? lmxIntlCopyI18Msg(description) : nullptr;
  cls->allocVars = allocVars;
  cls->freeVars = freeVars;
  cls->cfgChange = cfgChange;
  return cls;
}

void lmxFreeObjClass(ObjClass *cls) {
  if (cls == nullptr) return;
  BasMemoryFree(cls->name);
  lmxIntlFreeI18Msg(cls->description);
  BasMemoryFree(cls);
}

ObjClass *lmxToolkitGetClassDef(const char *name) {
  return lmxIntlStringToObjClassMapGet(lmx::toolkitState().classes, name);
}

void lmxToolkitAddClassDef(const char *name, ObjClass *cls) {
  lmxToolkitInitObjClasses();
  lmx::ToolkitState &st = lmx::toolkitState();
  if (st.classes == nullptr || name == nullptr || cls == nullptr) {
    lmxFreeObjClass(cls);
    return;
  }
  lmxIntlStringToObjClassMapPut(st.classes, name, cls);
  lmxIntlStringGroupAdd(namesOf(cls->kind), name);
}

LmxLink *lmxToolkitFetchClassnames(int32_t kind) {
  return lmxIntlStringGroupIterator(namesOf(kind));
}

void lmxIntlAddLoggerClass(const char *name, const I18Msg *d, LmxAllocVarsFn a, LmxFreeVarsFn f,
                           LmxCfgChangeFn c, LmxLogFn log) {
  ObjClass *cls = startClass(name, LMX_KIND_LOGGER, d, a, f, c);
  if (cls != nullptr) cls->ops.logger.log = log;
  finishClass(cls);
}

void lmxIntlAddFilterClass(const char *name, const I18Msg *d, LmxAllocVarsFn a, LmxFreeVarsFn f,
                           LmxCfgChangeFn c, LmxProcessFn process, LmxIsLoggableFn isLoggable,
                           LmxLogFn log) {
  ObjClass *cls = startClass(name, LMX_KIND_FILTER, d, a, f, c);
  if (cls != nullptr) cls->ops.filter = {process, isLoggable, log};
  finishClass(cls);
}

void lmxIntlAddHandlerClass(const char *name, const I18Msg *d, LmxAllocVarsFn a,
                            LmxFreeVarsFn f, LmxCfgChangeFn c, LmxProcessFn process,
                            LmxOpenFn open, LmxCloseFn close) {
  ObjClass *cls = startClass(name, LMX_KIND_HANDLER, d, a, f, c);
  if (cls != nullptr) cls->ops.handler = {process, open, close};
  finishClass(cls);
}

void lmxIntlAddFormatterClass(const char *name, const I18Msg *d, LmxAllocVarsFn a,
                              LmxFreeVarsFn f, LmxCfgChangeFn c, LmxFormatFn format,
                              LmxGetHeaderFn getHeader, LmxGetTrailerFn getTrailer,
                              LmxBindMsgFn bindMsg) {
  ObjClass *cls = startClass(name, LMX_KIND_FORMATTER, d, a, f, c);
  if (cls != nullptr) cls->ops.formatter = {format, getHeader, getTrailer, bindMsg};
  finishClass(cls);
}

void LmxAddLoggerClass(const char *name, const I18Msg *d, LmxAllocVarsFn a, LmxFreeVarsFn f,
                       LmxCfgChangeFn c, LmxLogFn log) {
  lmx::locked([&] { lmxIntlAddLoggerClass(name, d, a, f, c, log); });
}
void LmxAddFilterClass(const char *name, const I18Msg *d, LmxAllocVarsFn a, LmxFreeVarsFn f,
                       LmxCfgChangeFn c, LmxProcessFn p, LmxIsLoggableFn il, LmxLogFn log) {
  lmx::locked([&] { lmxIntlAddFilterClass(name, d, a, f, c, p, il, log); });
}
void LmxAddHandlerClass(const char *name, const I18Msg *d, LmxAllocVarsFn a, LmxFreeVarsFn f,
                        LmxCfgChangeFn c, LmxProcessFn p, LmxOpenFn o, LmxCloseFn cl) {
  lmx::locked([&] { lmxIntlAddHandlerClass(name, d, a, f, c, p, o, cl); });
}
void LmxAddFormatterClass(const char *name, const I18Msg *d, LmxAllocVarsFn a, LmxFreeVarsFn f,
                          LmxCfgChangeFn c, LmxFormatFn fm, LmxGetHeaderFn h, LmxGetTrailerFn t,
                          LmxBindMsgFn b) {
  lmx::locked([&] { lmxIntlAddFormatterClass(name, d, a, f, c, fm, h, t, b); });
}

LmxLink *LmxGetLoggerClasses(void) { return lmx::locked([&] { return lmxToolkitFetchClassnames(LMX_KIND_LOGGER); }); }
LmxLink *LmxGetFilterClasses(void) { return lmx::locked([&] { return lmxToolkitFetchClassnames(LMX_KIND_FILTER); }); }
LmxLink *LmxGetHandlerClasses(void) { return lmx::locked([&] { return lmxToolkitFetchClassnames(LMX_KIND_HANDLER); }); }
LmxLink *LmxGetFormatterClasses(void) { return lmx::locked([&] { return lmxToolkitFetchClassnames(LMX_KIND_FORMATTER); }); }

}  // extern "C"
