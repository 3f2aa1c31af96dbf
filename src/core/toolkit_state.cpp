// The API lock, the toolkit logger and the platform-error report.
#include "core/toolkit_state.h"

#include <cstring>
#include <mutex>

#include "core/api_frame.h"
#include "ilx/os_codeset.h"
#include "logging/toolkit_report.h"

namespace lmx {

ToolkitState &toolkitState() {
  // Plain static storage: nothing runs when the library is loaded.
  static ToolkitState state;
  return state;
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

namespace {

// Serializes the creation and destruction of the API lock, so that first
// calls racing in several threads make exactly one. Constant-initialized:
// nothing runs at load.
std::mutex apiMutexGuard;

bool apiMutexExists() {
  return __atomic_load_n(&toolkitState().mutexCreated, __ATOMIC_ACQUIRE) != 0;
}

// Reports without the API lock: used where the lock itself failed.
void reportUnlocked(CxStatus status) {
  char text[512];
  if (!platformErrText(status, text, sizeof text)) return;
  lmxIntlLogVA(LMX_LEVEL_WARN, 0, text, 0);
}

}  // namespace

void destroyApiMutex() {
  ToolkitState &st = toolkitState();
  CxStatus s{CX_STATUS_OK, 0};
  {
    std::lock_guard<std::mutex> guard(apiMutexGuard);
    if (!st.mutexCreated) return;
    s = CxMutexDestroy(&st.apiMutex);
    __atomic_store_n(&st.mutexCreated, 0, __ATOMIC_RELEASE);
  }
  if (s.kind != CX_STATUS_OK) reportUnlocked(s);
}

}  // namespace lmx

extern "C" {

unsigned char lmxAPIMutexLock(void) {
  lmx::ToolkitState &st = lmx::toolkitState();
  if (!lmx::apiMutexExists()) {
    CxStatus s{CX_STATUS_OK, 0};
    {
      std::lock_guard<std::mutex> guard(lmx::apiMutexGuard);
      if (!st.mutexCreated) {
        s = CxMutexCreate(&st.apiMutex);
        if (s.kind == CX_STATUS_OK) __atomic_store_n(&st.mutexCreated, 1, __ATOMIC_RELEASE);
      }
    }
    if (s.kind != CX_STATUS_OK) {
      lmx::reportUnlocked(s);
      return 0;
    }
  }
  CxStatus s = CxMutexLock(st.apiMutex);
  if (s.kind != CX_STATUS_OK) {
    lmx::reportUnlocked(s);
    return 0;
  }
  return 1;
}

void lmxAPIMutexUnlock(void) {
  lmx::ToolkitState &st = lmx::toolkitState();
  if (!lmx::apiMutexExists()) return;
  CxStatus s = CxMutexUnlock(st.apiMutex);
  if (s.kind != CX_STATUS_OK) lmx::reportUnlocked(s);
}

Object *lmxToolkitLogger(void) {
  const lmx::ToolkitState &st = lmx::toolkitState();
  return st.opened ? st.logger : nullptr;
}

void LmxReportPlatformErr(CxStatus status) {
  lmx::locked([&] { lmx::reportUnlocked(status); });
}

}  // extern "C"
