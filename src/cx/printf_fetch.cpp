// Argument fetch of the printf engine: variable arguments read into typed
// slots.
#include <cstddef>

#include "cx/printf_engine.h"

namespace cx {

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
