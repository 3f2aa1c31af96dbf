// The printf engine: a format read (by the shared directive reader) into
// literal and conversion segments with typed argument slots, and the
// segments emitted into a string buffer. Fetching the variable arguments into
// the slots is printf_fetch.cpp's.
#include "cx/cx_intl.h"
#include "cx/printf_engine.h"

#include <cstddef>
#include <cstring>

#include "cx/string_buff.h"

namespace fmt = ilx::fmt;

namespace {

// Length modifiers as stored in segments, by fmt::Length.
constexpr int32_t kLenCode[fmt::kLengths] = {
    CX_PRINTF_LEN_NONE, CX_PRINTF_LEN_L, CX_PRINTF_LEN_LL, CX_PRINTF_LEN_LD,
    CX_PRINTF_LEN_H,    CX_PRINTF_LEN_HH, CX_PRINTF_LEN_I64, CX_PRINTF_LEN_J,
    CX_PRINTF_LEN_Q,    CX_PRINTF_LEN_T, CX_PRINTF_LEN_Z};

// ---------------------------------------------------------------------------
// Growable lists, optionally starting in caller-provided storage (the
// one-shot printf keeps small formats off the heap).

template <class T>
bool ensure(T **array, int32_t *capacity, int32_t *count, int32_t needed, const T *inlineStore) {
  if (*array != nullptr && *array == inlineStore) {
    if (needed <= *capacity) return true;
    int64_t grown = 16;
    while (grown <= needed) grown *= 2;
    const uint64_t bytes = static_cast<uint64_t>(grown) * sizeof(T);
    if (bytes > UINT32_MAX) return false;
    T *heap = static_cast<T *>(BasMemoryMalloc(static_cast<uint32_t>(bytes)));
    if (heap == nullptr) return false;
    std::memcpy(heap, *array, static_cast<size_t>(*count) * sizeof(T));
    *array = heap;
    *capacity = static_cast<int32_t>(grown);
    return true;
  }
  void *block = *array;
  const int32_t before = *count;
  if (!CxListEnsureCapacity(&block, capacity, count, needed, sizeof(T))) return false;
  *array = static_cast<T *>(block);
  *count = before;  // a first allocation resets the count; the lists keep theirs
  return true;
}

template <class T>
void release(T **array, int32_t *capacity, int32_t *count, const T *inlineStore) {
  if (*array == inlineStore) {
    *array = nullptr;
    *capacity = *count = 0;
    return;
  }
  void *block = *array;
  CxListDiscard(&block, capacity, count);
  *array = nullptr;
}

struct Parser {
  CxPrintfSegList *segs;
  CxPrintfArgList *args;
  const CxPrintfSeg *segStore;
  const CxPrintfArg *argStore;

  // Appends seg; false when memory ran out.
  bool add(const CxPrintfSeg &seg) {
    if (segs->count >= segs->capacity &&
        !ensure(&segs->segs, &segs->capacity, &segs->count, segs->count + 1, segStore)) {
      return false;
    }
    segs->segs[segs->count++] = seg;
    return true;
  }

  bool addLiteral(const char *first, const char *last) {
    return add(CxPrintfSeg{CX_PRINTF_LITERAL, first, last, -1, 0, 0, -1, -1, -1, -1, CX_PRINTF_LEN_NONE, '?'});
  }

  // Gives slot `index` the type, growing the list to cover it.
  bool setSlot(int32_t index, unsigned char type) {
    if (index < 0) return true;
    if (index >= args->count) {
      if (!ensure(&args->args, &args->capacity, &args->count, index + 1, argStore)) return false;
      std::memset(static_cast<void *>(args->args + args->count), 0,
                  static_cast<size_t>(index + 1 - args->count) * sizeof(CxPrintfArg));
      args->count = index + 1;
    }
    args->args[index].type = type;
    return true;
  }

  // Reads one conversion after its '%' into seg, taking sequential indexes;
  // p moves past it. False on a parse error.
  bool readConversion(const char *&p, CxPrintfSeg *seg) {
    fmt::Directive d;
    if (!fmt::readDirective(p, fmt::kEngineDialect, segs->nextIndex, segs->positional, &d)) return false;
    *seg = CxPrintfSeg{CX_PRINTF_CONVERSION, nullptr,     nullptr,         d.arg,
                       cx::printfSlotType(d.cls, d.length), d.flags, d.widthArg, d.width,
                       d.precisionArg,       d.precision, kLenCode[d.length], d.conv};
    return true;
  }

  // One conversion after its '%' into the lists; p moves past it.
  bool conversion(const char *&p) {
    CxPrintfSeg seg;
    return readConversion(p, &seg) && setSlot(seg.argIndex, seg.argType) &&
           setSlot(seg.widthArg, CX_PRINTF_ARG_INT) && setSlot(seg.precisionArg, CX_PRINTF_ARG_INT) && add(seg);
  }

  // The whole format; false on a parse error or when memory runs out.
  bool run(const char *format) {
    const char *p = format;
    while (*p != '\0') {
      if (*p != '%') {
        const char *end = p + 1;
        while (*end != '\0' && *end != '%') ++end;
        if (!addLiteral(p, end - 1)) return false;
        p = end;
      } else if (p[1] == '%') {
        if (!addLiteral(p + 1, p + 1)) return false;
        p += 2;
      } else {
        ++p;
        if (!conversion(p)) return false;
      }
    }
    return true;
  }
};

// ---------------------------------------------------------------------------
// Emission

// The conversion's flags, width and precision, those given as '*' taken
// from their slots.
fmt::Spec specOf(const CxPrintfSeg &seg, const CxPrintfArg *width, const CxPrintfArg *precision) {
  return fmt::starSpec(fmt::kEngineDialect, fmt::Spec{seg.flags, seg.width, seg.precision, seg.conversion},
                       width != nullptr ? &width->value.i : nullptr,
                       precision != nullptr ? &precision->value.i : nullptr);
}

// One conversion of the value in arg. Integers print by the conversion's
// own rule, whatever conversion decided how the argument was read: signed
// for d, unsigned for o u x X, at the width of printfIntBits.
bool emitValue(CodeSetT cs, cx::BuffSink &out, const CxPrintfSeg &seg, const fmt::Spec &spec,
               const CxPrintfArg &arg) {
  switch (seg.conversion) {
    case 'd': {
      const bool narrow = cx::printfIntBits(seg.length, arg.type) == 32;
      const int64_t v = narrow ? static_cast<int32_t>(static_cast<uint32_t>(arg.value.u)) : arg.value.i;
      const uint64_t mag = v < 0 ? ~static_cast<uint64_t>(v) + 1 : static_cast<uint64_t>(v);
      return fmt::putInteger(out, spec, mag, v < 0);
    }
    case 'o':
    case 'u':
    case 'x':
    case 'X': {
      const bool narrow = cx::printfIntBits(seg.length, arg.type) == 32;
      return fmt::putInteger(out, spec, narrow ? uint32_t(arg.value.u) : arg.value.u, false);
    }
    case 'p':
      return fmt::putInteger(out, spec, arg.value.u, false);
    case 'c':
      if (seg.length == CX_PRINTF_LEN_L) return cx::printfEmitWide(cs, out, spec, false, arg);
      {
        const char byte = static_cast<char>(arg.value.u & 0xFF);
        return fmt::putBytes(out, spec, &byte, 1);
      }
    case 's':
      if (seg.length == CX_PRINTF_LEN_L) return cx::printfEmitWide(cs, out, spec, true, arg);
      // Only a slot that holds a string is read as one: a format that
      // names another kind of value here (a translated message, say) fails
      // instead of following a number as a pointer.
      if (arg.type != CX_PRINTF_ARG_STRING) return false;
      {
        const char *s = static_cast<const char *>(arg.value.p);
        if (s == nullptr) s = "";
        const size_t n =
            spec.precision < 0 ? std::strlen(s) : strnlen(s, static_cast<size_t>(spec.precision));
        return fmt::putBytes(out, spec, s, n);
      }
    case 'C':
      return cx::printfEmitWide(cs, out, spec, false, arg);
    case 'S':
      return cx::printfEmitWide(cs, out, spec, true, arg);
    case 'a':
    case 'A':
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
      return fmt::putFloat(out, spec, arg.value.d);
    default:  // n and anything else
      return false;
  }
}

int32_t emitAll(CodeSetT cs, CxStringBuff *buff, const CxPrintfSegList *segs,
                const CxPrintfArgList *args, int *failed) {
  const uint32_t start = buff->length;
  cx::BuffSink out{buff, uint64_t{start} + fmt::kMaxFormatted};
  bool ok = true;
  for (int32_t i = 0; ok && i < segs->count; ++i) {
    const CxPrintfSeg &seg = segs->segs[i];
    if (seg.kind == CX_PRINTF_LITERAL) {
      ok = seg.first != nullptr && seg.last >= seg.first &&
           out.put(seg.first, static_cast<size_t>(seg.last - seg.first) + 1);
    } else {
      fmt::Spec spec;
      ok = cx::printfResolveSpec(seg, *args, &spec) &&
           emitValue(cs, out, seg, spec, args->args[seg.argIndex]);
    }
  }
  if (failed != nullptr) *failed = ok ? 0 : 1;
  return static_cast<int32_t>(buff->length - start);
}

// Formats without argument numbers take their arguments in order, so they
// are parsed, fetched and emitted in one pass with nothing stored. The
// outcome is that of the three steps: a parse error anywhere takes back what
// the call appended, and after a failed conversion the rest is only checked.
// Returns false, with nothing appended, when the format turns out to use
// argument numbers.
bool printfInOnePass(CodeSetT cs, CxStringBuff *buff, const char *format, va_list ap,
                     int32_t *appended) {
  const uint32_t start = buff->length;
  const bool wasEmpty = buff->data == nullptr;
  cx::BuffSink out{buff, uint64_t{start} + fmt::kMaxFormatted};
  CxPrintfSegList counter{};
  Parser reader{&counter, nullptr, nullptr, nullptr};
  bool parsed = true;
  bool failed = false;
  va_list args;
  va_copy(args, ap);
  const char *p = format;
  while (*p != '\0') {
    if (*p == '%' && p[1] == '%') {
      if (!failed) failed = !out.put(p, 1);
      p += 2;
      continue;
    }
    if (*p != '%') {
      const char *end = p + 1;
      while (*end != '\0' && *end != '%') ++end;
      if (!failed) failed = !out.put(p, static_cast<size_t>(end - p));
      p = end;
      continue;
    }
    ++p;
    CxPrintfSeg seg;
    if (!reader.readConversion(p, &seg)) {
      parsed = false;
      break;
    }
    if (counter.positional) break;
    if (failed) continue;
    CxPrintfArg width{CX_PRINTF_ARG_INT, {}};
    CxPrintfArg precision{CX_PRINTF_ARG_INT, {}};
    CxPrintfArg value{seg.argType, {}};
    if (seg.widthArg >= 0) cx::printfFetchOne(width, args);
    if (seg.precisionArg >= 0) cx::printfFetchOne(precision, args);
    cx::printfFetchOne(value, args);
    const fmt::Spec spec = specOf(seg, seg.widthArg >= 0 ? &width : nullptr,
                                      seg.precisionArg >= 0 ? &precision : nullptr);
    failed = !emitValue(cs, out, seg, spec, value);
  }
  va_end(args);
  if (parsed && !counter.positional) {
    *appended = static_cast<int32_t>(buff->length - start);
    return true;
  }
  if (wasEmpty) {
    CxStringBuffDiscard(buff);
  } else {
    buff->length = start;
    buff->data[start] = '\0';
  }
  *appended = 0;
  return !parsed;
}

}  // namespace

namespace cx {

void printfDiscard(CxPrintfSegList *segs, CxPrintfArgList *args) {
  if (segs != nullptr) {
    release(&segs->segs, &segs->capacity, &segs->count, static_cast<const CxPrintfSeg *>(nullptr));
    *segs = CxPrintfSegList{};
  }
  if (args != nullptr) {
    release(&args->args, &args->capacity, &args->count, static_cast<const CxPrintfArg *>(nullptr));
  }
}

bool printfResolveSpec(const CxPrintfSeg &seg, const CxPrintfArgList &args, fmt::Spec *spec) {
  if (seg.argIndex < 0 || seg.argIndex >= args.count || seg.widthArg >= args.count ||
      seg.precisionArg >= args.count) {
    return false;
  }
  *spec = specOf(seg, seg.widthArg >= 0 ? &args.args[seg.widthArg] : nullptr,
                 seg.precisionArg >= 0 ? &args.args[seg.precisionArg] : nullptr);
  return true;
}

}  // namespace cx

extern "C" {

int CxPrintfProcessFmts(const char *format, CxPrintfSegList *segs, CxPrintfArgList *args) {
  if (format == nullptr || segs == nullptr || args == nullptr) return 1;
  Parser parser{segs, args, nullptr, nullptr};
  return parser.run(format) ? 0 : 1;
}

int32_t cxPrintfEmitAll(CodeSetT cs, CxStringBuff *buff, const CxPrintfSegList *segs,
                        const CxPrintfArgList *args, int *failed) {
  if (buff == nullptr || segs == nullptr || args == nullptr ||
      (segs->count > 0 && segs->segs == nullptr) || (args->count > 0 && args->args == nullptr)) {
    if (failed != nullptr) *failed = 1;
    return 0;
  }
  return emitAll(cs, buff, segs, args, failed);
}

int32_t CxStringBuffPrintfV(CodeSetT cs, CxStringBuff *buff, const char *format, va_list ap) {
  if (buff == nullptr || format == nullptr) return 0;
  int32_t appended = 0;
  if (printfInOnePass(cs, buff, format, ap, &appended)) return appended;
  // Formats with argument numbers: parse, fetch, emit. Small formats parse
  // into these arrays; larger ones move to the heap.
  CxPrintfSeg segStore[16];
  CxPrintfArg argStore[16];
  CxPrintfSegList segs{0, 0, 0, 16, segStore};
  CxPrintfArgList args{0, 16, argStore};
  Parser parser{&segs, &args, segStore, argStore};
  if (parser.run(format) && cx::printfFirstGap(&args) < 0) {
    cx::printfFetch(&args, ap);
    int failed;
    appended = emitAll(cs, buff, &segs, &args, &failed);
  }
  release(&segs.segs, &segs.capacity, &segs.count, static_cast<const CxPrintfSeg *>(segStore));
  release(&args.args, &args.capacity, &args.count, static_cast<const CxPrintfArg *>(argStore));
  return appended;
}

int32_t CxStringBuffPrintf(CodeSetT cs, CxStringBuff *buff, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  const int32_t appended = CxStringBuffPrintfV(cs, buff, format, ap);
  va_end(ap);
  return appended;
}

}  // extern "C"
