// Random formats and arguments through the printf engine: a format up to the
// first zero byte, then bytes for argument values. Nothing may crash, read out
// of bounds or leak, and the reported count must match what was appended.
#include "cx/cx_intl.h"
#include "cx/printf_engine.h"
#include "fuzz_common.h"
#include "lumex/cx.h"

// Text that is safe to read as a byte string and as a 16-bit string.
alignas(8) static const char kText[16] = "fuzz text\0\0\0\0\0";

static void check(const CxStringBuff &b, uint32_t before, int32_t appended) {
  fuzz::require(appended >= 0 && b.length == before + static_cast<uint32_t>(appended));
  fuzz::require(b.data == nullptr || (b.data[b.length] == '\0' && b.length < b.capacity));
}

// Widths and precisions written in the format stay small enough to print.
static bool modest(const CxPrintfSegList &segs, const CxPrintfArgList &args, bool *stars,
                   bool *strings) {
  for (int32_t i = 0; i < segs.count; ++i) {
    const CxPrintfSeg &s = segs.segs[i];
    if (s.kind != CX_PRINTF_CONVERSION) continue;
    if (s.width > 100000 || s.precision > 100000) return false;
    *stars |= s.widthArg >= 0 || s.precisionArg >= 0;
    // A conversion reads its argument by its own type before the format is
    // known to number its arguments, whatever type the slot ends up with.
    *strings |= s.conversion == 's' || s.conversion == 'S';
  }
  for (int32_t i = 0; i < args.count; ++i) {
    const unsigned char t = args.args[i].type;
    *strings |= t == CX_PRINTF_ARG_STRING || t == CX_PRINTF_ARG_WSTRING;
  }
  return true;
}

FUZZ_TARGET(rest) {
  const std::string format = rest.until(0).str();
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  bool stars = false, strings = false;
  if (CxPrintfProcessFmts(format.c_str(), &segs, &args) == 0 &&
      modest(segs, args, &stars, &strings)) {
    // Route 1: the parse / fill / emit steps with values of the right kinds.
    for (int32_t i = 0; i < args.count; ++i) {
      CxPrintfArg &a = args.args[i];
      const uint64_t v = rest.next();
      switch (a.type) {
        case CX_PRINTF_ARG_WSTRING:  // 16-bit units: an even offset
          a.value.p = (v & 1) ? nullptr : kText + 2 * ((v >> 1) % 5);
          break;
        case CX_PRINTF_ARG_STRING: case CX_PRINTF_ARG_COUNT: case CX_PRINTF_ARG_COUNT_H:
        case CX_PRINTF_ARG_COUNT_L: case CX_PRINTF_ARG_COUNT_LL:
          a.value.p = (v & 1) ? nullptr : kText + (v >> 1) % 10;
          break;
        case CX_PRINTF_ARG_INT:  // also widths and precisions: keep them printable
          a.value.i = static_cast<int64_t>(v % 4096) - 2048;
          break;
        default:
          a.value.u = v;
      }
    }
    CxStringBuff b{};
    CxStringBuffAppendStr(&b, "x");
    int failed = 0;
    check(b, 1, cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed));
    CxStringBuffDiscard(&b);

    // Route 2: the one-shot call, every argument word with the same bits: the
    // text's address when strings are read (skipped when widths come from
    // arguments too, as they would be huge), else a small number.
    if (args.count <= 16 && !(strings && stars)) {
      const uint64_t w = strings ? reinterpret_cast<uintptr_t>(kText) : rest.next() % 1000;
      double d;
      std::memcpy(&d, &w, sizeof d);
#define W8 w, w, w, w, w, w, w, w
#define D8 d, d, d, d, d, d, d, d
      check(b, 0, CxStringBuffPrintf(nullptr, &b, format.c_str(), W8, D8, W8, D8, W8, D8));
      CxStringBuffDiscard(&b);
    }
  }
  cx::printfDiscard(&segs, &args);
}
