// Random formats with random arguments through the printf engine. The input
// is a format (up to the first zero byte) and bytes that supply argument
// values. Two routes: CxStringBuffPrintf itself, with arguments that are
// safe for whatever types the format reads, and the parse / fill / emit steps
// with slot values of the right kinds. Nothing may crash, read out of bounds
// or leak, and the reported count must match what was appended.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cx/cx_intl.h"
#include "cx/printf_engine.h"
#include "lumex/cx.h"

namespace {

// Text that is safe to read as a byte string and as a 16-bit string.
alignas(8) const char kText[16] = "fuzz text\0\0\0\0\0";

struct Bytes {
  const uint8_t *p;
  size_t n;
  uint64_t next() {
    uint64_t v = 0;
    for (int i = 0; i < 8 && n > 0; ++i, ++p, --n) v = (v << 8) | *p;
    return v;
  }
};

void check(const CxStringBuff &b, uint32_t before, int32_t appended) {
  if (appended < 0 || b.length != before + static_cast<uint32_t>(appended)) std::abort();
  if (b.data != nullptr && (b.data[b.length] != '\0' || b.length >= b.capacity)) std::abort();
}

// Widths and precisions written in the format stay small enough to print.
bool modest(const CxPrintfSegList &segs, const CxPrintfArgList &args, bool *stars,
            bool *strings) {
  *stars = *strings = false;
  for (int32_t i = 0; i < segs.count; ++i) {
    const CxPrintfSeg &s = segs.segs[i];
    if (s.kind != CX_PRINTF_CONVERSION) continue;
    if (s.width > 100000 || s.precision > 100000) return false;
    if (s.widthArg >= 0 || s.precisionArg >= 0) *stars = true;
    // A conversion reads its argument by its own type before the format is
    // known to number its arguments, whatever type the slot ends up with.
    if (s.conversion == 's' || s.conversion == 'S') *strings = true;
  }
  for (int32_t i = 0; i < args.count; ++i) {
    const unsigned char t = args.args[i].type;
    if (t == CX_PRINTF_ARG_STRING || t == CX_PRINTF_ARG_WSTRING) *strings = true;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const uint8_t *zero =
      size > 0 ? static_cast<const uint8_t *>(std::memchr(data, 0, size)) : nullptr;
  const std::string format(reinterpret_cast<const char *>(data),
                           zero != nullptr ? static_cast<size_t>(zero - data) : size);
  Bytes rest{zero != nullptr ? zero + 1 : data + size,
             zero != nullptr ? size - static_cast<size_t>(zero - data) - 1 : 0};

  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  const bool parsed = CxPrintfProcessFmts(format.c_str(), &segs, &args) == 0;
  bool stars = false, strings = false;
  if (parsed && modest(segs, args, &stars, &strings)) {
    // Route 1: the parse / fill / emit steps with values of the right kinds.
    for (int32_t i = 0; i < args.count; ++i) {
      CxPrintfArg &a = args.args[i];
      const uint64_t v = rest.next();
      switch (a.type) {
        case CX_PRINTF_ARG_WSTRING:  // 16-bit units: an even offset
          a.value.p = (v & 1) ? nullptr : kText + 2 * ((v >> 1) % 5);
          break;
        case CX_PRINTF_ARG_STRING:
        case CX_PRINTF_ARG_COUNT:
        case CX_PRINTF_ARG_COUNT_H:
        case CX_PRINTF_ARG_COUNT_L:
        case CX_PRINTF_ARG_COUNT_LL:
          a.value.p = (v & 1) ? nullptr : kText + (v >> 1) % 10;
          break;
        case CX_PRINTF_ARG_INT:  // also widths and precisions: keep them printable
          a.value.i = static_cast<int64_t>(v % 4096) - 2048;
          break;
        default:
          a.value.u = v;
          break;
      }
    }
    CxStringBuff b{};
    CxStringBuffAppendStr(&b, "x");
    int failed = 0;
    check(b, 1, cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed));
    CxStringBuffDiscard(&b);

    // Route 2: the one-shot call. Every argument word carries the same bits,
    // so whatever type the format reads gets usable bits: the text's address
    // when strings are read (then widths from arguments would be huge, so
    // such formats are skipped), else a small number.
    if (args.count <= 16 && !(strings && stars)) {
      const uint64_t w = strings ? reinterpret_cast<uintptr_t>(kText) : rest.next() % 1000;
      double d;
      std::memcpy(&d, &w, sizeof d);
#define W8 w, w, w, w, w, w, w, w
#define D8 d, d, d, d, d, d, d, d
      const int32_t n = CxStringBuffPrintf(nullptr, &b, format.c_str(), W8, D8, W8, D8, W8, D8);
#undef W8
#undef D8
      check(b, 0, n);
      CxStringBuffDiscard(&b);
    }
  }
  cx::printfDiscard(&segs, &args);
  return 0;
}
