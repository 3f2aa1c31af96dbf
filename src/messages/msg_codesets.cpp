// The toolkit's code set handles, printing UTF-8 text in the local code set
// and the EBCDIC conversions.
#include "messages/i18msg.h"

#include <cstdio>

#include "messages/msg_table.h"

namespace {

// Written only while the toolkit opens and closes.
struct Handles {
  CodeSetT utf8;
  CodeSetT console;
  CodeSetT cs1047;
  CodeSetT cs37;
};
Handles handles{};

void freeHandle(CodeSetT *cs) {
  if (*cs != nullptr) ilx_cs_free(*cs);
  *cs = nullptr;
}

// Copies the text into a string buffer, converts it in place and hands the
// result over.
char *convert(const char *text, CodeSetT cs, bool toUtf8) {
  if (text == nullptr) return nullptr;
  CxStringBuff buff{};
  if (!CxStringBuffAppendStr(&buff, text)) return nullptr;
  int ok = toUtf8 ? CxStringBuffChangeToUTF8(cs, &buff) : CxStringBuffChangeFromUTF8(cs, &buff);
  if (!ok) {
    CxStringBuffDiscard(&buff);
    return nullptr;
  }
  return CxStringBuffTakeStr(&buff);
}

}  // namespace

extern "C" {

// A second set-up without a shut-down between keeps the handles it finds.
void lmxI18InitIlx(void) {
  ilx_init();
  if (handles.utf8 == nullptr) handles.utf8 = ilx_cs_new("UTF8");
  if (handles.console == nullptr) handles.console = ilx_cs_new("DOS");
  if (handles.cs1047 == nullptr) handles.cs1047 = ilx_cs_new("IBM1047");
  if (handles.cs37 == nullptr) handles.cs37 = ilx_cs_new("IBM037");
}

void lmxI18UninitIlx(void) {
  freeHandle(&handles.utf8);
  freeHandle(&handles.console);
  freeHandle(&handles.cs1047);
  freeHandle(&handles.cs37);
  ilx_uninit();
}

CodeSetT lmxI18GetCsUTF8(void) { return handles.utf8; }
CodeSetT lmxI18GetCsConsole(void) { return handles.console; }
CodeSetT lmxI18GetCs1047(void) { return handles.cs1047; }
CodeSetT lmxI18GetCs37(void) { return handles.cs37; }

// Converts through a 4096-byte buffer on the stack: each round fills it
// with whole characters only (the converter leaves a character that does
// not fit for the next round), and the final flush ends any shift state.
void lmxI18PrintUTF8AsLocal(FILE *stream, const char *text) {
  if (stream == nullptr || text == nullptr) return;
  CodeSetT cs = (stream == stdout || stream == stderr) ? handles.console : nullptr;
  char buf[4096];
  constexpr size_t kFlushRoom = 8;  // kept for the closing shift code and the NUL
  const char *in = text;
  size_t inleft = BasStringLen(text);
  for (;;) {
    char *out = buf;
    size_t outleft = sizeof buf - kFlushRoom;
    const size_t before = inleft;
    int rc = ILX_CONV_DONE;
    if (inleft > 0) rc = ilx_from_utf8_r(cs, &in, &inleft, &out, &outleft);
    const bool last = rc != ILX_CONV_FULL || inleft == before;
    if (last) {
      outleft += kFlushRoom - 1;
      ilx_from_utf8_r(cs, nullptr, nullptr, &out, &outleft);
    }
    *out = '\0';
    if (out > buf) std::fwrite(buf, 1, static_cast<size_t>(out - buf), stream);
    if (last) break;
  }
}

char *lmxI18Str1047ToUTF8(const char *text) { return convert(text, handles.cs1047, true); }
char *lmxI18Str37ToUTF8(const char *text) { return convert(text, handles.cs37, true); }
char *lmxI18StrUTF8To1047(const char *text) { return convert(text, handles.cs1047, false); }
char *lmxI18StrUTF8To37(const char *text) { return convert(text, handles.cs37, false); }

}  // extern "C"

namespace lmx {

void printTableMsgToStderr(MsgKey key, const char *parm) {
  I18Msg *msg = lmxIntlAllocI18Msg(kToolkitCatalog, kToolkitSet, static_cast<int32_t>(key),
                                   msgText(key));
  if (parm != nullptr) lmxIntlAddI18MsgParmString(msg, parm);
  char *text = lmxIntlBindI18Msg(msg);
  lmxI18PrintUTF8AsLocal(stderr, text != nullptr ? text : "");
  std::fputc('\n', stderr);
  std::fflush(stderr);
  BasMemoryFree(text);
  lmxIntlFreeI18Msg(msg);
}

}  // namespace lmx
