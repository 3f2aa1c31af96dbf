// Whole-string conversions between a code set and UTF-8 or UCS-2, and their
// allocating forms.
#include "ilx/codeset.h"
#include "ilx/memory.h"

namespace ilx {
namespace {

template <class T>
size_t measure(const T *s) {
  size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

// One conversion of a whole text through dispatcher `conv`. toward: true
// for conversions to Unicode (the to-shift state is reset after), false for
// conversions from Unicode (a flush call ends the output in the initial
// shift state).
template <class In, class Out, class Conv>
int convertWhole(Conv conv, bool toward, CodeSetT h, const In *in, int inlen, Out *out,
                 int outcap) {
  if (outcap <= 0 || out == nullptr) return 0;
  CodeSet *cs = resolve(h);
  if (toward) cs->toShift = 0;
  else cs->fromShift = 0;
  bool terminate = inlen < 0;
  size_t inleft = in == nullptr ? 0 : terminate ? measure(in) : static_cast<size_t>(inlen);
  size_t outleft = static_cast<size_t>(outcap) - (terminate ? 1 : 0);
  Out *o = out;
  const In *i = in;
  if (inleft > 0) conv(cs, &i, &inleft, &o, &outleft);
  if (!toward) conv(cs, nullptr, nullptr, &o, &outleft);
  if (terminate) *o++ = 0;
  if (toward) cs->toShift = 0;
  return static_cast<int>(o - out);
}

// Converts into a new buffer of factor x len + 1 units, NUL-terminated.
template <class Conv>
char *convertAlloc(Conv conv, bool toward, size_t factor, CodeSetT cs, const char *in, int len,
                   int *count) {
  if (count != nullptr) *count = 0;
  if (len < 0 || static_cast<size_t>(len) > (0x7FFFFFFEu - 1) / factor) return nullptr;
  size_t cap = factor * static_cast<size_t>(len);
  char *buf = allocate<char>(cap + 1);
  if (buf == nullptr) return nullptr;
  int n = convertWhole(conv, toward, cs, in, len, buf, static_cast<int>(cap));
  buf[n] = '\0';
  if (count != nullptr) *count = n;
  return buf;
}

}  // namespace
}  // namespace ilx

extern "C" {

int ilx_to_utf8(CodeSetT cs, const char *in, int inlen, char *out, int outcap) {
  return ilx::convertWhole(ilx_to_utf8_r, true, cs, in, inlen, out, outcap);
}

int ilx_from_utf8(CodeSetT cs, const char *in, int inlen, char *out, int outcap) {
  return ilx::convertWhole(ilx_from_utf8_r, false, cs, in, inlen, out, outcap);
}

int ilx_to_ucs2(CodeSetT cs, const char *in, int inlen, uint16_t *out, int outcap) {
  return ilx::convertWhole(ilx_to_ucs2_r, true, cs, in, inlen, out, outcap);
}

int ilx_from_ucs2(CodeSetT cs, const uint16_t *in, int inlen, char *out, int outcap) {
  return ilx::convertWhole(ilx_from_ucs2_r, false, cs, in, inlen, out, outcap);
}

char *ilx_fromu_alloc(CodeSetT cs, const char *in, int len, int *count) {
  return ilx::convertAlloc(ilx_from_utf8_r, false, 2, cs, in, len, count);
}

char *ilx_tou_alloc(CodeSetT cs, const char *in, int len, int *count) {
  return ilx::convertAlloc(ilx_to_utf8_r, true, 3, cs, in, len, count);
}

void ilx_free(void *p) { BasMemoryFree(p); }

}  // extern "C"
