// Converter behaviour at the edges: cut-off and malformed input, surrogates,
// shift codes and flushes, GB 18030 four-byte sequences, EBCDIC new lines,
// output that runs out, and substitution counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumex/ilx.h"

namespace {

struct Handle {
  explicit Handle(const char *name) : cs(ilx_cs_new(name)) {}
  ~Handle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

using U16 = std::vector<uint16_t>;

// One call of a to-UCS-2 converter; reports result, bytes consumed, output.
struct ToUcs2 {
  int result;
  long consumed;
  U16 out;
};
ToUcs2 toUcs2(int (*conv)(CodeSetT, const char **, const char *, uint16_t **, uint16_t *),
              CodeSetT cs, const std::string &in, size_t room) {
  std::vector<uint16_t> buf(room + 1);
  const char *ip = in.data();
  uint16_t *op = buf.data();
  int r = conv(cs, &ip, in.data() + in.size(), &op, buf.data() + room);
  return {r, ip - in.data(), U16(buf.data(), op)};
}

struct FromUcs2 {
  int result;
  long consumed;
  std::string out;
};
FromUcs2 fromUcs2(int (*conv)(CodeSetT, const uint16_t **, const uint16_t *, char **, char *),
                  CodeSetT cs, const U16 &in, size_t room) {
  std::string buf(room + 1, '\0');
  const uint16_t *ip = in.data();
  char *op = &buf[0];
  int r = conv(cs, &ip, in.data() + in.size(), &op, &buf[0] + room);
  return {r, ip - in.data(), std::string(&buf[0], op)};
}

TEST(Utf8Converters, CutOffSequencesResumeWhereTheyStopped) {
  CodeSetT u = ilx_cs_new("utf-8");
  ilx_check_subs(u);  // the handle is shared: start from a zero count
  ToUcs2 a = toUcs2(utf8_to_ucs2_r, u, "\xE2\x82", 4);
  EXPECT_EQ(a.result, ILX_CONV_CUT);
  EXPECT_EQ(a.consumed, 0);
  EXPECT_TRUE(a.out.empty());
  ToUcs2 b = toUcs2(utf8_to_ucs2_r, u, "\xE2\x82\xAC", 4);
  EXPECT_EQ(b.result, ILX_CONV_DONE);
  EXPECT_EQ(b.out, U16{0x20AC});
  EXPECT_EQ(ilx_check_subs(u), 0);
}

TEST(Utf8Converters, SupplementaryCharactersNeedRoomForBothSurrogates) {
  CodeSetT u = ilx_cs_new("UTF8");
  ToUcs2 full = toUcs2(utf8_to_ucs2_r, u, "\xF0\x9F\x98\x80", 2);
  EXPECT_EQ(full.result, ILX_CONV_DONE);
  EXPECT_EQ(full.out, (U16{0xD83D, 0xDE00}));
  ToUcs2 tight = toUcs2(utf8_to_ucs2_r, u, "\xF0\x9F\x98\x80", 1);
  EXPECT_EQ(tight.result, ILX_CONV_FULL);
  EXPECT_EQ(tight.consumed, 0);
  EXPECT_TRUE(tight.out.empty());
}

TEST(Utf8Converters, MalformedInputIsSubstitutedAndCounted) {
  CodeSetT u = ilx_cs_new("Utf8");
  ilx_check_subs(u);
  ToUcs2 stray = toUcs2(utf8_to_ucs2_r, u, "a\x80" "b\xFF", 8);
  EXPECT_EQ(stray.out, (U16{'a', '?', 'b', '?'}));
  EXPECT_EQ(ilx_check_subs(u), 2);
  EXPECT_EQ(ilx_check_subs(u), 0);  // reading the count resets it
  // F7 is no lead byte: it and each of its would-be continuation bytes is
  // one substitution.
  ToUcs2 big = toUcs2(utf8_to_ucs2_r, u, "\xF7\xBF\xBF\xBFz", 8);
  EXPECT_EQ(big.out, (U16{'?', '?', '?', '?', 'z'}));
  EXPECT_EQ(ilx_check_subs(u), 4);
  // An overlong form is not read as the short one, also when re-encoded.
  char out[8];
  EXPECT_EQ(ilx_to_utf8(u, "\xC1\x81", 2, out, 8), 2);
  EXPECT_EQ(std::string(out, 2), "??");
}

TEST(Utf8Converters, BrokenSurrogatesFromUcs2) {
  CodeSetT u = ilx_cs_new("UTF8");
  ilx_check_subs(u);
  FromUcs2 pairBroken = fromUcs2(utf8_from_ucs2_r, u, {0xD800, 0x0041}, 8);
  EXPECT_EQ(pairBroken.out, "?");
  EXPECT_EQ(pairBroken.consumed, 2);
  FromUcs2 lowAlone = fromUcs2(utf8_from_ucs2_r, u, {0xDC00}, 8);
  EXPECT_EQ(lowAlone.out, "?");
  EXPECT_EQ(lowAlone.consumed, 1);
  EXPECT_EQ(ilx_check_subs(u), 2);
  FromUcs2 highAtEnd = fromUcs2(utf8_from_ucs2_r, u, {'x', 0xD83D}, 8);
  EXPECT_EQ(highAtEnd.result, ILX_CONV_CUT);
  EXPECT_EQ(highAtEnd.consumed, 1);
  EXPECT_EQ(highAtEnd.out, "x");
  FromUcs2 pair = fromUcs2(utf8_from_ucs2_r, u, {0xD83D, 0xDE00}, 3);
  EXPECT_EQ(pair.result, ILX_CONV_FULL);  // four bytes do not fit in three
  EXPECT_EQ(pair.consumed, 0);
  pair = fromUcs2(utf8_from_ucs2_r, u, {0xD83D, 0xDE00}, 4);
  EXPECT_EQ(pair.out, "\xF0\x9F\x98\x80");
}

TEST(ByteForByte, CodePointsUpTo255) {
  CodeSetT os = ilx_cs_new("INTERNAL37");
  ASSERT_NE(os, nullptr);
  ilx_check_subs(os);
  FromUcs2 r = fromUcs2(os_from_ucs2_r, os, {0x0100, 0x00E9}, 4);
  EXPECT_EQ(r.out, "?\xE9");
  EXPECT_EQ(ilx_check_subs(os), 1);
  ToUcs2 t = toUcs2(os_to_ucs2_r, os, "\xFF\x01", 4);
  EXPECT_EQ(t.out, (U16{0xFF, 0x01}));
  char out[4];
  EXPECT_EQ(ilx_to_utf8(os, "\xE9\x80\x41", 3, out, 3), 2);  // U+0080 needs two more bytes
  EXPECT_EQ(std::string(out, 2), "\xC3\xA9");
  EXPECT_EQ(ilx_from_utf8(os, "\xC3\xA9\xC4\x80", 4, out, 4), 2);
  EXPECT_EQ(std::string(out, 2), "\xE9?");
  ilx_cs_free(os);
}

TEST(Gb18030, FourByteSequencesAndSupplementaryCharacters) {
  Handle gb("GB18030");
  ASSERT_NE(gb.cs, nullptr);
  uint16_t u[4];
  EXPECT_EQ(ilx_to_ucs2(gb.cs, "\x90\x30\x81\x30", 4, u, 4), 2);
  EXPECT_EQ(u[0], 0xD800);
  EXPECT_EQ(u[1], 0xDC00);
  char b[8];
  const uint16_t pair[] = {0xD800, 0xDC00};
  EXPECT_EQ(ilx_from_ucs2(gb.cs, pair, 2, b, 8), 4);
  EXPECT_EQ(std::string(b, 4), "\x90\x30\x81\x30");
  // A BMP character in the four-byte region: U+0080 is 81 30 81 30.
  EXPECT_EQ(ilx_from_utf8(gb.cs, "\xC2\x80", 2, b, 8), 4);
  EXPECT_EQ(std::string(b, 4), "\x81\x30\x81\x30");
  // Cut off after two or three bytes of a four-byte sequence.
  ToUcs2 cut = toUcs2(ascii_gb18030_to_ucs2_r, gb.cs, "A\x81\x30\x81", 4);
  EXPECT_EQ(cut.result, ILX_CONV_CUT);
  EXPECT_EQ(cut.consumed, 1);
  // Bytes that cannot continue a sequence are one substitution each and
  // do not swallow the ASCII that follows.
  ToUcs2 bad = toUcs2(ascii_gb18030_to_ucs2_r, gb.cs, "\x81\x20x\x81\x3A\x81\x30yz", 9);
  EXPECT_EQ(bad.out, (U16{'?', ' ', 'x', '?', ':', '?', '0', 'y', 'z'}));
  EXPECT_EQ(ilx_check_subs(gb.cs), 3);
  // A four-byte character needs four bytes of room.
  FromUcs2 tight = fromUcs2(ascii_gb18030_from_ucs2_r, gb.cs, {0xD800, 0xDC00}, 3);
  EXPECT_EQ(tight.result, ILX_CONV_FULL);
  EXPECT_EQ(tight.consumed, 0);
}

TEST(EbcdicSingleByte, BothNewLineBytesReadAsLineFeed) {
  Handle e("IBM037");
  ASSERT_NE(e.cs, nullptr);
  uint16_t u[2];
  EXPECT_EQ(ilx_to_ucs2(e.cs, "\x15\x25", 2, u, 2), 2);
  EXPECT_EQ(u[0], 0x0A);
  EXPECT_EQ(u[1], 0x0A);
  char b[2];
  EXPECT_EQ(ilx_from_utf8(e.cs, "\n", 1, b, 2), 1);
  EXPECT_EQ(b[0], '\x15');
  // Unmappable characters become the EBCDIC question mark.
  EXPECT_EQ(ilx_from_utf8(e.cs, "\xE2\x82\xAC", 3, b, 2), 1);  // no euro in 037
  EXPECT_EQ(b[0], '\x6F');
  EXPECT_EQ(ilx_check_subs(e.cs), 1);
}

TEST(EbcdicDoubleByte, ShiftCodesAroundDoubleByteRuns) {
  Handle e("IBM939");
  ASSERT_NE(e.cs, nullptr);
  // U+3000 (ideographic space) is 0x40 0x40 in a double-byte run.
  const uint16_t text[] = {0x3000, 'A'};
  char b[16];
  EXPECT_EQ(ilx_from_ucs2(e.cs, text, 2, b, 16), 5);
  EXPECT_EQ(std::string(b, 5), "\x0E\x40\x40\x0F\xC1");
  // A text ending inside a run gets the shift-in only from the flush.
  FromUcs2 open = fromUcs2(ebcdic_dbcs_from_ucs2_r, e.cs, {0x3000}, 8);
  EXPECT_EQ(open.out, "\x0E\x40\x40");
  char fb[4], *op = fb;
  EXPECT_EQ(ebcdic_dbcs_from_ucs2_r(e.cs, nullptr, nullptr, &op, fb + 1), ILX_CONV_DONE);
  EXPECT_EQ(std::string(fb, op), "\x0F");
  // With no room the flush keeps the state and says so.
  fromUcs2(ebcdic_dbcs_from_ucs2_r, e.cs, {0x3000}, 8);
  op = fb;
  EXPECT_EQ(ebcdic_dbcs_from_ucs2_r(e.cs, nullptr, nullptr, &op, fb), ILX_CONV_FULL);
  EXPECT_EQ(ebcdic_dbcs_from_ucs2_r(e.cs, nullptr, nullptr, &op, fb + 1), ILX_CONV_DONE);
  EXPECT_EQ(std::string(fb, op), "\x0F");
  // Reading: shift codes write nothing; a pair cut off returns CUT.
  ToUcs2 r = toUcs2(ebcdic_dbcs_to_ucs2_r, e.cs, "\xC1\x0E\x40\x40\x0F\xC2", 8);
  EXPECT_EQ(r.out, (U16{'A', 0x3000, 'B'}));
  ebcdic_dbcs_to_ucs2_r(e.cs, nullptr, nullptr, nullptr, nullptr);
  ToUcs2 cut = toUcs2(ebcdic_dbcs_to_ucs2_r, e.cs, "\x0E\x40", 8);
  EXPECT_EQ(cut.result, ILX_CONV_CUT);
  EXPECT_EQ(cut.consumed, 1);  // the shift-out is taken, the pair is not
  // Characters the code page lacks are counted substitutions, not SUB.
  ilx_check_subs(e.cs);
  EXPECT_EQ(ilx_from_utf8(e.cs, "\xC3\xA9", 2, b, 16), 1);
  EXPECT_EQ(b[0], '\x6F');
  EXPECT_EQ(ilx_check_subs(e.cs), 1);
  // The whole-string form resets the to-shift state after each call.
  uint16_t u[4];
  EXPECT_EQ(ilx_to_ucs2(e.cs, "\x0E\x40\x40", 3, u, 4), 1);
  EXPECT_EQ(ilx_to_ucs2(e.cs, "\xC1", 1, u, 4), 1);
  EXPECT_EQ(u[0], 'A');
}

TEST(DoubleByte, LeadByteAtTheEndAndUnmappedCharacters) {
  Handle sj("SJIS");
  ASSERT_NE(sj.cs, nullptr);
  ToUcs2 cut = toUcs2(ascii_dbcs_to_ucs2_r, sj.cs, "a\x82", 4);
  EXPECT_EQ(cut.result, ILX_CONV_CUT);
  EXPECT_EQ(cut.consumed, 1);
  ToUcs2 hira = toUcs2(ascii_dbcs_to_ucs2_r, sj.cs, "\x82\xA0\xB1", 4);
  EXPECT_EQ(hira.out, (U16{0x3042, 0xFF71}));  // hiragana a, half-width katakana a
  FromUcs2 room = fromUcs2(ascii_dbcs_from_ucs2_r, sj.cs, {'x', 0x3042}, 2);
  EXPECT_EQ(room.result, ILX_CONV_FULL);
  EXPECT_EQ(room.out, "x");
  FromUcs2 unmapped = fromUcs2(ascii_dbcs_from_ucs2_r, sj.cs, {0x0E01}, 4);  // Thai
  EXPECT_EQ(unmapped.out, "?");
  EXPECT_EQ(ilx_check_subs(sj.cs), 1);
}

TEST(MultiByte, ThreeByteCharactersOfEucJp) {
  Handle ej("EUCJP");
  ASSERT_NE(ej.cs, nullptr);
  // JIS X 0212 0x2237 (U+007E-like tilde is 0x2237 -> U+FF5E); use the
  // character iconv itself confirms: 8F B0 A1 is U+4E02.
  ToUcs2 r = toUcs2(ascii_mbcs_to_ucs2_r, ej.cs, "\x8F\xB0\xA1" "a", 4);
  EXPECT_EQ(r.out, (U16{0x4E02, 'a'}));
  ToUcs2 cut = toUcs2(ascii_mbcs_to_ucs2_r, ej.cs, "\x8F\xB0", 4);
  EXPECT_EQ(cut.result, ILX_CONV_CUT);
  EXPECT_EQ(cut.consumed, 0);
  FromUcs2 w = fromUcs2(ascii_mbcs_from_ucs2_r, ej.cs, {0x4E02}, 2);
  EXPECT_EQ(w.result, ILX_CONV_FULL);  // three bytes, two of room
  w = fromUcs2(ascii_mbcs_from_ucs2_r, ej.cs, {0x4E02}, 3);
  EXPECT_EQ(w.out, "\x8F\xB0\xA1");
}

TEST(Dispatchers, CountsAndFlushes) {
  Handle l1("latin1");
  ASSERT_NE(l1.cs, nullptr);
  const char *in = "caf\xC3\xA9!";
  size_t inleft = 6, outleft = 4;
  char out[8], *op = out;
  EXPECT_EQ(ilx_from_utf8_r(l1.cs, &in, &inleft, &op, &outleft), ILX_CONV_FULL);
  EXPECT_EQ(inleft, 1u);
  EXPECT_EQ(outleft, 0u);
  EXPECT_EQ(std::string(out, op), "caf\xE9");
  // A flush through a dispatcher is a null input.
  EXPECT_EQ(ilx_from_utf8_r(l1.cs, nullptr, nullptr, &op, &outleft), ILX_CONV_DONE);
  // A converter called with a handle of another kind converts for that kind.
  const char *e = "\xE9";
  const char *ee = e + 1;
  uint16_t u, *up = &u;
  EXPECT_EQ(ascii_mbcs_to_ucs2_r(l1.cs, &e, ee, &up, &u + 1), ILX_CONV_DONE);
  EXPECT_EQ(u, 0xE9);
}

TEST(WholeString, TerminatorsCapacityAndAllocation) {
  Handle l1("ISO-8859-1");
  char out[16];
  EXPECT_EQ(ilx_to_utf8(l1.cs, "abc", -1, out, 1), 1);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(ilx_to_utf8(l1.cs, "abc", -1, out, 0), 0);
  EXPECT_EQ(ilx_to_utf8(l1.cs, "\xE9t\xE9", -1, out, 16), 6);
  EXPECT_STREQ(out, "\xC3\xA9t\xC3\xA9");
  // Output that runs out in the middle stops before the character.
  EXPECT_EQ(ilx_to_utf8(l1.cs, "a\xE9", 2, out, 2), 1);
  uint16_t w[4];
  EXPECT_EQ(ilx_to_ucs2(l1.cs, "\xE9", -1, w, 4), 2);
  EXPECT_EQ(w[1], 0);
  int n = -1;
  char *a = ilx_tou_alloc(l1.cs, "\xE9\xE8", 2, &n);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(n, 4);
  EXPECT_STREQ(a, "\xC3\xA9\xC3\xA8");
  ilx_free(a);
  a = ilx_fromu_alloc(l1.cs, "\xC3\xA9x", 3, &n);
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a, "\xE9x");
  EXPECT_EQ(n, 2);
  ilx_free(a);
  EXPECT_EQ(ilx_fromu_alloc(l1.cs, "x", -1, &n), nullptr);
}

}  // namespace
