// The class record: kind, name, description and operation slots.
#pragma once

#include <cstdint>

#include "collections/value_rules.h"
#include "lumex/core.h"

struct ObjClass {
  int32_t kind;  // LMX_KIND_...
  char *name;
  struct I18Msg *description;  // owned, may be null
  // The kind's own operations (slot 1 to slot 4).
  union {
    struct {
      LmxLogFn log;
    } logger;
    struct {
      LmxProcessFn process;
      LmxIsLoggableFn isLoggable;
      LmxLogFn log;
    } filter;
    struct {
      LmxProcessFn process;
      LmxOpenFn open;
      LmxCloseFn close;
    } handler;
    struct {
      LmxFormatFn format;
      LmxGetHeaderFn getHeader;
      LmxGetTrailerFn getTrailer;
      LmxBindMsgFn bindMsg;
    } formatter;
  } ops;
  LmxAllocVarsFn allocVars;  // null: no private variables
  LmxFreeVarsFn freeVars;
  LmxCfgChangeFn cfgChange;
};

extern "C" {
// The class itself: the class map stores classes as they are.
LMX_API ObjClass *lmxReturnObjClass(ObjClass *cls);
// Does nothing: classes are freed by the registry, not by the class map.
LMX_API void lmxIgnoreObjClass(ObjClass *cls);
}

namespace lmx {

// The class map stores classes as they are, not counted.
using ClassRule = HandleRule<ObjClass, lmxReturnObjClass, lmxIgnoreObjClass>;

}  // namespace lmx
