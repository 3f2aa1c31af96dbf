// Wide character and wide string conversions of the printf engine.
//
// Not available yet: they convert through the code set converters, which are
// not part of the library yet, so %lc, %C, %ls and %S fail the call for now.
#include "cx/printf_engine.h"

namespace cx {

bool printfEmitWide(CodeSetT, CxStringBuff *, const fmt::Spec &, bool, const CxPrintfArg &) {
  return false;
}

}  // namespace cx
