// The input as a format for ilx_sprintf and ilx_fprintf, with arguments of
// exactly the types its directives read, up to three (formats with argument
// numbers or more slots run only when they convert nothing). Nothing may
// crash, read out of bounds or leak; a result of 0 or more is the length.
#include "fuzz_common.h"
#include "lumex/ilx.h"

enum class T { Int, Long, LLong, Double, LDouble, Ptr };
constexpr int kMaxSlots = 3;

// Argument types in slot order, read the way the family reads directives
// (flags, "*" sizes, h l ll L lengths), or -1 when they cannot be supplied.
static int slotTypes(const char *f, T *types) {
  int n = 0;
  const auto add = [&](T t) {
    if (n == kMaxSlots) return false;
    types[n++] = t;
    return true;
  };
  for (const char *p = f; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p >= '1' && *p <= '9' && p[std::strspn(p, "0123456789")] == '$') return -1;
    p += std::strspn(p, " #'+-0");
    const auto size = [&]() {
      if (*p != '*') {
        p += std::strspn(p, "0123456789");
        return true;
      }
      ++p;
      return !(*p >= '1' && *p <= '9') && add(T::Int);  // "*n$" is numbered
    };
    if (!size()) return -1;
    if (*p == '.' && (++p, !size())) return -1;
    char len = *p != '\0' && std::strchr("hlL", *p) != nullptr ? *p++ : 0;
    if (len == 'l' && *p == 'l') {
      len = 'L';
      ++p;
    }
    if (*p == '\0') return n;
    bool ok = true;
    if (std::strchr("diouxX", *p)) ok = add(len == 'l' ? T::Long : len == 'L' ? T::LLong : T::Int);
    if (std::strchr("cC", *p)) ok = add(T::Int);
    if (std::strchr("sSpn", *p)) ok = add(T::Ptr);
    if (std::strchr("eEfgG", *p)) ok = add(len == 'L' ? T::LDouble : T::Double);
    if (!ok) return -1;
  }
  return n;
}

// One buffer for strings: the byte string "a" and the wide string L"ab".
alignas(2) static const char kText[] = {'a', 0, 'b', 0, 0, 0};
static char out[(size_t{16} << 20) + 1];  // the family's bound and its NUL
static FILE *const devNull = std::fopen("/dev/null", "w");

template <class... A>
static void run(const char *format, A... args) {
  const int n = ilx_sprintf(nullptr, nullptr, out, format, args...);
  fuzz::require(n < 0 || std::strlen(out) == static_cast<size_t>(n));
  ilx_fprintf(nullptr, nullptr, devNull, format, args...);
}

template <class... A>
static void call(const char *format, const T *types, int count, A... args) {
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

FUZZ_TARGET(in) {
  if (devNull == nullptr) return;
  const std::string format = in.str();
  T types[kMaxSlots];
  const int count = slotTypes(format.c_str(), types);
  if (count >= 0) call(format.c_str(), types, count);
}
