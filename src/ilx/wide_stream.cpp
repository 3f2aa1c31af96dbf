// Wide characters on byte streams: characters of a code set are read byte by
// byte until they convert, and written as their converted bytes.
#include <cstdio>

#include "lumex/ilx.h"

namespace {

// Room for the bytes of one character of any code set (shift codes
// included).
constexpr int kCharBytes = 8;

}  // namespace

extern "C" {

uint16_t ilx_fgetwc(CodeSetT cs, FILE *stream) {
  if (stream == nullptr) return ILX_WEOF;
  char bytes[4];
  int n = 0;
  while (n < 4) {
    const int c = std::getc(stream);
    if (c == EOF) {
      // An incomplete character stays readable.
      while (n > 0) std::ungetc(static_cast<unsigned char>(bytes[--n]), stream);
      return ILX_WEOF;
    }
    bytes[n++] = static_cast<char>(c);
    uint16_t wc = 0;
    const int len = ilx_mbtowc(cs, &wc, bytes, static_cast<size_t>(n));
    if (len == 0) return 0;
    if (len > 0) return wc;
  }
  return ILX_WEOF;
}

uint16_t *ilx_fgetws(CodeSetT cs, uint16_t *buf, int size, FILE *stream) {
  if (buf == nullptr || size <= 0 || stream == nullptr) return nullptr;
  int n = 0;
  while (n < size - 1) {
    const uint16_t wc = ilx_fgetwc(cs, stream);
    if (wc == ILX_WEOF) {
      if (n == 0) return nullptr;
      break;
    }
    buf[n++] = wc;
    if (wc == '\n') break;
  }
  buf[n] = 0;
  return buf;
}

uint16_t ilx_ungetwc(CodeSetT cs, uint16_t wc, FILE *stream) {
  if (wc == ILX_WEOF || stream == nullptr) return ILX_WEOF;
  char bytes[kCharBytes];
  int n = ilx_wctomb(cs, bytes, wc);
  if (n <= 0) return ILX_WEOF;
  while (n > 0)
    if (std::ungetc(static_cast<unsigned char>(bytes[--n]), stream) == EOF) return ILX_WEOF;
  return wc;
}

uint16_t ilx_fputwc(CodeSetT cs, uint16_t wc, FILE *stream) {
  if (stream == nullptr) return ILX_WEOF;
  char bytes[kCharBytes];
  const int n = ilx_wctomb(cs, bytes, wc);
  if (n < 0) return ILX_WEOF;
  if (std::fwrite(bytes, 1, static_cast<size_t>(n), stream) != static_cast<size_t>(n))
    return ILX_WEOF;
  return wc;
}

int ilx_fputws(CodeSetT cs, const uint16_t *ws, FILE *stream) {
  if (ws == nullptr || stream == nullptr) return ILX_WEOF;
  int n = 0;
  for (; ws[n] != 0; ++n)
    if (ilx_fputwc(cs, ws[n], stream) == ILX_WEOF) return ILX_WEOF;
  return n;
}

}  // extern "C"
