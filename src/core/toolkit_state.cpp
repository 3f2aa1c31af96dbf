// The API lock, the toolkit logger and the platform-error report.
#include "core/toolkit_state.h"

#include <cstring>

#include "core/api_frame.h"
#include "ilx/codeset.h"

namespace lmx {

ToolkitState &toolkitState() {
  // Plain static storage: nothing runs when the library is loaded.
  static ToolkitState state;
  return state;
}

void copyUtf8Bounded(char *buf, size_t cap, const char *text) {
  if (buf == nullptr || cap == 0) return;
  size_t n = std::strlen(text);
  if (n > cap - 1) {
    n = cap - 1;
    // Never end in the middle of a multi-byte character.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(buf, text, n);
  buf[n] = '\0';
}

bool platformErrText(CxStatus status, char *buf, size_t cap) {
  if (buf == nullptr || cap == 0) return false;
  buf[0] = '\0';
  if (status.kind != CX_STATUS_CRT && status.kind != CX_STATUS_SYS) return false;
  char local[512];
  // GNU strerror_r may return a static text instead of filling the buffer.
  const char *text = strerror_r(static_cast<int>(status.code), local, sizeof local);
  if (text == nullptr) text = "";
  // The C library speaks the local code set; the toolkit's texts are UTF-8.
  // The conversion stops before a character that does not fit.
  int room = cap > sizeof local ? static_cast<int>(sizeof local) : static_cast<int>(cap);
  ilx_to_utf8(ilx::osCodeSet(), text, -1, buf, room);
  return true;
}

void destroyApiMutex() {
  ToolkitState &st = toolkitState();
  if (!st.mutexCreated) return;
  CxStatus s = CxMutexDestroy(&st.apiMutex);
  st.mutexCreated = 0;
  if (s.kind != CX_STATUS_OK) LmxReportPlatformErr(s);
}

}  // namespace lmx

extern "C" {

bool lmxAPIMutexLock(void) {
  lmx::ToolkitState &st = lmx::toolkitState();
  if (!st.mutexCreated) {
    CxStatus s = CxMutexCreate(&st.apiMutex);
    if (s.kind != CX_STATUS_OK) {
      LmxReportPlatformErr(s);
      return false;
    }
    st.mutexCreated = 1;
  }
  CxStatus s = CxMutexLock(st.apiMutex);
  if (s.kind != CX_STATUS_OK) {
    LmxReportPlatformErr(s);
    return false;
  }
  return true;
}

void lmxAPIMutexUnlock(void) {
  lmx::ToolkitState &st = lmx::toolkitState();
  if (!st.mutexCreated) return;
  CxStatus s = CxMutexUnlock(st.apiMutex);
  if (s.kind != CX_STATUS_OK) LmxReportPlatformErr(s);
}

Object *lmxToolkitLogger(void) {
  const lmx::ToolkitState &st = lmx::toolkitState();
  return st.opened ? st.logger : nullptr;
}

void LmxReportPlatformErr(CxStatus status) {
  char text[512];
  if (!lmx::platformErrText(status, text, sizeof text)) return;
  if (lmxToolkitLogger() == nullptr) return;  // not open: the report is dropped
  // The logging path sends the text at WARN through the toolkit logger once
  // it exists; until then an open toolkit cannot be reached here.
}

}  // extern "C"
