// The four dispatchers: choose the converter of the handle's kind and work
// with counts of units left instead of end positions.
#include "ilx/converter_loop.h"

namespace ilx {

namespace {

// Runs converter `conv` over (*in, *inleft) and (*out, *outleft). A null
// input position is a flush; missing counts read as nothing left.
template <class In, class Out, class Conv>
int dispatch(Conv conv, CodeSet *cs, const In **in, size_t *inleft, Out **out, size_t *outleft) {
  size_t inl = inleft != nullptr ? *inleft : 0, outl = outleft != nullptr ? *outleft : 0;
  Out *o = out != nullptr ? *out : nullptr;
  Out *oend = o != nullptr ? o + outl : nullptr;
  if (in == nullptr || *in == nullptr) {
    int r = conv(cs, nullptr, nullptr, &o, oend);
    if (out != nullptr && o != nullptr) {
      if (outleft != nullptr) *outleft -= static_cast<size_t>(o - *out);
      *out = o;
    }
    return r;
  }
  const In *i = *in;
  int r = conv(cs, &i, i + inl, &o, oend);
  if (inleft != nullptr) *inleft -= static_cast<size_t>(i - *in);
  *in = i;
  if (out != nullptr && o != nullptr) {
    if (outleft != nullptr) *outleft -= static_cast<size_t>(o - *out);
    *out = o;
  }
  return r;
}

}  // namespace

const Converters &convertersFor(const CodeSet *cs) {
  const KindInfo &k = kindInfo(cs->kind);
  if (k.layout != TableLayout::kNone && cs->table == nullptr) return kindInfo(kOs).converters;
  return k.converters;
}

}  // namespace ilx

extern "C" {

int ilx_to_ucs2_r(CodeSetT cs, const char **in, size_t *inleft, uint16_t **out, size_t *outleft) {
  CodeSet *c = ilx::resolve(cs);
  return ilx::dispatch(ilx::convertersFor(c).toUcs2, c, in, inleft, out, outleft);
}

int ilx_from_ucs2_r(CodeSetT cs, const uint16_t **in, size_t *inleft, char **out,
                    size_t *outleft) {
  CodeSet *c = ilx::resolve(cs);
  return ilx::dispatch(ilx::convertersFor(c).fromUcs2, c, in, inleft, out, outleft);
}

int ilx_to_utf8_r(CodeSetT cs, const char **in, size_t *inleft, char **out, size_t *outleft) {
  CodeSet *c = ilx::resolve(cs);
  return ilx::dispatch(ilx::convertersFor(c).toUtf8, c, in, inleft, out, outleft);
}

int ilx_from_utf8_r(CodeSetT cs, const char **in, size_t *inleft, char **out, size_t *outleft) {
  CodeSet *c = ilx::resolve(cs);
  return ilx::dispatch(ilx::convertersFor(c).fromUtf8, c, in, inleft, out, outleft);
}

}  // extern "C"
