// Arbitrary bytes as a conversion table image, and arbitrary text through it:
// the table check must refuse what a converter could not use safely, and every
// converter must stay inside the image and the caller's buffers. Input: byte 0
// picks the converter kind, byte 1 the text length (taken from the end); the
// rest is the image, padded with zeros to the smallest table size.
#include "fuzz_common.h"
#include "ilx/codeset.h"

static const uint16_t kKinds[] = {1, 2, 3, 4, 6, 8, 9, 10};

template <class In, class Out, class Dispatch>
static void convert(Dispatch dispatch, CodeSet *cs, const In *text, size_t len, size_t window) {
  std::vector<Out> out(window + 4);
  size_t left = len;
  for (int guard = 0; guard < 4096 && left > 0; ++guard) {
    size_t take = left < window ? left : window, inleft = take, outleft = window;
    Out *op = out.data();
    int r = dispatch(cs, &text, &inleft, &op, &outleft);
    fuzz::require(r >= 0 && r <= 2 && outleft <= window && op <= out.data() + window);
    left -= take - inleft;
    if (take == inleft && (r != 1 || window > 16)) break;  // no progress possible
  }
  Out *op = out.data();
  size_t outleft = window;
  dispatch(cs, nullptr, nullptr, &op, &outleft);
}

FUZZ_TARGET(in) {
  if (in.n < 2) return;
  const uint16_t kind = kKinds[in.next(1) % 8];
  const size_t wanted = in.next(1);
  const size_t textLen = wanted < in.n ? wanted : in.n;
  const uint8_t *text = in.p + in.n - textLen;
  std::vector<uint8_t> image(in.p, text);
  if (image.size() < ilx::hdr::kMinSize) image.resize(ilx::hdr::kMinSize, 0);
  std::memcpy(&image[ilx::hdr::kMagic], "ucv", 3);
  image[ilx::hdr::kKind] = static_cast<uint8_t>(kind);
  image[ilx::hdr::kKind + 1] = 0;

  // An exact-size copy, so that any read past the image is caught.
  auto *copy = static_cast<uint8_t *>(std::malloc(image.size()));
  std::memcpy(copy, image.data(), image.size());
  uint16_t checkedKind = 0;
  if (ilx::checkTable(copy, image.size(), &checkedKind)) {
    CodeSet cs{};
    cs.table = copy;
    cs.tableSize = static_cast<uint32_t>(image.size());
    cs.kind = checkedKind;
    const char *bytes = reinterpret_cast<const char *>(text);
    std::vector<uint16_t> units(textLen / 2);
    if (!units.empty()) std::memcpy(units.data(), text, units.size() * 2);
    for (size_t window : {size_t(1), size_t(3), size_t(512)}) {
      convert<char, uint16_t>(ilx_to_ucs2_r, &cs, bytes, textLen, window);
      convert<char, char>(ilx_to_utf8_r, &cs, bytes, textLen, window);
      convert<char, char>(ilx_from_utf8_r, &cs, bytes, textLen, window);
      convert<uint16_t, char>(ilx_from_ucs2_r, &cs, units.data(), units.size(), window);
    }
  }
  std::free(copy);
}
