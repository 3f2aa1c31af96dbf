// Wide character and wide string conversions of the printf engine: the
// 16-bit units are converted into the code set of the call's handle, and the
// width and precision count converted bytes.
#include "cx/printf_engine.h"
#include "cx/string_buff.h"
#include "ilx/format_wide.h"

namespace cx {

bool printfEmitWide(CodeSetT cs, BuffSink &out, const fmt::Spec &spec, bool isString,
                    const CxPrintfArg &arg) {
  if (!isString) return fmt::putWideChar(out, spec, cs, static_cast<uint16_t>(arg.value.u & 0xFFFF));
  // As for byte strings: only a slot holding a wide string is read as one.
  if (arg.type != CX_PRINTF_ARG_WSTRING) return false;
  return fmt::putWideString(out, spec, cs, static_cast<const uint16_t *>(arg.value.p));
}

}  // namespace cx
