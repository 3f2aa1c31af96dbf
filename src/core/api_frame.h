// The toolkit's side of the public frame: the API lock (cx/api_lock.h) and
// the toolkit's error logger.
#pragma once

#include "cx/api_lock.h"
#include "lumex/core.h"

extern "C" {
// The toolkit's error logger while the toolkit is open, else null.
LMX_API Object *lmxToolkitLogger(void);
}
