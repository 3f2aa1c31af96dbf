// The eight built-in classes and the slot defaults of each kind: the only
// core file that names the logger, filter, handler and formatter operations.
// A cell that reads `nullptr /* Name */` names an operation not yet built.
#include <cstdio>

#include "core/class_registry.h"

#include "collections/collections_intl.h"
#include "core/toolkit_state.h"
#include "messages/i18msg.h"
#include "messages/msg_table.h"
#include "lumex/logging.h"
#include "lumex/output.h"

namespace {

// One row a kind: the operation a null slot gets at registration.
struct SlotDefaults {
  int32_t kind;
  void (*fill)(ObjClass *cls);
};

template <typename F>
void orDefault(F &slot, F fallback) {
  if (slot == nullptr) slot = fallback;
}

constexpr SlotDefaults kSlotDefaults[] = {
    {LMX_KIND_LOGGER,
     [](ObjClass *c) { orDefault<LmxLogFn>(c->ops.logger.log, LmxBasicObjectFLog); }},
    {LMX_KIND_FILTER,
     [](ObjClass *c) {
       orDefault<LmxProcessFn>(c->ops.filter.process, LmxBasicFilterFProcess);
       orDefault<LmxIsLoggableFn>(c->ops.filter.isLoggable, LmxLevelFilterFIsLoggable);
       orDefault<LmxLogFn>(c->ops.filter.log, LmxBasicObjectFLog);
     }},
    {LMX_KIND_HANDLER,
     [](ObjClass *c) {
       orDefault<LmxProcessFn>(c->ops.handler.process, LmxBasicHandlerFProcess);
       orDefault<LmxOpenFn>(c->ops.handler.open, LmxBasicHandlerFOpen);
       orDefault<LmxCloseFn>(c->ops.handler.close, LmxBasicHandlerFClose);
     }},
    {LMX_KIND_FORMATTER,
     [](ObjClass *c) {
       orDefault<LmxFormatFn>(c->ops.formatter.format, LmxBasicFormatterFFormat);
       orDefault<LmxGetHeaderFn>(c->ops.formatter.getHeader, LmxBasicFormatterFGetHeader);
       orDefault<LmxGetTrailerFn>(c->ops.formatter.getTrailer, LmxBasicFormatterFGetTrailer);
       orDefault<LmxBindMsgFn>(c->ops.formatter.bindMsg, lmxIntlBindI18Msg);
     }},
};

// One row a built-in class, registered in this order. `slots` are the
// kind's slots 1 to 4 as in ObjClass::ops (unused ones null).
struct BuiltinClass {
  const char *name;
  int32_t kind;
  bool described;  // false: the class has no description
  lmx::MsgKey description;
  LmxAllocVarsFn allocVars;
  LmxFreeVarsFn freeVars;
  LmxCfgChangeFn cfgChange;
  void *slots[4];
};

using lmx::MsgKey;

// clang-format off
const BuiltinClass kBuiltinClasses[] = {
  // name, kind, described, description key,
  //   AllocVars, FreeVars, CfgChange, {slot 1, slot 2, slot 3, slot 4}
  {"lmx_basiclogger", LMX_KIND_LOGGER, true, MsgKey::DescBasicLogger,
     nullptr, nullptr, LmxBasicLoggerFCfgChange,
     {reinterpret_cast<void *>(LmxBasicObjectFLog)}},
  {"lmx_pdlogger", LMX_KIND_LOGGER, true, MsgKey::DescPDLogger,
     LmxPDLoggerFAllocVars, LmxPDLoggerFFreeVars, LmxPDLoggerFCfgChange,
     {reinterpret_cast<void *>(LmxPDLoggerFLog)}},
  {"lmx_levelfilter", LMX_KIND_FILTER, true, MsgKey::DescLevelFilter,
     nullptr, nullptr, LmxLevelFilterFCfgChange,
     {reinterpret_cast<void *>(LmxBasicFilterFProcess),
      reinterpret_cast<void *>(LmxLevelFilterFIsLoggable),
      reinterpret_cast<void *>(LmxBasicObjectFLog)}},
  {"lmx_consolehandler", LMX_KIND_HANDLER, true, MsgKey::DescConsoleHandler,
     LmxConsoleHandlerFAllocVars, LmxConsoleHandlerFFreeVars, LmxBasicHandlerFCfgChange,
     {reinterpret_cast<void *>(LmxConsoleHandlerFProcess),
      reinterpret_cast<void *>(LmxConsoleHandlerFOpen),
      reinterpret_cast<void *>(LmxConsoleHandlerFClose)}},
  {"lmx_filehandler", LMX_KIND_HANDLER, true, MsgKey::DescFileHandler,
     LmxFileHandlerFAllocVars, LmxFileHandlerFFreeVars, LmxFileHandlerFCfgChange,
     {reinterpret_cast<void *>(LmxFileHandlerFProcess),
      reinterpret_cast<void *>(LmxFileHandlerFOpen),
      reinterpret_cast<void *>(LmxFileHandlerFClose)}},
  // Shares the file handler's variables, configuration and freeing.
  {"lmx_multiproc_filehandler", LMX_KIND_HANDLER, false, MsgKey{},
     LmxFileHandlerFAllocVars, LmxFileHandlerFFreeVars, LmxFileHandlerFCfgChange,
     {reinterpret_cast<void *>(LmxMultiProcFileHandlerFProcess),
      reinterpret_cast<void *>(LmxMultiProcFileHandlerFOpen),
      reinterpret_cast<void *>(LmxMultiProcFileHandlerFClose)}},
  {"lmx_basicformatter", LMX_KIND_FORMATTER, true, MsgKey::DescBasicFormatter,
     nullptr, nullptr, LmxBasicFormatterFCfgChange,
     {reinterpret_cast<void *>(LmxBasicFormatterFFormat),
      reinterpret_cast<void *>(LmxBasicFormatterFGetHeader),
      reinterpret_cast<void *>(LmxBasicFormatterFGetTrailer),
      reinterpret_cast<void *>(lmxIntlBindI18Msg)}},
  // FreeVars frees the block as the console handler's does; no trailer.
  {"lmx_xmlformatter", LMX_KIND_FORMATTER, true, MsgKey::DescXMLFormatter,
     LmxPDXMLFormatterFAllocVars, LmxPDXMLFormatterFFreeVars, LmxPDXMLFormatterFCfgChange,
     {reinterpret_cast<void *>(LmxPDXMLFormatterFFormat),
      reinterpret_cast<void *>(LmxPDXMLFormatterFGetHeader),
      reinterpret_cast<void *>(LmxPDXMLFormatterFGetTrailer),
      reinterpret_cast<void *>(lmxIntlBindI18Msg)}},
  {"lmx_sysloghandler", LMX_KIND_HANDLER, true, MsgKey::DescSyslogHandler,
     LmxSyslogHandlerFAllocVars, LmxSyslogHandlerFFreeVars, LmxSyslogHandlerFCfgChange,
     {reinterpret_cast<void *>(LmxSyslogHandlerFProcess),
      reinterpret_cast<void *>(LmxSyslogHandlerFOpen),
      reinterpret_cast<void *>(LmxSyslogHandlerFClose)}},
};
// clang-format on

template <typename F>
F slot(const BuiltinClass &row, int i) {
  return reinterpret_cast<F>(row.slots[i]);
}

void registerBuiltin(const BuiltinClass &row) {
  I18Msg *desc = nullptr;
  if (row.described) {
    desc = lmxIntlAllocI18Msg(lmx::kToolkitCatalog, lmx::kToolkitSet,
                              static_cast<int32_t>(row.description),
                              lmx::msgText(row.description));
  }
  switch (row.kind) {
    case LMX_KIND_LOGGER:
      lmxIntlAddLoggerClass(row.name, desc, row.allocVars, row.freeVars, row.cfgChange,
                            slot<LmxLogFn>(row, 0));
      break;
    case LMX_KIND_FILTER:
      lmxIntlAddFilterClass(row.name, desc, row.allocVars, row.freeVars, row.cfgChange,
                            slot<LmxProcessFn>(row, 0), slot<LmxIsLoggableFn>(row, 1),
                            slot<LmxLogFn>(row, 2));
      break;
    case LMX_KIND_HANDLER:
      lmxIntlAddHandlerClass(row.name, desc, row.allocVars, row.freeVars, row.cfgChange,
                             slot<LmxProcessFn>(row, 0), slot<LmxOpenFn>(row, 1),
                             slot<LmxCloseFn>(row, 2));
      break;
    default:
      lmxIntlAddFormatterClass(row.name, desc, row.allocVars, row.freeVars, row.cfgChange,
                               slot<LmxFormatFn>(row, 0), slot<LmxGetHeaderFn>(row, 1),
                               slot<LmxGetTrailerFn>(row, 2), slot<LmxBindMsgFn>(row, 3));
      break;
  }
  lmxIntlFreeI18Msg(desc);
}

}  // namespace

namespace lmx {

void fillDefaultSlots(ObjClass *cls) {
  for (const SlotDefaults &row : kSlotDefaults) {
    if (row.kind == cls->kind) row.fill(cls);
  }
}

}  // namespace lmx

extern "C" {

void lmxToolkitInitObjClasses(void) {
  lmx::ToolkitState &st = lmx::toolkitState();
  if (st.classes != nullptr) return;
  st.classes = lmxIntlAllocStringToObjClassMap();
  if (st.classes == nullptr) {
    lmx::printTableMsgToStderr(lmx::MsgKey::ToolkitInitFailed, nullptr);
    return;
  }
  for (StringGroup *&group : st.classNames) group = lmxIntlAllocStringGroup();
  for (const BuiltinClass &row : kBuiltinClasses) registerBuiltin(row);
}

}  // extern "C"
