// Converting in small windows must give exactly what one call over the
// whole text gives: the same output, the same end position and the same
// substitution count, for every converter kind and window sizes 1 to 8.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lumex/ilx.h"

namespace {

template <class Out>
struct Outcome {
  std::vector<Out> out;
  size_t consumed;
  int subs;
  bool operator==(const Outcome &o) const {
    return out == o.out && consumed == o.consumed && subs == o.subs;
  }
};

// Runs conv over `in` with input and output windows of `w` units (w = 0:
// one call over everything). A window grows only when a character cannot
// be finished in it. From-Unicode conversions end with flush calls.
template <class In, class Out, class Conv>
Outcome<Out> run(Conv conv, CodeSetT cs, const std::vector<In> &in, size_t w, bool flush) {
  conv(cs, nullptr, nullptr, nullptr, nullptr);  // initial shift state
  ilx_check_subs(cs);
  Outcome<Out> res{{}, 0, 0};
  size_t inWin = w ? w : in.size(), outWin = w ? w : 8 * in.size() + 8;
  for (int guard = 0; guard < 100000 && res.consumed < in.size(); ++guard) {
    size_t avail = std::min(in.size() - res.consumed, inWin);
    std::vector<Out> buf(outWin);
    const In *start = in.data() + res.consumed, *ip = start;
    Out *op = buf.data();
    int r = conv(cs, &ip, start + avail, &op, op + outWin);
    size_t used = static_cast<size_t>(ip - start), made = static_cast<size_t>(op - buf.data());
    res.out.insert(res.out.end(), buf.data(), op);
    res.consumed += used;
    if (r == ILX_CONV_CUT) {
      if (res.consumed + (avail - used) >= in.size()) break;  // the text itself ends there
      inWin = avail - used + (w ? w : in.size());
    } else if (r == ILX_CONV_FULL && made == 0) {
      outWin += w ? w : 8;
    } else {
      inWin = w ? w : in.size();
      outWin = w ? w : 8 * in.size() + 8;
    }
  }
  if (flush) {
    for (size_t room = w ? w : 8;; ++room) {
      std::vector<Out> buf(room);
      Out *op = buf.data();
      int r = conv(cs, nullptr, nullptr, &op, op + room);
      res.out.insert(res.out.end(), buf.data(), op);
      if (r == ILX_CONV_DONE) break;
    }
  }
  res.subs = ilx_check_subs(cs);
  return res;
}

// The dispatchers in the converters' shape (positions and ends).
template <class In, class Out, int (*Dispatch)(CodeSetT, const In **, size_t *, Out **, size_t *)>
int viaDispatcher(CodeSetT cs, const In **in, const In *end, Out **out, Out *oend) {
  size_t ol = out != nullptr ? static_cast<size_t>(oend - *out) : 0;
  if (in == nullptr) return Dispatch(cs, nullptr, nullptr, out, out != nullptr ? &ol : nullptr);
  size_t il = static_cast<size_t>(end - *in);
  return Dispatch(cs, in, &il, out, &ol);
}
constexpr auto ilx_to_ucs2_conv = viaDispatcher<char, uint16_t, ilx_to_ucs2_r>;
constexpr auto ilx_to_utf8_conv = viaDispatcher<char, char, ilx_to_utf8_r>;
constexpr auto ilx_from_ucs2_conv = viaDispatcher<uint16_t, char, ilx_from_ucs2_r>;
constexpr auto ilx_from_utf8_conv = viaDispatcher<char, char, ilx_from_utf8_r>;

std::vector<char> bytesOf(const std::string &s) { return std::vector<char>(s.begin(), s.end()); }

// A text with characters of one to four UTF-8 bytes, shift-worthy runs of
// CJK characters and a few characters most code sets lack.
const std::string kSample =
    "Gr\xC3\xBC\xC3\x9F" "e, \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E A\xE3\x81\x82\xEF\xBD\xB1"
    " \xE2\x82\xAC \xE4\xB8\x82\xF0\x9F\x98\x80 \xD0\x96\xCE\xA9\n\xE3\x80\x80z";

class Resumable : public ::testing::TestWithParam<const char *> {
 protected:
  void SetUp() override {
    cs_ = ilx_cs_new(GetParam());
    ASSERT_NE(cs_, nullptr) << GetParam();
  }
  void TearDown() override { ilx_cs_free(cs_); }
  // The sample in the code set, with malformed bytes around it.
  std::vector<char> native() {
    std::vector<char> buf(4 * kSample.size() + 8);
    int n = ilx_from_utf8(cs_, kSample.data(), static_cast<int>(kSample.size()), buf.data(),
                          static_cast<int>(buf.size()));
    buf.resize(static_cast<size_t>(n));
    buf.insert(buf.begin() + n / 2, {'\x80', '\xFF'});
    buf.push_back('\xFF');
    return buf;
  }
  CodeSetT cs_ = nullptr;
};

TEST_P(Resumable, WindowsGiveTheSameResultAsOneCall) {
  std::vector<char> text = native();
  std::vector<char> utf8 = bytesOf(kSample + "\x80 \xE2\x82");  // a stray byte, a cut-off end
  std::vector<uint16_t> ucs2(64);
  CodeSetT u8 = ilx_cs_new("UTF8");
  int n = ilx_to_ucs2(u8, kSample.data(), static_cast<int>(kSample.size()), ucs2.data(), 64);
  ucs2.resize(static_cast<size_t>(n));
  ucs2.insert(ucs2.begin() + 3, 0xDC00);  // a lone low surrogate
  ucs2.push_back(0xD800);                 // a high surrogate at the end

  auto whole1 = run<char, uint16_t>(ilx_to_ucs2_conv, cs_, text, 0, false);
  auto whole2 = run<char, char>(ilx_to_utf8_conv, cs_, text, 0, false);
  auto whole3 = run<uint16_t, char>(ilx_from_ucs2_conv, cs_, ucs2, 0, true);
  auto whole4 = run<char, char>(ilx_from_utf8_conv, cs_, utf8, 0, true);
  EXPECT_GT(whole1.out.size(), 10u);
  EXPECT_GT(whole3.out.size(), 10u);
  for (size_t w = 1; w <= 8; ++w) {
    EXPECT_EQ((run<char, uint16_t>(ilx_to_ucs2_conv, cs_, text, w, false)), whole1) << "to UCS-2, window " << w;
    EXPECT_EQ((run<char, char>(ilx_to_utf8_conv, cs_, text, w, false)), whole2) << "to UTF-8, window " << w;
    EXPECT_EQ((run<uint16_t, char>(ilx_from_ucs2_conv, cs_, ucs2, w, true)), whole3) << "from UCS-2, window " << w;
    EXPECT_EQ((run<char, char>(ilx_from_utf8_conv, cs_, utf8, w, true)), whole4) << "from UTF-8, window " << w;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Resumable,
                         ::testing::Values("UTF-8", "INTERNAL37", "ISO-8859-1", "IBM1047", "CP932",
                                           "EUC-JP", "IBM939", "GB18030"),
                         [](const ::testing::TestParamInfo<const char *> &i) {
                           std::string n = i.param;
                           for (char &c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
