// Re-coding whole texts between code sets: to UTF-8, from UTF-8, and from
// one code set to another through UCS-2. The result goes into the buffer the
// slot holds, or into a new one that the slot receives and the caller frees
// with BasMemoryFree. Null only when memory runs out.
#include <cstring>

#include "lumex/ilx.h"

namespace {

// Converts text with conv (input, length, output, output size without the
// NUL -> bytes written, or -1) into a buffer of factor x length + 1 bytes.
template <typename Conv>
char *recode(const char *text, char **slot, size_t factor, Conv conv) {
  if (text == nullptr) text = "";
  const size_t len = std::strlen(text);
  const size_t size = factor * len + 1;
  if (size > INT32_MAX) return nullptr;
  const bool own = slot == nullptr || *slot == nullptr;
  char *buf = own ? static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(size))) : *slot;
  if (buf == nullptr) return nullptr;
  const int n = conv(text, static_cast<int>(len), buf, static_cast<int>(size) - 1);
  if (n < 0) {
    buf[0] = '\0';
    if (!own) return buf;
    BasMemoryFree(buf);
    return nullptr;
  }
  buf[n] = '\0';
  if (own && slot != nullptr) *slot = buf;
  return buf;
}

}  // namespace

extern "C" {

char *ilx_s2u(CodeSetT cs, const char *text, char **slot) {
  return recode(text, slot, 3, [&](const char *in, int len, char *out, int cap) {
    return ilx_to_utf8(cs, in, len, out, cap);
  });
}

char *ilx_u2s(CodeSetT cs, const char *text, char **slot) {
  return recode(text, slot, 2, [&](const char *in, int len, char *out, int cap) {
    return ilx_from_utf8(cs, in, len, out, cap);
  });
}

char *ilx_strconv(CodeSetT from, CodeSetT to, const char *text, char **slot) {
  return recode(text, slot, 4, [&](const char *in, int len, char *out, int cap) {
    // No code set gives more than one UCS-2 unit per input byte.
    auto *wide = static_cast<uint16_t *>(BasMemoryMalloc(static_cast<uint32_t>(len + 1) * 2u));
    if (wide == nullptr) return -1;
    const int units = ilx_to_ucs2(from, in, len, wide, len + 1);
    const int n = ilx_from_ucs2(to, wide, units, out, cap);
    BasMemoryFree(wide);
    return n;
  });
}

}  // extern "C"
