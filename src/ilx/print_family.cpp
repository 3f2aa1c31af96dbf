// The ilx print family: one engine behind ilx_printf, ilx_fprintf and
// ilx_sprintf and their va_list forms. The format is parsed into directives
// first, the arguments are then fetched in position order by the types the
// directives give them, and the output is produced through a sink (a stream
// behind a 496-byte buffer, or the caller's array). Values are formatted by
// the same formatters as the string buffer's printf engine.
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "cx/printf_engine.h"
#include "cx/printf_format.h"
#include "cx/string_buff.h"
#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

namespace fmt = cx::fmt;

// How an argument is read from the variable argument list.
enum class ArgType : uint8_t { None, Int, Long, LLong, Double, LDouble, Pointer };

struct Arg {
  ArgType type;
  union {
    long long i;
    long double ld;
    const void *p;
  };
};

// One directive and the literal text before it. The last entry of a parsed
// format holds only the trailing literal (conv 0, known false).
struct Directive {
  const char *lit;
  size_t litLen;
  bool known;  // a conversion the engine prints (else it produces nothing)
  char conv;
  char length;  // 0, 'h', 'l' or 'L' ("ll" reads as "L")
  uint32_t flags;
  int arg;  // slot of the value, -1 for none
  int width, widthArg;
  int prec, precArg;
};

constexpr char kBadSpecifier[] = "Bad format specifier in print_all\n";
constexpr size_t kStreamBuffer = 496;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads decimal digits; false when the number passes INT_MAX.
bool readNumber(const char *&p, int *out) {
  long long v = 0;
  while (isDigit(*p)) {
    v = v * 10 + (*p++ - '0');
    if (v > INT_MAX) return false;
  }
  *out = static_cast<int>(v);
  return true;
}

// "n$" at p (n from 1): the slot n - 1, p moved past it; else -1, p unmoved.
// -2 when the number is too large.
int readPosition(const char *&p) {
  if (*p < '1' || *p > '9') return -1;
  const char *q = p;
  int n = 0;
  if (!readNumber(q, &n)) return -2;
  if (*q != '$') return -1;
  p = q + 1;
  return n - 1;
}

// The parsed format and the argument slots it uses.
class Format {
 public:
  ~Format() {
    BasMemoryFree(dirs_);
    BasMemoryFree(args_);
  }

  // False for a format the engine cannot run: too large numbers, no memory,
  // or argument slots that no directive types (or types twice differently).
  bool parse(const char *format) {
    size_t percents = 0;
    for (const char *p = format; *p != '\0'; ++p) percents += *p == '%';
    if (percents > INT_MAX / 4) return false;
    maxSlots_ = static_cast<int>(3 * percents);
    dirs_ = static_cast<Directive *>(
        BasMemoryCalloc(static_cast<uint32_t>(percents + 1), sizeof(Directive)));
    args_ = static_cast<Arg *>(
        BasMemoryCalloc(static_cast<uint32_t>(maxSlots_ > 0 ? maxSlots_ : 1), sizeof(Arg)));
    if (dirs_ == nullptr || args_ == nullptr) return false;

    const char *p = format;
    for (;;) {
      Directive &d = dirs_[count_++];
      d.lit = p;
      while (*p != '\0' && *p != '%') ++p;
      d.litLen = static_cast<size_t>(p - d.lit);
      d.arg = d.widthArg = d.precArg = -1;
      d.width = d.prec = -1;
      if (*p == '\0') return slotsComplete();
      if (!parseDirective(++p, d)) return false;
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
  const Directive &directive(int i) const { return dirs_[i]; }
  const Arg &arg(int i) const { return args_[i]; }

 private:
  bool parseDirective(const char *&p, Directive &d) {
    const int pos = readPosition(p);
    if (pos == -2) return false;
    for (;; ++p) {
      switch (*p) {
        case ' ': d.flags |= fmt::kSpace; continue;
        case '#': d.flags |= fmt::kAlt; continue;
        case '\'': d.flags |= fmt::kGroup; continue;
        case '+': d.flags |= fmt::kPlus; continue;
        case '-': d.flags |= fmt::kLeft; continue;
        case '0': d.flags |= fmt::kZero; continue;
        default: break;
      }
      break;
    }
    if (!readSize(p, &d.width, &d.widthArg)) return false;
    if (*p == '.') {
      ++p;
      if (isDigit(*p) || *p == '*') {
        if (!readSize(p, &d.prec, &d.precArg)) return false;
      } else {
        d.prec = 0;
      }
    }
    if (*p == 'h') {
      d.length = 'h';
      ++p;
    } else if (*p == 'l') {
      d.length = 'l';
      if (*++p == 'l') {
        d.length = 'L';
        ++p;
      }
    } else if (*p == 'L') {
      d.length = 'L';
      ++p;
    }
    d.conv = *p;
    if (*p != '\0') ++p;
    ArgType type = valueType(d.conv, d.length);
    d.known = type != ArgType::None || d.conv == '%';
    if (!d.known) {
      std::fputs(kBadSpecifier, stdout);
      return true;
    }
    if (d.conv == '%') return true;
    d.arg = pos >= 0 ? pos : next_++;
    return use(d.arg, type);
  }

  // Width or precision: digits, "*" or "*n$".
  bool readSize(const char *&p, int *value, int *slot) {
    if (*p == '*') {
      ++p;
      const int pos = readPosition(p);
      if (pos == -2) return false;
      *slot = pos >= 0 ? pos : next_++;
      return use(*slot, ArgType::Int);
    }
    if (isDigit(*p)) return readNumber(p, value);
    return true;
  }

  static ArgType valueType(char conv, char length) {
    switch (conv) {
      case 'd': case 'i': case 'o': case 'u': case 'x': case 'X':
        return length == 'l' ? ArgType::Long : length == 'L' ? ArgType::LLong : ArgType::Int;
      case 'c': case 'C':
        return ArgType::Int;
      case 's': case 'S': case 'p': case 'n':
        return ArgType::Pointer;
      case 'e': case 'E': case 'f': case 'g': case 'G':
        return length == 'L' ? ArgType::LDouble : ArgType::Double;
      default:
        return ArgType::None;
    }
  }

  // Gives a slot its type; a slot read as two different types cannot be
  // fetched.
  bool use(int slot, ArgType type) {
    if (slot < 0 || slot >= maxSlots_) return false;
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

  Directive *dirs_ = nullptr;
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
fmt::Spec specOf(const Format &f, const Directive &d) {
  fmt::Spec s;
  s.flags = d.flags;
  s.conv = d.conv == 'i' ? 'd' : d.conv;
  s.width = d.width;
  s.precision = d.prec;
  if (d.widthArg >= 0) {
    const long long w = static_cast<int>(f.arg(d.widthArg).i);
    if (w < 0) s.flags |= fmt::kLeft;
    s.width = static_cast<int32_t>(w < 0 ? (w < -INT_MAX ? INT_MAX : -w) : w);
  }
  if (d.precArg >= 0) {
    const int pr = static_cast<int>(f.arg(d.precArg).i);
    s.precision = pr < 0 ? -1 : pr;
  }
  return s;
}

// Wide characters and strings, converted under the handle.
template <class Sink>
bool putWide(Sink &out, CodeSetT cs, const fmt::Spec &spec, bool isString, const Arg &a) {
  static const uint16_t kEmpty[1] = {0};
  CxPrintfArg arg{};
  if (isString) {
    arg.type = CX_PRINTF_ARG_WSTRING;
    arg.value.p = a.p != nullptr ? a.p : kEmpty;  // a null wide string prints as empty
  } else {
    arg.type = CX_PRINTF_ARG_WCHAR;
    arg.value.i = static_cast<uint16_t>(a.i);
  }
  CxStringBuff text{};
  cx::BuffSink sink{&text, fmt::kMaxFormatted};
  bool ok = cx::printfEmitWide(cs, sink, spec, isString, arg);
  if (ok && text.length > 0) ok = out.put(text.data, text.length);
  CxStringBuffDiscard(&text);
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
bool putDirective(Sink &out, CodeSetT cs, const Format &f, const Directive &d) {
  const fmt::Spec spec = specOf(f, d);
  const Arg &a = f.arg(d.arg < 0 ? 0 : d.arg);
  const bool wideLength = d.length == 'l';
  switch (d.conv) {
    case '%':
      return fmt::putBytes(out, spec, "%", 1);
    case 'd': case 'i': {
      long long v = a.i;
      if (d.length == 'h') v = static_cast<short>(v);
      if (d.length == 0) v = static_cast<int>(v);
      const bool negative = v < 0;
      const uint64_t magnitude =
          negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
      return putInt(out, spec, magnitude, negative);
    }
    case 'o': case 'u': case 'x': case 'X': {
      uint64_t v = static_cast<unsigned long long>(a.i);
      if (d.length == 'h') v = static_cast<unsigned short>(v);
      if (d.length == 0) v = static_cast<unsigned int>(v);
      if (d.length == 'l') v = static_cast<unsigned long>(v);
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
    const Directive &d = f.directive(i);
    if (!out.put(d.lit, d.litLen)) break;
    if (d.known && !putDirective(out, cs, f, d)) {
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
