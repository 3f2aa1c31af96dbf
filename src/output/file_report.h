// Reports of the file handlers: messages of the toolkit's table only while
// the handler's log-internal-errors switch is on; platform failures always.
#pragma once

#include "lumex/core.h"
#include "logging/toolkit_report.h"
#include "lumex/messages.h"
#include "output/file_handler_vars.h"

namespace lmx {

template <typename... Items>
inline void fileReport(const FileHandlerVars *vars, int32_t level, MsgKey key, Items... items) {
  if (vars != nullptr && vars->logInternalErrs) reportMsg(level, key, items...);
}

// Reports a failed status; success reports nothing.
inline bool failed(CxStatus status) {
  if (status.kind == CX_STATUS_OK) return false;
  LmxReportPlatformErr(status);
  return true;
}

}  // namespace lmx
