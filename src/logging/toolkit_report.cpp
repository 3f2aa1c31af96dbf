// The toolkit's own reports: a message of its table through the toolkit
// logger, as any catalog message goes through a logger.
#include "logging/toolkit_report.h"

#include <cstdarg>

#include "core/api_frame.h"
#include "logging/log_path.h"

namespace {

// Reports made while the toolkit logger is already handling one of its own
// on this thread (a handler that fails to write the report and reports that
// failure) are dropped: they would feed back into the same handler without
// end.
thread_local bool tReporting = false;

}  // namespace

extern "C" void lmxIntlLogVA(int32_t level, int32_t key, const char *defaultText, ...) {
  Object *logger = lmxToolkitLogger();
  if (logger == nullptr || tReporting) return;
  tReporting = true;
  va_list args;
  va_start(args, defaultText);
  lmxLogMessageEntry(logger, level, lmx::kToolkitCatalog, lmx::kToolkitSet, key, defaultText,
                     args);
  va_end(args);
  tReporting = false;
}
