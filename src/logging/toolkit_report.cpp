// The toolkit's own reports.
#include "logging/toolkit_report.h"

#include "core/api_frame.h"

extern "C" void lmxIntlLogVA(int32_t level, int32_t key, const char *defaultText, ...) {
  (void)level;
  (void)key;
  (void)defaultText;
  // Dropped while the toolkit is not open. The logging path builds the
  // event and hands it to the toolkit logger once loggers exist.
  if (lmxToolkitLogger() == nullptr) return;
}
