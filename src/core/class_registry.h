// The class registry: the class map and the class names of each kind.
#pragma once

#include <cstdint>

#include "core/obj_class.h"
#include "lumex/collections.h"

extern "C" {
// Unlocked twins of the public registrations.
LMX_API void lmxIntlAddLoggerClass(const char *name, const I18Msg *description,
                                   LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                   LmxCfgChangeFn cfgChange, LmxLogFn log);
LMX_API void lmxIntlAddFilterClass(const char *name, const I18Msg *description,
                                   LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                   LmxCfgChangeFn cfgChange, LmxProcessFn process,
                                   LmxIsLoggableFn isLoggable, LmxLogFn log);
LMX_API void lmxIntlAddHandlerClass(const char *name, const I18Msg *description,
                                    LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                    LmxCfgChangeFn cfgChange, LmxProcessFn process,
                                    LmxOpenFn open, LmxCloseFn close);
LMX_API void lmxIntlAddFormatterClass(const char *name, const I18Msg *description,
                                      LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                      LmxCfgChangeFn cfgChange, LmxFormatFn format,
                                      LmxGetHeaderFn getHeader, LmxGetTrailerFn getTrailer,
                                      LmxBindMsgFn bindMsg);
// The first entry of a kind's name group; null for other kinds or none.
LMX_API LmxLink *lmxToolkitFetchClassnames(int32_t kind);
// The registered class of that name, or null.
LMX_API ObjClass *lmxToolkitGetClassDef(const char *name);
// Enters a built class (registering the built-in classes first).
LMX_API void lmxToolkitAddClassDef(const char *name, ObjClass *cls);
// A new unregistered class with those fields and empty kind slots, or null.
LMX_API ObjClass *lmxInitObjectClass(const char *name, int32_t kind, const I18Msg *description,
                                     LmxAllocVarsFn allocVars, LmxFreeVarsFn freeVars,
                                     LmxCfgChangeFn cfgChange);
// Frees name, description and record; null ignored.
LMX_API void lmxFreeObjClass(ObjClass *cls);
// Registers the built-in classes while the class map does not exist.
LMX_API void lmxToolkitInitObjClasses(void);
}

namespace lmx {

// Puts each kind's default into the slots left null.
void fillDefaultSlots(ObjClass *cls);
// Frees every class, the class map and the name groups (toolkit close).
void freeClassRegistry();

}  // namespace lmx
