// The ilx print family: one engine behind ilx_printf, ilx_fprintf and
// ilx_sprintf and their va_list forms. The format is parsed into directives
// first, the arguments are then fetched in position order by the types the
// directives give them, and the output is produced through a sink (a stream
// behind a 496-byte buffer, or the caller's array). Values are formatted by
// the same formatters as the string buffer's printf engine.
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ilx/format_directive.h"
#include "ilx/format_value.h"
#include "ilx/format_wide.h"
#include "ilx/memory.h"
#include "lumex/ilx.h"

namespace {

namespace fmt = ilx::fmt;

// How an argument is read from the variable argument list.
enum class ArgType : uint8_t { None, Int, Long, LLong, Double, LDouble, Pointer };

struct Arg {
  ArgType type;
  union {
    int64_t i;
    long double ld;
    const void *p;
  };
};

// One directive and the literal text before it. The last entry of a parsed
// format holds only the trailing literal (no conversion: class kBad).
struct Piece {
  const char *lit;
  size_t litLen;
  fmt::Directive dir;
};

constexpr char kBadSpecifier[] = "Bad format specifier in print_all\n";
constexpr size_t kStreamBuffer = 496;

// The parsed format and the argument slots it uses.
class Format {
 public:
  ~Format() {
    BasMemoryFree(pieces_);
    BasMemoryFree(args_);
  }

  // False for a format the engine cannot run: too large numbers, no memory,
  // or argument slots that no directive types (or types twice differently).
  bool parse(const char *format) {
    size_t percents = 0;
    for (const char *p = format; *p != '\0'; ++p) percents += *p == '%';
    if (percents > INT_MAX / 4) return false;
    maxSlots_ = static_cast<int>(3 * percents);
    pieces_ = ilx::allocateZeroed<Piece>(percents + 1);
    args_ = ilx::allocateZeroed<Arg>(static_cast<size_t>(maxSlots_ > 0 ? maxSlots_ : 1));
    if (pieces_ == nullptr || args_ == nullptr) return false;

    const char *p = format;
    for (;;) {
      Piece &piece = pieces_[count_++];
      piece = Piece{p, 0, {}};
      while (*p != '\0' && *p != '%') ++p;
      piece.litLen = static_cast<size_t>(p - piece.lit);
      if (*p == '\0') return slotsComplete();
      if (!parseDirective(++p, piece.dir)) return false;
    }
  }

  // Reads every slot from the argument list, in slot order.
  void fetch(va_list ap) {
    for (int i = 0; i < slots_; ++i) {
      Arg &a = args_[i];
      switch (a.type) {
        case ArgType::Int: a.i = va_arg(ap, int); break;
        case ArgType::Long: a.i = va_arg(ap, long); break;
        case ArgType::LLong: a.i = va_arg(ap, long long); break;
        case ArgType::Double: a.ld = va_arg(ap, double); break;
        case ArgType::LDouble: a.ld = va_arg(ap, long double); break;
        case ArgType::Pointer: a.p = va_arg(ap, const void *); break;
        case ArgType::None: break;
      }
    }
  }

  int count() const { return count_; }
  const Piece &piece(int i) const { return pieces_[i]; }
  const Arg &arg(int i) const { return args_[i]; }

 private:
  // One directive after its '%'; an unknown conversion is reported on
  // stdout and takes no value (its '*' arguments are still read).
  bool parseDirective(const char *&p, fmt::Directive &d) {
    int32_t positional = 0;
    if (!fmt::readDirective(p, fmt::kPrintFamilyDialect, next_, positional, &d) ||
        !use(d.widthArg, ArgType::Int) || !use(d.precisionArg, ArgType::Int)) {
      return false;
    }
    if (d.cls == fmt::kBad) std::fputs(kBadSpecifier, stdout);
    return use(d.arg, valueType(d));
  }

  static ArgType valueType(const fmt::Directive &d) {
    const bool longLong = d.length == fmt::kLenLL || d.length == fmt::kLenLD;  // "ll" reads as "L"
    switch (d.cls) {
      case fmt::kSigned: case fmt::kUnsigned:
        return d.length == fmt::kLenL ? ArgType::Long : longLong ? ArgType::LLong : ArgType::Int;
      case fmt::kChar: case fmt::kWideChar:
        return ArgType::Int;
      case fmt::kFloat:
        return longLong ? ArgType::LDouble : ArgType::Double;
      default:  // s S p n
        return ArgType::Pointer;
    }
  }

  // Gives a slot (-1: none) its type; a slot read as two different types
  // cannot be fetched.
  bool use(int slot, ArgType type) {
    if (slot < 0) return true;
    if (slot >= maxSlots_) return false;
    if (args_[slot].type != ArgType::None && args_[slot].type != type) return false;
    args_[slot].type = type;
    if (slot >= slots_) slots_ = slot + 1;
    return true;
  }

  bool slotsComplete() const {
    for (int i = 0; i < slots_; ++i)
      if (args_[i].type == ArgType::None) return false;
    return true;
  }

  Piece *pieces_ = nullptr;
  Arg *args_ = nullptr;
  int count_ = 0;
  int slots_ = 0;
  int maxSlots_ = 0;
  int next_ = 0;
};

// Output into the caller's array (which has room by contract).
struct ArraySink {
  char *out;
  size_t count = 0;
  int error = 0;
  bool room(size_t n) {
    if (n > fmt::kMaxFormatted - count) {
      error = -1;
      return false;
    }
    return true;
  }
  bool put(const char *p, size_t n) {
    if (!room(n)) return false;
    std::memcpy(out + count, p, n);
    count += n;
    return true;
  }
  bool fill(char c, size_t n) {
    if (!room(n)) return false;
    std::memset(out + count, c, n);
    count += n;
    return true;
  }
  int finish() {
    out[count] = '\0';
    return error != 0 ? error : static_cast<int>(count);
  }
};

// Output to a stream through a buffer written when full and at the end.
struct StreamSink {
  FILE *stream;
  char buf[kStreamBuffer];
  size_t used = 0;
  size_t count = 0;
  int error = 0;
  explicit StreamSink(FILE *s) : stream(s) {}
  bool room(size_t n) {
    if (n > fmt::kMaxFormatted - count) {
      error = -1;
      return false;
    }
    count += n;
    return true;
  }
  bool flushFull() {
    if (std::fwrite(buf, 1, used, stream) != used) {
      error = -6;
      return false;
    }
    used = 0;
    return true;
  }
  template <class Copy>
  bool write(size_t n, Copy copy) {
    if (!room(n)) return false;
    while (n > 0) {
      if (used == kStreamBuffer && !flushFull()) return false;
      const size_t k = n < kStreamBuffer - used ? n : kStreamBuffer - used;
      copy(buf + used, k);
      used += k;
      n -= k;
    }
    return true;
  }
  bool put(const char *p, size_t n) {
    return write(n, [&](char *to, size_t k) {
      std::memcpy(to, p, k);
      p += k;
    });
  }
  bool fill(char c, size_t n) {
    return write(n, [&](char *to, size_t k) { std::memset(to, c, k); });
  }
  int finish() {
    if (error == 0 && used > 0 && std::fwrite(buf, 1, used, stream) != used) error = -1;
    return error != 0 ? error : static_cast<int>(count);
  }
};

// The value conversion with width and precision taken from their slots; a
// negative width from an argument left-justifies, a negative precision
// counts as none.
fmt::Spec specOf(const Format &f, const fmt::Directive &d) {
  return fmt::starSpec(fmt::kPrintFamilyDialect, fmt::Spec{d.flags, d.width, d.precision, d.conv},
                       d.widthArg >= 0 ? &f.arg(d.widthArg).i : nullptr,
                       d.precisionArg >= 0 ? &f.arg(d.precisionArg).i : nullptr);
}

// Wide characters and strings, converted under the handle.
template <class Sink>
bool putWide(Sink &out, CodeSetT cs, const fmt::Spec &spec, bool isString, const Arg &a) {
  const bool ok = isString ? fmt::putWideString(out, spec, cs, static_cast<const uint16_t *>(a.p))
                           : fmt::putWideChar(out, spec, cs, static_cast<uint16_t>(a.i));
  if (!ok && out.error == 0) out.error = -1;
  return ok;
}

// An integer conversion. A zero printed with precision 0 has no digits but
// keeps its width and sign, as in the C library.
template <class Sink>
bool putInt(Sink &out, const fmt::Spec &spec, uint64_t magnitude, bool negative) {
  if (spec.precision == 0 && magnitude == 0) {
    if (spec.conv == 'o' && (spec.flags & fmt::kAlt)) {  // "#" still shows the one zero
      fmt::Spec one = spec;
      one.precision = 1;
      return fmt::putInteger(out, one, 0, false);
    }
    const char sign = spec.conv == 'd' ? fmt::signOf(false, spec.flags) : 0;
    return fmt::putBytes(out, spec, &sign, sign != 0 ? 1 : 0);
  }
  return fmt::putInteger(out, spec, magnitude, negative);
}

template <class Sink>
bool putDirective(Sink &out, CodeSetT cs, const Format &f, const fmt::Directive &d) {
  const fmt::Spec spec = specOf(f, d);
  const Arg &a = f.arg(d.arg < 0 ? 0 : d.arg);
  const bool wideLength = d.length == fmt::kLenL;
  switch (d.conv) {
    case '%':
      return fmt::putBytes(out, spec, "%", 1);
    case 'd': {
      long long v = a.i;
      if (d.length == fmt::kLenH) v = static_cast<short>(v);
      if (d.length == fmt::kLenNone) v = static_cast<int>(v);
      const bool negative = v < 0;
      const uint64_t magnitude =
          negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
      return putInt(out, spec, magnitude, negative);
    }
    case 'o': case 'u': case 'x': case 'X': {
      uint64_t v = static_cast<unsigned long long>(a.i);
      if (d.length == fmt::kLenH) v = static_cast<unsigned short>(v);
      if (d.length == fmt::kLenNone) v = static_cast<unsigned int>(v);
      if (d.length == fmt::kLenL) v = static_cast<unsigned long>(v);
      return putInt(out, spec, v, false);
    }
    case 'p': {
      fmt::Spec upper = spec;
      upper.conv = 'X';
      return putInt(out, upper, reinterpret_cast<uintptr_t>(a.p), false);
    }
    case 'c':
      if (!wideLength) {
        const char c = static_cast<char>(a.i);
        return fmt::putBytes(out, spec, &c, 1);
      }
      return putWide(out, cs, spec, false, a);
    case 'C':
      return putWide(out, cs, spec, false, a);
    case 's':
      if (!wideLength) {
        const char *s = static_cast<const char *>(a.p);
        if (s == nullptr) s = "";
        const size_t n = spec.precision >= 0 ? strnlen(s, static_cast<size_t>(spec.precision))
                                             : std::strlen(s);
        return fmt::putBytes(out, spec, s, n);
      }
      return putWide(out, cs, spec, true, a);
    case 'S':
      return putWide(out, cs, spec, true, a);
    case 'e': case 'E': case 'f': case 'g': case 'G':
      return fmt::putFloat(out, spec, static_cast<double>(a.ld));
    case 'n':  // never writes through its argument: formats may come from catalogs
      return false;
    default:
      return false;
  }
}

// Parses, fetches and produces; the result is the sink's.
template <class Sink>
int run(Sink &out, CodeSetT cs, const char *format, va_list ap) {
  Format f;
  if (!f.parse(format)) {
    out.error = -1;
    return out.finish();
  }
  f.fetch(ap);
  for (int i = 0; i < f.count(); ++i) {
    const Piece &piece = f.piece(i);
    if (!out.put(piece.lit, piece.litLen)) break;
    if (piece.dir.cls != fmt::kBad && !putDirective(out, cs, f, piece.dir)) {
      if (out.error == 0) out.error = -1;
      break;
    }
  }
  return out.finish();
}

}  // namespace

extern "C" {

int ilx_vfprintf(CodeSetT cs, const char *locale, FILE *stream, const char *format,
                 va_list args) {
  (void)locale;
  if (stream == nullptr || format == nullptr) return -1;
  StreamSink out(stream);
  return run(out, cs, format, args);
}

int ilx_vprintf(CodeSetT cs, const char *locale, const char *format, va_list args) {
  return ilx_vfprintf(cs, locale, stdout, format, args);
}

int ilx_vsprintf(CodeSetT cs, const char *locale, char *buffer, const char *format,
                 va_list args) {
  (void)locale;
  if (buffer == nullptr || format == nullptr) return -1;
  ArraySink out{buffer};
  return run(out, cs, format, args);
}

int ilx_printf(CodeSetT cs, const char *locale, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  const int n = ilx_vprintf(cs, locale, format, ap);
  va_end(ap);
  return n;
}

int ilx_fprintf(CodeSetT cs, const char *locale, FILE *stream, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  const int n = ilx_vfprintf(cs, locale, stream, format, ap);
  va_end(ap);
  return n;
}

int ilx_sprintf(CodeSetT cs, const char *locale, char *buffer, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  const int n = ilx_vsprintf(cs, locale, buffer, format, ap);
  va_end(ap);
  return n;
}

}  // extern "C"
