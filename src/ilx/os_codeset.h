// The operating system's (locale's) code set, for the layers above that
// convert the C library's own texts; the rest of the handle's layout stays
// inside the services (codeset.h).
#pragma once

#include "lumex/ilx.h"

namespace ilx {

// The locale's code set handle, setting the services up first when needed.
CodeSetT osCodeSet();

}  // namespace ilx
