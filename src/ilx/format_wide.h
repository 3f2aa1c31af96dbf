// Wide forms of printf values (%lc %C %ls %S): 16-bit units converted into
// the code set of a handle, the width and precision counting converted bytes.
// Writes through the same sinks as the value formatters (format_value.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ilx/format_value.h"
#include "lumex/ilx.h"

namespace ilx::fmt {

namespace detail {

// A wide string as a body: its units up to the byte limit, converted once to
// count them and again to emit them.
struct WideBody {
  CodeSetT cs;
  const uint16_t *ws;
  size_t n;  // converted bytes, from measure()

  // Counts the bytes that fit the limit (negative: none); no unit is read
  // once the limit is used up, as the array may end there. False when a unit
  // cannot be converted.
  bool measure(int32_t limit) {
    const uint64_t most = limit < 0 ? UINT64_MAX : static_cast<uint64_t>(limit);
    uint64_t used = 0;
    for (const uint16_t *u = ws; used < most && *u != 0; ++u) {
      char bytes[4];
      const int k = ilx_wctomb(cs, bytes, *u);
      if (k < 0) return false;
      if (used + static_cast<uint64_t>(k) > most) break;
      used += static_cast<uint64_t>(k);
    }
    n = static_cast<size_t>(used);
    return true;
  }
  size_t length() const { return n; }
  template <class Sink>
  bool emit(Sink &out) const {
    size_t done = 0;
    for (const uint16_t *u = ws; done < n; ++u) {
      char bytes[4];
      const int k = ilx_wctomb(cs, bytes, *u);
      if (k < 0 || !out.put(bytes, static_cast<size_t>(k))) return false;
      done += static_cast<size_t>(k);
    }
    return true;
  }
};

}  // namespace detail

// One wide character, converted under the handle and padded to the width.
template <class Sink>
bool putWideChar(Sink &out, const Spec &s, CodeSetT cs, uint16_t unit) {
  char bytes[4];
  const int n = ilx_wctomb(cs, bytes, unit);
  return n >= 0 && putBytes(out, s, bytes, static_cast<size_t>(n));
}

// A wide string limited by the precision in bytes, converted under the
// handle and padded to the width; a null string prints as the empty text.
// Nothing is written when a unit cannot be converted.
template <class Sink>
bool putWideString(Sink &out, const Spec &s, CodeSetT cs, const uint16_t *ws) {
  if (ws == nullptr) return putBytes(out, s, "", 0);
  detail::WideBody body{cs, ws, 0};
  return body.measure(s.precision) && detail::padded(out, s, "", 0, 0, false, body);
}

}  // namespace ilx::fmt
