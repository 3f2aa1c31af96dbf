// One character of multibyte text on a code set handle, and a cursor that
// walks a NUL-terminated string character by character.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ilx/codeset.h"

namespace ilx {

// Bytes below 0x80 are one-byte characters equal to their Unicode value.
inline bool asciiCompatible(const CodeSet *h) { return kindInfo(h->kind).base == KindBase::kAscii; }
// Every character is one byte.
inline bool singleByte(const CodeSet *h) { return kindInfo(h->kind).width == KindWidth::kSingle; }
// Shift codes switch between one- and two-byte runs.
inline bool stateful(const CodeSet *h) { return kindInfo(h->kind).shiftStates; }

// The character at s, at most n bytes (n > 0): its length, 0 for the NUL
// character, -1 when no unit was produced. *wc may be null.
int decodeChar(CodeSet *h, uint16_t *wc, const char *s, size_t n);
// Length of the character at s, at most n bytes, a surrogate pair counting
// as one character: 0 at the NUL, -1 when invalid.
int charLength(CodeSet *h, const char *s, size_t n);
// The bytes of wc into out (room for 4): their number, or -1.
int encodeChar(CodeSet *h, char *out, uint16_t wc);

// The same for a character of a NUL-terminated string: the converter sees at
// most 4 bytes (and no more than limit), the terminating NUL included so that
// a closing shift code before it reads as the end, but a character that would
// take the NUL as one of its bytes is invalid.
int decodeInString(CodeSet *h, uint16_t *wc, const char *s, size_t limit = 4);
int lengthInString(CodeSet *h, const char *s);

// A position in a NUL-terminated string with its own to-shift state, so that
// two strings can be walked side by side with one handle.
class Cursor {
 public:
  Cursor(CodeSet *h, const char *s) : h_(h), p_(s) {}

  const char *pos() const { return p_; }
  bool atEnd() const { return *p_ == 0; }
  unsigned char byte() const { return static_cast<unsigned char>(*p_); }

  // Length of the character here, as charLength gives it.
  int rawLength() {
    if (len_ == kUnknown) {
      const uint8_t saved = h_->toShift;
      h_->toShift = shift_;
      len_ = lengthInString(h_, p_);
      after_ = h_->toShift;
      h_->toShift = saved;
    }
    return len_;
  }
  // Length of the character here, an invalid or zero length counting as one byte.
  size_t step() {
    const int n = rawLength();
    return n > 0 ? static_cast<size_t>(n) : 1;
  }
  void next() {
    const size_t n = step();
    if (len_ > 0) shift_ = after_;
    p_ += n;
    len_ = kUnknown;
  }
  // Decodes the character here (at most limit bytes): as decodeChar.
  // stateBefore receives the shift state in force before the character.
  int decode(uint16_t *wc, size_t limit, uint8_t *stateBefore = nullptr) {
    if (stateBefore) *stateBefore = shift_;
    const uint8_t saved = h_->toShift;
    h_->toShift = shift_;
    const int r = decodeInString(h_, wc, p_, limit);
    const uint8_t after = h_->toShift;
    h_->toShift = saved;
    if (r > 0 && len_ == kUnknown) {
      len_ = r;
      after_ = after;
    }
    return r;
  }

 private:
  static constexpr int kUnknown = -2;
  CodeSet *h_;
  const char *p_;
  uint8_t shift_ = 0;
  uint8_t after_ = 0;
  int len_ = kUnknown;
};

}  // namespace ilx
