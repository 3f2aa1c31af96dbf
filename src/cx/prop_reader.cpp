// The properties file reader. Each byte is classified, and the pair (state,
// class) picks one row of the transition table: what to do with the byte
// and which state follows.
#include "cx/prop_reader.h"

#include <fcntl.h>

#include <array>

namespace cx {
namespace {

// States; the table's rows 1 to 14. Error and done end the read.
enum : uint8_t {
  kError = 0,
  kLineStart = 1,
  kLeadingSpace = 2,
  kComment = 3,
  kKey = 4,
  kKeyEscape = 5,
  kAfterKey = 6,
  kAfterSeparator = 7,
  kValue = 8,
  kValueEscape = 9,
  kContinuation = 10,
  kHex1 = 11,
  kHex2 = 12,
  kHex3 = 13,
  kHex4 = 14,
  kDone = 15,
};

// Byte classes, the table's columns.
enum Class : uint8_t {
  kSpace,      // TAB, VT, FF, SPACE
  kLineEnd,    // CR, LF
  kMark,       // '#', '!'
  kSeparator,  // ':', '='
  kBackslash,
  kQuote,  // '"', '\''
  kU,      // 'u', 'U'
  kHex,    // '0'-'9', 'a'-'f', 'A'-'F'
  kOther,
  kClasses
};

constexpr std::array<uint8_t, 256> kClassOf = [] {
  std::array<uint8_t, 256> c{};
  for (auto &x : c) x = kOther;
  for (int b : {9, 11, 12, 32}) c[b] = kSpace;
  c['\r'] = c['\n'] = kLineEnd;
  c['#'] = c['!'] = kMark;
  c[':'] = c['='] = kSeparator;
  c['\\'] = kBackslash;
  c['"'] = c['\''] = kQuote;
  c['u'] = c['U'] = kU;
  for (int b = '0'; b <= '9'; ++b) c[b] = kHex;
  for (int b = 'a'; b <= 'f'; ++b) c[b] = c[b - 'a' + 'A'] = kHex;
  return c;
}();

enum Action : uint8_t {
  N,   // nothing
  K,   // append the byte to the key
  V,   // append the byte to the value
  S,   // store the pair
  H0,  // start a \u escape: accumulator 0
  H,   // add a hex digit to the accumulator
  HL,  // add the last hex digit and append the character
  BE,  // a backslash that begins no value escape: report it, fail
  F,   // fail
};

struct Step {
  Action action;
  uint8_t next;
};

constexpr Step kFail{F, kError};

// clang-format off
constexpr Step kTable[15][kClasses] = {
  //                  space               line end          # !               : =                  backslash           " '               u U               hex digit        other
  /* 0 (unused) */  {},
  /* 1 line start */{{N, kLeadingSpace},  {N, kLineStart},  {N, kComment},    {K, kKey},           {K, kKey},          {K, kKey},        {K, kKey},        {K, kKey},       {K, kKey}},
  /* 2 leading sp */{{N, kLeadingSpace},  {N, kLineStart},  {N, kComment},    kFail,               {K, kKey},          {K, kKey},        {K, kKey},        {K, kKey},       {K, kKey}},
  /* 3 comment */   {{N, kComment},       {N, kLineStart},  {N, kComment},    {N, kComment},       {N, kComment},      {N, kComment},    {N, kComment},    {N, kComment},   {N, kComment}},
  /* 4 key */       {{N, kAfterKey},      kFail,            {K, kKey},        {N, kAfterSeparator},{N, kKeyEscape},    {K, kKey},        {K, kKey},        {K, kKey},       {K, kKey}},
  /* 5 key escape */{{K, kKey},           kFail,            kFail,            {K, kKey},           {K, kKey},          kFail,            kFail,            kFail,           kFail},
  /* 6 after key */ {{N, kAfterKey},      kFail,            {V, kValue},      {N, kAfterSeparator},{N, kValueEscape},  {V, kValue},      {V, kValue},      {V, kValue},     {V, kValue}},
  /* 7 after sep */ {{N, kAfterSeparator},{S, kLineStart},  {V, kValue},      {V, kValue},         {N, kValueEscape},  {V, kValue},      {V, kValue},      {V, kValue},     {V, kValue}},
  /* 8 value */     {{V, kValue},         {S, kLineStart},  {V, kValue},      {V, kValue},         {N, kValueEscape},  {V, kValue},      {V, kValue},      {V, kValue},     {V, kValue}},
  /* 9 val escape */{{V, kValue},         {N, kContinuation},{BE, kError},    {BE, kError},        {V, kValue},        {V, kValue},      {H0, kHex1},      {BE, kError},    {BE, kError}},
  /* 10 contin. */  {{N, kContinuation},  {S, kLineStart},  {V, kValue},      {V, kValue},         {N, kValueEscape},  {V, kValue},      {V, kValue},      {V, kValue},     {V, kValue}},
  /* 11 hex 1 */    {kFail,               kFail,            kFail,            kFail,               kFail,              kFail,            kFail,            {H, kHex2},      kFail},
  /* 12 hex 2 */    {kFail,               kFail,            kFail,            kFail,               kFail,              kFail,            kFail,            {H, kHex3},      kFail},
  /* 13 hex 3 */    {kFail,               kFail,            kFail,            kFail,               kFail,              kFail,            kFail,            {H, kHex4},      kFail},
  /* 14 hex 4 */    {kFail,               kFail,            kFail,            kFail,               kFail,              kFail,            kFail,            {HL, kValue},    kFail},
};
// clang-format on

uint32_t hexValue(unsigned char b) {
  if (b <= '9') return b - '0';
  return (b | 0x20) - 'a' + 10;
}

bool isLineEnd(unsigned char b) { return b == '\r' || b == '\n'; }

const char *textOf(const CxStringBuff &b) { return b.data != nullptr ? b.data : ""; }

constexpr uint32_t kReplacement = 0xFFFD;
bool isHighSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

PropParser::~PropParser() {
  CxStringBuffDiscard(&key_);
  CxStringBuffDiscard(&value_);
}

bool PropParser::feed(unsigned char byte) {
  if (state_ == kError || state_ == kDone) return false;
  // Any run of line ends counts as one: CR LF, LF CR, blank lines.
  bool dropped = isLineEnd(byte) && isLineEnd(previous_);
  previous_ = byte;
  if (dropped) return true;
  if (state_ == kLineStart) {
    CxStringBuffRestart(&key_);
    CxStringBuffRestart(&value_);
    highSurrogate_ = 0;
  }
  const Step step = kTable[state_][kClassOf[byte]];
  bool ok = true;
  switch (step.action) {
    case N:
      break;
    case K:
      ok = CxStringBuffAppendChar(&key_, static_cast<char>(byte)) != 0;
      break;
    case V:
      ok = appendValue(byte);
      break;
    case S:
      ok = store();
      break;
    case H0:
      accumulator_ = 0;
      break;
    case H:
      accumulator_ = accumulator_ * 16 + hexValue(byte);
      break;
    case HL:
      accumulator_ = accumulator_ * 16 + hexValue(byte);
      ok = appendCode(accumulator_);
      break;
    case BE:
      if (sink_.badEscape != nullptr) sink_.badEscape(sink_.context, textOf(key_));
      ok = false;
      break;
    case F:
      ok = false;
      break;
  }
  state_ = ok ? step.next : uint8_t{kError};
  return ok;
}

bool PropParser::finish() {
  if (state_ == kError) return false;
  if (state_ != kDone) state_ = key_.length == 0 || store() ? uint8_t{kDone} : uint8_t{kError};
  return state_ == kDone;
}

bool PropParser::store() {
  bool ok = flushSurrogate() && sink_.store(sink_.context, textOf(key_), textOf(value_));
  // The pair is done: a line end at the end of the file stores nothing more.
  CxStringBuffRestart(&key_);
  CxStringBuffRestart(&value_);
  return ok;
}

bool PropParser::appendValue(unsigned char byte) {
  return flushSurrogate() && CxStringBuffAppendChar(&value_, static_cast<char>(byte)) != 0;
}

// Two \u escapes that form a UTF-16 pair are one character; a half without
// its partner is U+FFFD.
bool PropParser::appendCode(uint32_t code) {
  if (highSurrogate_ != 0 && isLowSurrogate(code)) {
    code = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (code - 0xDC00);
    highSurrogate_ = 0;
  } else {
    if (!flushSurrogate()) return false;
    if (isHighSurrogate(code)) {
      highSurrogate_ = code;
      return true;
    }
    if (isLowSurrogate(code)) code = kReplacement;
  }
  return CxStringBuffAppendUTF32Char(&value_, static_cast<int32_t>(code)) != 0;
}

bool PropParser::flushSurrogate() {
  if (highSurrogate_ == 0) return true;
  highSurrogate_ = 0;
  return CxStringBuffAppendUTF32Char(&value_, kReplacement) != 0;
}

bool readPropsFile(const char *path, const PropSink &sink) {
  auto report = [&](CxStatus status) {
    if (sink.platformError != nullptr) sink.platformError(sink.context, status);
  };
  int32_t fd = -1;
  CxStatus status = CxFileOpen(&fd, path, O_RDONLY);
  if (status.kind != CX_STATUS_OK) {
    report(status);
    return false;
  }
  bool ok = false;
  {
    PropParser parser(sink);
    for (;;) {
      unsigned char byte = 0;
      uint32_t got = 0;
      status = CxFileRead(&fd, &byte, 1, &got);
      if (status.kind != CX_STATUS_OK) {
        report(status);
        ok = false;
        break;
      }
      if (got == 0) {
        ok = parser.finish();
        break;
      }
      if (!parser.feed(byte)) {
        ok = false;
        break;
      }
    }
  }
  status = CxFileClose(&fd);
  if (status.kind != CX_STATUS_OK) report(status);
  return ok;
}

}  // namespace cx
