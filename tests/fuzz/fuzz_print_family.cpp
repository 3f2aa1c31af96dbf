// Random formats through the ilx print family (ilx_sprintf, ilx_fprintf).
// The input is the format. The harness reads the format's directives the way
// the family does (flags, "*" widths and precisions, h l ll L lengths) and
// calls it with arguments of exactly the types those directives read, up to
// three of them; formats with argument numbers or more slots go through with
// no arguments only when they have no conversions at all. Strings are one
// buffer that is a valid byte string and a valid wide string. Nothing may
// crash, read out of bounds or leak; a result that is not negative is the
// length of the text written.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "lumex/ilx.h"

namespace {

enum class T { Int, Long, LLong, Double, LDouble, Ptr };

constexpr int kMaxSlots = 3;
constexpr size_t kOut = (size_t{16} << 20) + 1;  // the family's bound and its NUL

// Argument types in slot order, or -1 when the harness cannot supply them.
int slotTypes(const char *f, T *types) {
  int n = 0;
  const auto add = [&](T t) {
    if (n == kMaxSlots) return false;
    types[n++] = t;
    return true;
  };
  for (const char *p = f; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p >= '1' && *p <= '9') {
      const char *q = p;
      while (*q >= '0' && *q <= '9') ++q;
      if (*q == '$') return -1;
    }
    while (std::strchr(" #'+-0", *p) != nullptr && *p != '\0') ++p;
    const auto size = [&]() {
      if (*p == '*') {
        ++p;
        if (*p >= '1' && *p <= '9') return false;  // "*n$": numbered
        return add(T::Int);
      }
      while (*p >= '0' && *p <= '9') ++p;
      return true;
    };
    if (!size()) return -1;
    if (*p == '.') {
      ++p;
      if (!size()) return -1;
    }
    char len = 0;
    if (*p == 'h') {
      len = 'h';
      ++p;
    } else if (*p == 'l') {
      len = 'l';
      if (*++p == 'l') {
        len = 'L';
        ++p;
      }
    } else if (*p == 'L') {
      len = 'L';
      ++p;
    }
    bool ok = true;
    switch (*p) {
      case 'd': case 'i': case 'o': case 'u': case 'x': case 'X':
        ok = add(len == 'l' ? T::Long : len == 'L' ? T::LLong : T::Int);
        break;
      case 'c': case 'C': ok = add(T::Int); break;
      case 's': case 'S': case 'p': case 'n': ok = add(T::Ptr); break;
      case 'e': case 'E': case 'f': case 'g': case 'G':
        ok = add(len == 'L' ? T::LDouble : T::Double);
        break;
      case '\0': return n;
      default: break;
    }
    if (!ok) return -1;
  }
  return n;
}

// Text and wide text at once: "ab" as bytes, L"a" then units of 'b' as wide.
alignas(2) const char kText[] = {'a', 0, 'b', 0, 0, 0};
char *out = nullptr;
FILE *devNull = nullptr;

template <class... A>
void run(const char *format, A... args) {
  const int n = ilx_sprintf(nullptr, nullptr, out, format, args...);
  if (n >= 0 && std::strlen(out) != static_cast<size_t>(n)) __builtin_trap();
  ilx_fprintf(nullptr, nullptr, devNull, format, args...);
}

template <class... A>
void call(const char *format, const T *types, int count, A... args) {
  constexpr int have = static_cast<int>(sizeof...(A));
  if (have == count) return run(format, args...);
  if constexpr (have < kMaxSlots) {
    switch (types[have]) {
      case T::Int: return call(format, types, count, args..., -42);
      case T::Long: return call(format, types, count, args..., -420000L);
      case T::LLong: return call(format, types, count, args..., -4200000000LL);
      case T::Double: return call(format, types, count, args..., 3.25e10);
      case T::LDouble: return call(format, types, count, args..., 1.5L);
      case T::Ptr: return call(format, types, count, args..., static_cast<const void *>(kText));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (out == nullptr) {
    static char buffer[kOut];
    out = buffer;
    devNull = std::fopen("/dev/null", "w");
    if (devNull == nullptr) return 0;
  }
  const std::string format(reinterpret_cast<const char *>(data), size);
  T types[kMaxSlots];
  const int count = slotTypes(format.c_str(), types);
  if (count >= 0) call(format.c_str(), types, count);
  return 0;
}
