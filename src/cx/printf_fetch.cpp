// Argument slots of the printf engine: the slot type each conversion gives
// its value, variable arguments read into typed slots, and the integer width
// a slot prints at.
#include <cstddef>

#include "cx/printf_engine.h"

namespace cx {

namespace {

// Slot type of a value by conversion class (row) and length modifier
// (column: none l ll L h hh I64 j q t z).
constexpr unsigned char kSlotType[fmt::kClasses][fmt::kLengths] = {
    /* bad      */ {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    /* d i      */ {10, 12, 13, 10, 11, 40, 13, 14, 13, 90, 80},
    /* o u x X  */ {20, 22, 23, 20, 21, 41, 23, 24, 23, 90, 81},
    /* c        */ {10, 42, 10, 10, 10, 10, 10, 10, 10, 10, 10},
    /* C        */ {42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42},
    /* s        */ {70, 71, 70, 70, 70, 70, 70, 70, 70, 70, 70},
    /* S        */ {71, 71, 71, 71, 71, 71, 71, 71, 71, 71, 71},
    /* p        */ {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50},
    /* n        */ {60, 62, 63, 60, 61, 70, 63, 60, 62, 60, 60},
    /* floating */ {30, 30, 30, 31, 30, 30, 30, 30, 30, 30, 30},
};

}  // namespace

unsigned char printfSlotType(fmt::ConvClass cls, fmt::Length length) { return kSlotType[cls][length]; }

void printfFetchOne(CxPrintfArg &a, va_list &ap) {
  switch (a.type) {
    case CX_PRINTF_ARG_INT:
    case CX_PRINTF_ARG_SHORT:
    case CX_PRINTF_ARG_CHAR:
      a.value.i = va_arg(ap, int);
      break;
    case CX_PRINTF_ARG_LONG:
      a.value.i = va_arg(ap, long);
      break;
    case CX_PRINTF_ARG_LLONG:
    case CX_PRINTF_ARG_INTMAX:
      a.value.i = va_arg(ap, long long);
      break;
    case CX_PRINTF_ARG_UINT:
    case CX_PRINTF_ARG_USHORT:
    case CX_PRINTF_ARG_UCHAR:
    case CX_PRINTF_ARG_WCHAR:
      a.value.u = va_arg(ap, unsigned);
      break;
    case CX_PRINTF_ARG_ULONG:
      a.value.u = va_arg(ap, unsigned long);
      break;
    case CX_PRINTF_ARG_ULLONG:
    case CX_PRINTF_ARG_UINTMAX:
      a.value.u = va_arg(ap, unsigned long long);
      break;
    case CX_PRINTF_ARG_SIZE:
    case CX_PRINTF_ARG_USIZE:
      a.value.u = va_arg(ap, size_t);
      break;
    case CX_PRINTF_ARG_PTRDIFF:
      a.value.i = va_arg(ap, ptrdiff_t);
      break;
    case CX_PRINTF_ARG_DOUBLE:
      a.value.d = va_arg(ap, double);
      break;
    case CX_PRINTF_ARG_LDOUBLE:
      a.value.d = static_cast<double>(va_arg(ap, long double));
      break;
    default:  // pointers: %p, %s, %S, %n
      a.value.p = va_arg(ap, const void *);
      break;
  }
}

unsigned printfIntBits(int32_t length, unsigned char slotType) {
  const bool conversion32 = length == CX_PRINTF_LEN_NONE || length == CX_PRINTF_LEN_H ||
                            length == CX_PRINTF_LEN_HH || length == CX_PRINTF_LEN_LD;
  switch (slotType) {
    case CX_PRINTF_ARG_INT:
    case CX_PRINTF_ARG_SHORT:
    case CX_PRINTF_ARG_CHAR:
    case CX_PRINTF_ARG_UINT:
    case CX_PRINTF_ARG_USHORT:
    case CX_PRINTF_ARG_UCHAR:
    case CX_PRINTF_ARG_WCHAR:
      return 32;
    default:
      return conversion32 ? 32 : 64;
  }
}

int32_t printfFirstGap(const CxPrintfArgList *args) {
  for (int32_t i = 0; i < args->count; ++i) {
    if (args->args[i].type == CX_PRINTF_ARG_NONE) return i;
  }
  return -1;
}

void printfFetch(CxPrintfArgList *args, va_list ap) {
  va_list next;
  va_copy(next, ap);
  for (int32_t i = 0; i < args->count; ++i) printfFetchOne(args->args[i], next);
  va_end(next);
}

}  // namespace cx
