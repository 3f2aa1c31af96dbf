// Wide character and wide string conversions of the printf engine: the
// 16-bit units are converted into the code set of the call's handle, and the
// width and precision count converted bytes.
#include "cx/printf_engine.h"
#include "cx/string_buff.h"
#include "lumex/ilx.h"

namespace cx {

bool printfEmitWide(CodeSetT cs, BuffSink &out, const fmt::Spec &spec, bool isString,
                    const CxPrintfArg &arg) {
  if (!isString) {
    char bytes[4];
    const int n = ilx_wctomb(cs, bytes, static_cast<uint16_t>(arg.value.u & 0xFFFF));
    return n >= 0 && fmt::putBytes(out, spec, bytes, static_cast<size_t>(n));
  }
  // As for byte strings: only a slot holding a wide string is read as one,
  // and a null string prints as the empty text.
  if (arg.type != CX_PRINTF_ARG_WSTRING) return false;
  const uint16_t *ws = static_cast<const uint16_t *>(arg.value.p);
  if (ws == nullptr) return fmt::putBytes(out, spec, "", 0);
  // Converted once, then padded: the width needs the byte count first.
  CxStringBuff text{};
  const bool ok = CxStringBuffAppendWStrN(&text, cs, ws, spec.precision) &&
                  fmt::putBytes(out, spec, text.data != nullptr ? text.data : "", text.length);
  CxStringBuffDiscard(&text);
  return ok;
}

}  // namespace cx
