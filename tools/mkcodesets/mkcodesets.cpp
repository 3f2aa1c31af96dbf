// mkcodesets OUTDIR
//
// Writes Lumex conversion table files and alias files, taking every mapping
// from the C library's iconv, in the layout the library reads: the header
// fields of src/ilx/codeset.h (hdr), the rows and records of table_rows.h
// and the GB 18030 section of gb18030_section.h. All fields are
// little-endian; "units" are 4 bytes counted from the mapping data area D,
// which follows the header.
// Rows from Unicode: 256 bytes (single-byte), 256 x u16 codes (double-byte),
// 256 x (u16 prefix record, u16 code) (multi-byte). Rows to Unicode: 256 x
// u16 values. Trie node: u16 count, u16 first byte, count x u16 children.
// Prefix record: the leading bytes, their count in the record's last u16.
// GB 18030 section: six u32 positions (16-bit units from the end of the
// position words) of the Unicode-keyed range list, block index and value
// list and of the index-keyed ones; range record = start, end, type, base;
// block index = first record per block of keys.
#include <iconv.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ilx/codeset.h"
#include "ilx/gb18030_section.h"
#include "ilx/table_rows.h"

namespace {

namespace hdr = ilx::hdr;
namespace gb = ilx::gb;
using ilx::kAsciiDbcs;
using ilx::kAsciiMbcs;
using ilx::kAsciiSbcs;
using ilx::kEbcdicDbcs;
using ilx::kEbcdicSbcs;
using ilx::kGb18030;
using Bytes = std::vector<uint8_t>;

// The data area starts right after the header.
constexpr size_t kHeaderSize = hdr::kMinSize;
// The name field ends where the GB 18030 section's offset begins.
constexpr size_t kNameField = hdr::kGbSection - hdr::kName;
constexpr uint16_t kNone = 0xFFFF;
// The substitution byte is the code set's SUB control character, U+001A.
constexpr uint16_t kSubUnicode = 0x1A;
constexpr uint8_t kAsciiSub = 0x1A;
constexpr uint8_t kEbcdicSub = 0x3F;

struct Iconv {
  iconv_t toU, fromU;
  Iconv(const char *name) {
    toU = iconv_open("UCS-4LE", name);
    fromU = iconv_open(name, "UCS-4LE");
    if (toU == (iconv_t)-1 || fromU == (iconv_t)-1) {
      std::fprintf(stderr, "mkcodesets: iconv does not know %s\n", name);
      std::exit(1);
    }
  }
  ~Iconv() {
    iconv_close(toU);
    iconv_close(fromU);
  }
  // Decodes bytes from the initial state: the one code point, kNone when
  // they do not form exactly one character (-1: EILSEQ, -2: incomplete).
  long decode(const Bytes &in) {
    iconv(toU, nullptr, nullptr, nullptr, nullptr);
    char *ip = reinterpret_cast<char *>(const_cast<uint8_t *>(in.data()));
    size_t il = in.size();
    uint32_t out[8];
    char *op = reinterpret_cast<char *>(out);
    size_t ol = sizeof out;
    size_t r = iconv(toU, &ip, &il, &op, &ol);
    if (r == static_cast<size_t>(-1)) return errno == EINVAL ? -2 : -1;
    size_t n = (sizeof out - ol) / 4;
    if (n == 1) return out[0];
    return n == 0 ? -2 : kNone;  // a shift code alone: still incomplete
  }
  // Encodes one code point from the initial state, ending in it again.
  // Empty when iconv cannot map it, or only writes the code set's SUB
  // control character for it (a silent substitution, not a mapping).
  Bytes encode(uint32_t cp) {
    Bytes b = encodeRaw(cp);
    if (!b.empty() && cp != kSubUnicode && decode(b) == kSubUnicode) return {};
    return b;
  }
  Bytes encodeRaw(uint32_t cp) {
    iconv(fromU, nullptr, nullptr, nullptr, nullptr);
    char *ip = reinterpret_cast<char *>(&cp);
    size_t il = 4;
    char out[32];
    char *op = out;
    size_t ol = sizeof out;
    if (iconv(fromU, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) return {};
    if (iconv(fromU, nullptr, nullptr, &op, &ol) == static_cast<size_t>(-1)) return {};
    return Bytes(out, op);
  }
};

void put16(Bytes &b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(Bytes &b, size_t at, uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

// A table image under construction: header plus a data area where equal
// blocks are stored once.
struct Table {
  Bytes img = Bytes(kHeaderSize, 0);
  std::map<Bytes, uint32_t> shared;  // block -> offset in units
  Table(const char *name, uint16_t kind) {
    put32(img, hdr::kDataOffset, kHeaderSize);
    std::memcpy(&img[hdr::kMagic], "ucv", 3);
    std::snprintf(reinterpret_cast<char *>(&img[hdr::kName]), kNameField, "%s", name);
    put16(img, hdr::kKind, kind);
  }
  // Appends a block (4-byte aligned) and returns its offset in units.
  uint32_t add(const Bytes &block, bool dedup = true) {
    if (dedup) {
      auto it = shared.find(block);
      if (it != shared.end()) return it->second;
    }
    while (img.size() % 4) img.push_back(0);
    uint32_t units = static_cast<uint32_t>((img.size() - kHeaderSize) / 4);
    img.insert(img.end(), block.begin(), block.end());
    if (units > 0xFFFF) {
      std::fprintf(stderr, "mkcodesets: %s: data area too large\n", &img[hdr::kName]);
      std::exit(1);
    }
    if (dedup) shared[block] = units;
    return units;
  }
  void setFromRow(uint32_t hi, uint32_t units) { put16(img, hdr::kFromRows + 2 * hi, units); }
  void setTo(uint32_t b, uint32_t v) { put16(img, hdr::kToEntries + 2 * b, v); }
  void setClass(uint32_t b, uint8_t c) { img[hdr::kClasses + b] = c; }
  // The substitution byte, and the Unicode value that really maps to it.
  void setSubs(uint8_t byte) {
    put16(img, hdr::kSubsUnicode, kSubUnicode);
    img[hdr::kSubsByte] = byte;
  }
};

bool isSurrogate(uint32_t cp) { return cp >= 0xD800 && cp < 0xE000; }

Bytes row16(const std::vector<uint16_t> &v) {
  Bytes b(v.size() * 2);
  for (size_t i = 0; i < v.size(); ++i) put16(b, 2 * i, v[i]);
  return b;
}

// Single-byte tables (ASCII-based or EBCDIC).
Bytes singleByte(const char *iconvName, const char *name, bool ebcdic) {
  Iconv cv(iconvName);
  Table t(name, ebcdic ? kEbcdicSbcs : kAsciiSbcs);
  uint8_t subByte = ebcdic ? kEbcdicSub : kAsciiSub;
  if (ebcdic) put16(t.img, hdr::kMarker, hdr::kEbcdicSbcsMarker);
  t.setSubs(subByte);
  for (uint32_t b = 0; b < 256; ++b) {
    long u = cv.decode({static_cast<uint8_t>(b)});
    t.setTo(b, u >= 0 && u <= 0xFFFF ? static_cast<uint32_t>(u) : kNone);
    t.setClass(b, 1);
  }
  std::vector<Bytes> rows(256, Bytes(ilx::kSbcsRowBytes, subByte));
  for (uint32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (isSurrogate(cp)) continue;
    Bytes e = cv.encode(cp);
    if (e.size() == 1) rows[cp >> 8][cp & 0xFF] = e[0];
  }
  for (uint32_t hi = 0; hi < 256; ++hi) t.setFromRow(hi, t.add(rows[hi]));
  return t.img;
}

// Double-byte tables: ASCII-based and EBCDIC with shift codes (leads
// 0x40-0xFE inside shift-out).
Bytes doubleByte(const char *iconvName, const char *name, bool ebcdic) {
  Iconv cv(iconvName);
  Table t(name, ebcdic ? kEbcdicDbcs : kAsciiDbcs);
  t.setSubs(ebcdic ? kEbcdicSub : kAsciiSub);
  std::vector<uint16_t> single(256, kNone);
  std::vector<bool> lead(256, false);
  for (uint32_t b = 0; b < 256; ++b) {
    if (ebcdic && (b == 0x0E || b == 0x0F)) continue;
    long u = cv.decode({static_cast<uint8_t>(b)});
    if (u >= 0 && u <= 0xFFFF) single[b] = static_cast<uint16_t>(u);
    if (!ebcdic) {
      lead[b] = u == -2;
      t.setClass(b, b >= 0x80 && u == -2 ? 2 : u >= 0 ? 1 : 0);
    }
  }
  if (ebcdic)
    for (uint32_t b = 0x40; b <= 0xFE; ++b) lead[b] = true;
  t.setTo(0, t.add(row16(single)));
  for (uint32_t b = 1; b < 256; ++b) {
    if (!lead[b]) continue;
    std::vector<uint16_t> row(256, kNone);
    for (uint32_t c = 0; c < 256; ++c) {
      Bytes seq = ebcdic ? Bytes{0x0E, static_cast<uint8_t>(b), static_cast<uint8_t>(c)}
                         : Bytes{static_cast<uint8_t>(b), static_cast<uint8_t>(c)};
      long u = cv.decode(seq);
      if (u >= 0 && u <= 0xFFFF) row[c] = static_cast<uint16_t>(u);
    }
    t.setTo(b, t.add(row16(row)));
  }
  std::vector<std::vector<uint16_t>> rows(256, std::vector<uint16_t>(ilx::kDbcsRowBytes / 2, kNone));
  for (uint32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (isSurrogate(cp)) continue;
    Bytes e = cv.encode(cp);
    if (ebcdic && e.size() == 4 && e[0] == 0x0E && e[3] == 0x0F) e = Bytes{e[1], e[2]};
    if (e.size() == 1) rows[cp >> 8][cp & 0xFF] = e[0];
    else if (e.size() == 2 && e[0] != 0) rows[cp >> 8][cp & 0xFF] = static_cast<uint16_t>(e[0] << 8 | e[1]);
  }
  for (uint32_t hi = 0; hi < 256; ++hi) t.setFromRow(hi, t.add(row16(rows[hi])));
  return t.img;
}

// Multi-byte tables: a trie per lead byte, one level per byte.
struct TrieBuilder {
  Iconv &cv;
  Table &t;
  int depth = 0;  // length of the characters of the current lead byte
  // Probes what follows prefix: values at the last level, nodes above it.
  // Returns the node's units, or kNone when nothing below maps.
  uint32_t build(Bytes prefix, int len) {
    std::vector<uint16_t> child(256, kNone);
    for (uint32_t c = 0; c < 256; ++c) {
      Bytes seq = prefix;
      seq.push_back(static_cast<uint8_t>(c));
      if (static_cast<int>(seq.size()) == len) {
        long u = cv.decode(seq);
        if (u >= 0 && u <= 0xFFFF) child[c] = static_cast<uint16_t>(u);
      } else if (cv.decode(seq) == -2) {
        child[c] = static_cast<uint16_t>(build(seq, len));
      }
    }
    uint32_t first = 0, last = 0;
    bool any = false;
    for (uint32_t c = 0; c < 256; ++c)
      if (child[c] != kNone) {
        if (!any) first = c;
        last = c;
        any = true;
      }
    if (!any) return kNone;
    std::vector<uint16_t> node{static_cast<uint16_t>(last - first + 1), static_cast<uint16_t>(first)};
    node.insert(node.end(), child.begin() + first, child.begin() + last + 1);
    return t.add(row16(node));
  }
};

// The length of the characters a lead byte starts (0: none).
int leadLength(Iconv &cv, uint8_t b) {
  Bytes seq{b};
  for (int len = 1; len <= 4; ++len) {
    long u = cv.decode(seq);
    if (u != -2) return u >= 0 ? len : 0;
    // Extend with the first byte that keeps the sequence going.
    bool extended = false;
    for (uint32_t c = 0x80; c < 256 && !extended; ++c) {
      Bytes next = seq;
      next.push_back(static_cast<uint8_t>(c));
      long v = cv.decode(next);
      if (v != -1) {
        seq = next;
        extended = true;
      }
    }
    if (!extended) return 0;
  }
  return 0;
}

Bytes multiByte(const char *iconvName, const char *name) {
  Iconv cv(iconvName);
  Table t(name, kAsciiMbcs);
  t.setSubs(kAsciiSub);
  // Prefix records first: the empty one is record 0.
  std::map<Bytes, uint32_t> prefixes;
  std::vector<Bytes> encoded(65536);
  for (uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (isSurrogate(cp)) continue;
    encoded[cp] = cv.encode(cp);
    if (encoded[cp].size() >= 2) prefixes[Bytes(encoded[cp].begin(), encoded[cp].end() - 2)] = 0;
  }
  Bytes empty(ilx::kPrefixRecordBytes, 0);
  uint32_t first = t.add(empty, false);  // units of record 0 (at D)
  for (auto &p : prefixes) {
    Bytes rec(ilx::kPrefixRecordBytes, 0);
    std::copy(p.first.begin(), p.first.end(), rec.begin());
    put16(rec, ilx::kPrefixRecordBytes - 2, static_cast<uint32_t>(p.first.size()));
    p.second = p.first.empty() ? 0 : (t.add(rec, false) - first) / (ilx::kPrefixRecordBytes / 4);
  }
  TrieBuilder tb{cv, t};
  for (uint32_t b = 0x80; b < 256; ++b) {
    int len = leadLength(cv, static_cast<uint8_t>(b));
    if (len == 0) {
      t.setClass(b, 255);
      continue;
    }
    t.setClass(b, static_cast<uint8_t>(len));
    if (len == 1) {
      long u = cv.decode({static_cast<uint8_t>(b)});
      t.setTo(b, u >= 0 && u <= 0xFFFF ? static_cast<uint32_t>(u) : kNone);
    } else {
      t.setTo(b, tb.build({static_cast<uint8_t>(b)}, len));
    }
  }
  for (uint32_t hi = 0; hi < 256; ++hi) {
    std::vector<uint16_t> row(ilx::kMbcsRowBytes / 2, kNone);
    for (uint32_t lo = 0; lo < 256; ++lo) {
      const Bytes &e = encoded[hi << 8 | lo];
      if (e.size() == 1) {
        row[2 * lo] = 0;
        row[2 * lo + 1] = e[0];
      } else if (e.size() >= 2 && e.size() <= ilx::kMaxPrefixBytes + 2) {
        row[2 * lo] = static_cast<uint16_t>(prefixes[Bytes(e.begin(), e.end() - 2)]);
        row[2 * lo + 1] = static_cast<uint16_t>(e[e.size() - 2] << 8 | e.back());
      }
    }
    t.setFromRow(hi, t.add(row16(row)));
  }
  return t.img;
}

// GB 18030 range lists.
struct Range {
  uint32_t start, end, type, base;
};
struct RangeList {
  std::vector<Range> ranges;
  std::vector<uint16_t> values;
};

constexpr uint32_t kUnmapped = 0xFFFFFFFF;

// Ranges of keys with values (kUnmapped: none): long linear runs become
// linear records, the rest value-list records with their entries, so that
// a look-up walks few records from its block.
constexpr uint32_t kLinearRun = 64;
RangeList compress(const std::vector<uint32_t> &value) {
  RangeList l;
  uint32_t n = static_cast<uint32_t>(value.size());
  auto linearEnd = [&](uint32_t i) {
    uint32_t j = i;
    while (j + 1 < n && value[j + 1] != kUnmapped && value[j + 1] != 0xFFFF &&
           value[j + 1] == value[j] + 1)
      ++j;
    return j;
  };
  for (uint32_t i = 0; i < n;) {
    if (value[i] == kUnmapped) {
      ++i;
      continue;
    }
    uint32_t j = linearEnd(i);
    if (value[i] == 0xFFFF) j = i;  // as a value-list entry 0xFFFF would read as unmapped
    if (j - i + 1 >= kLinearRun || value[i] == 0xFFFF) {
      l.ranges.push_back({i, j, gb::kLinear, value[i]});
    } else {
      Range *last = l.ranges.empty() ? nullptr : &l.ranges.back();
      if (last == nullptr || last->type != gb::kValueList || last->end + 1 != i) {
        l.ranges.push_back({i, i, gb::kValueList, static_cast<uint32_t>(l.values.size())});
        last = &l.ranges.back();
        last->end = i - 1;
      }
      for (uint32_t k = i; k <= j; ++k) l.values.push_back(static_cast<uint16_t>(value[k]));
      last->end = j;
    }
    i = j + 1;
  }
  return l;
}

static_assert(gb::kRecordBytes == 8, "a range record is four u16 fields");

// Appends a list to the section, its positions going into the words at
// rangesAt, blocksAt and valuesAt.
void appendList(Bytes &sec, size_t rangesAt, size_t blocksAt, size_t valuesAt,
                const RangeList &l) {
  auto pos = [&] { return static_cast<uint32_t>((sec.size() - gb::kWordsBytes) / 2); };
  put32(sec, rangesAt, pos());
  for (const Range &r : l.ranges) {
    size_t at = sec.size();
    put16(sec, at, r.start);
    put16(sec, at + 2, r.end);
    put16(sec, at + 4, r.type);
    put16(sec, at + 6, r.base);
  }
  put32(sec, blocksAt, pos());
  for (uint32_t blk = 0; blk < gb::kBlocks; ++blk) {
    uint32_t i = 0;
    while (i < l.ranges.size() && l.ranges[i].end < blk * gb::kBlockKeys) ++i;
    put16(sec, sec.size(), i);
  }
  put32(sec, valuesAt, pos());
  for (uint16_t v : l.values) put16(sec, sec.size(), v);
}

Bytes gb18030(const char *iconvName, const char *name) {
  Iconv cv(iconvName);
  Table t(name, kGb18030);
  put16(t.img, hdr::kGbSection, kHeaderSize);
  std::vector<uint32_t> byIndex(65535, kUnmapped), byUnicode(65536, kUnmapped);
  for (uint32_t lead = 0x81; lead <= 0xFE; ++lead)
    for (uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
      long u = cv.decode({static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)});
      if (u > 0 && u <= 0xFFFF) byIndex[(lead - 0x81) * 191 + (trail - 0x3F)] = static_cast<uint32_t>(u);
    }
  for (uint32_t linear = 0; linear + 24067 < 65535; ++linear) {
    uint32_t x = linear;
    uint8_t b3 = x % 10 + 0x30;
    x /= 10;
    uint8_t b2 = x % 126 + 0x81;
    x /= 126;
    uint8_t b1 = x % 10 + 0x30;
    x /= 10;
    long u = cv.decode({static_cast<uint8_t>(x + 0x81), b1, b2, b3});
    if (u > 0 && u <= 0xFFFF) byIndex[linear + 24067] = static_cast<uint32_t>(u);
  }
  for (uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (isSurrogate(cp)) continue;
    Bytes e = cv.encode(cp);
    if (e.size() == 2) byUnicode[cp] = (e[0] - 0x81) * 191 + (e[1] - 0x3F);
    else if (e.size() == 4)
      byUnicode[cp] = ((((e[0] - 0x81) * 10 + (e[1] - 0x30)) * 126 + (e[2] - 0x81)) * 10 + (e[3] - 0x30)) + 24067;
    if (byUnicode[cp] >= 0xFFFF) byUnicode[cp] = kUnmapped;
  }
  Bytes sec(gb::kWordsBytes, 0);
  appendList(sec, gb::kUniRanges, gb::kUniBlocks, gb::kUniValues, compress(byUnicode));
  appendList(sec, gb::kIdxRanges, gb::kIdxBlocks, gb::kIdxValues, compress(byIndex));
  t.img.insert(t.img.end(), sec.begin(), sec.end());
  return t.img;
}

struct TableDef {
  const char *file, *iconvName;
  uint16_t kind;
};


const TableDef kTables[] = {
    {"ANSIX341968", "ANSI_X3.4-1968", kAsciiSbcs}, {"ISO88591", "ISO-8859-1", kAsciiSbcs},
    {"ISO88592", "ISO-8859-2", kAsciiSbcs},        {"ISO88595", "ISO-8859-5", kAsciiSbcs},
    {"ISO88597", "ISO-8859-7", kAsciiSbcs},        {"ISO88599", "ISO-8859-9", kAsciiSbcs},
    {"ISO885915", "ISO-8859-15", kAsciiSbcs},      {"CP1250", "CP1250", kAsciiSbcs},
    {"CP1251", "CP1251", kAsciiSbcs},              {"CP1252", "CP1252", kAsciiSbcs},
    {"CP437", "CP437", kAsciiSbcs},                {"CP850", "CP850", kAsciiSbcs},
    {"KOI8R", "KOI8-R", kAsciiSbcs},               {"IBM037", "IBM037", kEbcdicSbcs},
    {"IBM1047", "IBM1047", kEbcdicSbcs},           {"IBM500", "IBM500", kEbcdicSbcs},
    {"IBM273", "IBM273", kEbcdicSbcs},             {"IBM1140", "IBM1140", kEbcdicSbcs},
    {"CP932", "CP932", kAsciiDbcs},                {"GBK", "GBK", kAsciiDbcs},
    {"BIG5", "BIG5", kAsciiDbcs},                  {"CP949", "CP949", kAsciiDbcs},
    {"EUCJP", "EUC-JP", kAsciiMbcs},               {"EUCKR", "EUC-KR", kAsciiMbcs},
    {"IBM939", "IBM939", kEbcdicDbcs},             {"IBM935", "IBM935", kEbcdicDbcs},
    {"IBM937", "IBM937", kEbcdicDbcs},             {"IBM933", "IBM933", kEbcdicDbcs},
    {"GB18030", "GB18030", kGb18030},
};

// Alias file name (normalized spelling) -> the file it names.
const char *const kAliases[][2] = {
    {"ASCII", "ANSIX341968"},   {"USASCII", "ANSIX341968"}, {"646", "ANSIX341968"},
    {"LATIN1", "ISO88591"},     {"CP819", "ISO88591"},      {"IBM819", "ISO88591"},
    {"LATIN2", "ISO88592"},     {"LATIN5", "ISO88599"},     {"LATIN9", "ISO885915"},
    {"CYRILLIC", "ISO88595"},   {"GREEK", "ISO88597"},      {"WINDOWS1250", "CP1250"},
    {"WINDOWS1251", "CP1251"},  {"WINDOWS1252", "CP1252"},  {"1250", "CP1250"},
    {"1251", "CP1251"},         {"1252", "CP1252"},         {"IBM437", "CP437"},
    {"437", "CP437"},           {"IBM850", "CP850"},        {"850", "CP850"},
    {"KOI8", "KOI8R"},          {"CP037", "IBM037"},        {"37", "IBM037"},
    {"037", "IBM037"},          {"CP1047", "IBM1047"},      {"1047", "IBM1047"},
    {"CP500", "IBM500"},        {"500", "IBM500"},          {"CP273", "IBM273"},
    {"273", "IBM273"},          {"CP1140", "IBM1140"},      {"1140", "IBM1140"},
    {"SJIS", "CP932"},          {"SHIFTJIS", "CP932"},      {"MS932", "CP932"},
    {"WINDOWS31J", "CP932"},    {"932", "CP932"},           {"CP936", "GBK"},
    {"MS936", "GBK"},           {"936", "GBK"},             {"CP950", "BIG5"},
    {"950", "BIG5"},            {"UHC", "CP949"},
    {"949", "CP949"},           {"UJIS", "EUCJP"},
    {"KSC5601", "EUCKR"},       {"939", "IBM939"},
    {"935", "IBM935"},          {"937", "IBM937"},          {"933", "IBM933"},
    {"CP939", "IBM939"},        {"CP935", "IBM935"},        {"CP937", "IBM937"},
    {"CP933", "IBM933"},        {"GB180302000", "GB18030"}, {"54936", "GB18030"},
};

bool writeFile(const std::string &path, const Bytes &data) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkcodesets OUTDIR\n");
    return 2;
  }
  std::string dir = argv[1];
  std::string made;
  for (size_t i = 0; i < dir.size(); ++i) {
    made += dir[i];
    if (dir[i] == '/' || i + 1 == dir.size()) ::mkdir(made.c_str(), 0755);
  }
  for (const TableDef &d : kTables) {
    Bytes img;
    switch (d.kind) {
      case kAsciiSbcs: img = singleByte(d.iconvName, d.file, false); break;
      case kEbcdicSbcs: img = singleByte(d.iconvName, d.file, true); break;
      case kAsciiDbcs: img = doubleByte(d.iconvName, d.file, false); break;
      case kEbcdicDbcs: img = doubleByte(d.iconvName, d.file, true); break;
      case kAsciiMbcs: img = multiByte(d.iconvName, d.file); break;
      default: img = gb18030(d.iconvName, d.file); break;
    }
    if (!writeFile(dir + "/" + d.file, img)) {
      std::fprintf(stderr, "mkcodesets: cannot write %s/%s\n", dir.c_str(), d.file);
      return 1;
    }
  }
  for (const auto &a : kAliases) {
    if (*a[1] == '\0') continue;
    std::string text = std::string(a[1]) + "\n";
    if (!writeFile(dir + "/" + a[0], Bytes(text.begin(), text.end()))) return 1;
  }
  return 0;
}
