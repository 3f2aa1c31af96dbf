// Applying registered configurations to objects (the log manager's half
// that needs objects).
#pragma once

#include "lumex/config.h"
#include "lumex/core.h"

extern "C" {
// Sets on object the properties of configuration `name` and of every
// configuration it inherits from, the farthest ancestor first. False for a
// null object or the root name.
LMX_API unsigned char lmxIntlLogMgrApplyCfg(Object *object, const char *name);
}
