// The multi-process file handler: one log file appended to by several
// processes, each record's size check, rollover and write under the named
// lock of the handler's key; rollover by copy and truncation in place.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/object.h"
#include "output/file_handler_vars.h"
#include "output/file_report.h"
#include "output/handler_base.h"
#include "output/log_file.h"
#include "output/mp_lock.h"

namespace {

FileHandlerVars *varsOf(Object *handler) {
  return handler != nullptr ? static_cast<FileHandlerVars *>(handler->vars) : nullptr;
}

CodeSetT mpEncoding(Object *handler) { return varsOf(handler)->encoding; }

// The shared file's size through this handler's descriptor. A file whose
// last name is gone (deleted, or replaced by something else) would swallow
// every record: it is opened again by name.
void refreshSize(FileHandlerVars *vars) {
  struct stat st;
  if (::fstat(vars->file, &st) != 0) {
    LmxReportPlatformErr(CxStatus{CX_STATUS_CRT, static_cast<uint32_t>(errno)});
    return;
  }
  vars->size = static_cast<uint64_t>(st.st_size);
  if (st.st_nlink == 0) {
    lmx::logFileClose(vars);
    if (lmx::logFileOpen(vars, O_CREAT | O_WRONLY | O_APPEND)) {
      lmx::logFileChmod(vars, vars->fullName);
    }
  }
}

bool mpWrite(Object *handler, const char *bytes, uint32_t length) {
  FileHandlerVars *vars = varsOf(handler);
  lmx::MpLockHold hold(vars->lock, lmx::kMpLockTimeoutMs);
  if (!hold.held()) return false;  // reported; the record is dropped
  refreshSize(vars);
  if (vars->file < 0) {
    vars->open = 0;  // the next event opens again
    return false;
  }
  if (vars->maxFiles > 1 && lmx::logIsFull(vars->size, vars->maxBytes)) {
    lmxMultiProcFileHandlerDoRollover(vars);
  }
  return lmx::logFileWrite(vars, bytes, length);
}

bool mpPrepare(Object *handler) {
  LmxMultiProcFileHandlerFOpen(handler);
  return varsOf(handler)->open != 0;  // not open: the event goes nowhere
}

const lmx::HandlerSink kMpSink = {mpPrepare, mpEncoding, mpWrite};

void reportUnlessMissing(CxStatus s) {
  if (s.kind != CX_STATUS_OK && s.code != ENOENT) LmxReportPlatformErr(s);
}

}  // namespace

extern "C" {

unsigned char lmxMultiProcFileHandlerInitSem(FileHandlerVars *vars) {
  if (vars == nullptr) return 0;
  CxStatus status;
  lmx::MpLock *lock = lmx::MpLock::open(vars->lockKey, &status);
  if (lock == nullptr) {
    LmxReportPlatformErr(status);
    return 0;
  }
  vars->lock = lock;
  vars->lockCreated = 1;
  return 1;
}

unsigned char lmxMultiProcFileHandlerLockSem(FileHandlerVars *vars) {
  if (vars == nullptr || !vars->lockCreated) return 0;
  CxStatus status;
  lmx::MpLock::Wait wait = vars->lock->acquire(lmx::kMpLockTimeoutMs, &status);
  if (wait != lmx::MpLock::Wait::Acquired) LmxReportPlatformErr(status);
  return wait == lmx::MpLock::Wait::Acquired || wait == lmx::MpLock::Wait::TakenOver;
}

void lmxMultiProcFileHandlerUnlockSem(FileHandlerVars *vars) {
  if (vars == nullptr || !vars->lockCreated) return;
  lmx::failed(vars->lock->release());
}

void lmxMultiProcFileHandlerRollActiveLog(FileHandlerVars *vars) {
  if (vars == nullptr) return;
  char *active = lmx::logGenerationName(vars, 0);
  char *backup = lmx::logGenerationName(vars, 1);
  if (active == nullptr || backup == nullptr) {
    BasMemoryFree(active);
    BasMemoryFree(backup);
    return;
  }
  bool readFailed = false;
  bool writeFailed = false;
  int32_t in = -1;
  int32_t out = -1;
  if (CxFileOpen(&in, active, O_RDONLY).kind != CX_STATUS_OK) {
    readFailed = true;
  } else if (CxFileOpen(&out, backup, O_CREAT | O_RDWR | O_TRUNC).kind != CX_STATUS_OK) {
    // Truncated first: an older, longer backup must leave no tail behind.
    writeFailed = true;
    CxFileClose(&in);
  } else {
    lmx::logFileChmod(vars, backup);
    char chunk[8192];
    while (!readFailed && !writeFailed) {
      uint32_t got = 0;
      if (CxFileRead(&in, chunk, sizeof chunk, &got).kind != CX_STATUS_OK) {
        readFailed = true;
      } else if (got == 0) {
        break;
      } else {
        uint32_t put = 0;
        writeFailed = CxFileWrite(&out, chunk, got, &put).kind != CX_STATUS_OK;
      }
    }
    if (CxFileFlush(&out).kind != CX_STATUS_OK) writeFailed = true;
    if (CxFileClose(&out).kind != CX_STATUS_OK) writeFailed = true;
    if (CxFileClose(&in).kind != CX_STATUS_OK) readFailed = true;
  }
  if (readFailed) {
    lmx::fileReport(vars, LMX_LEVEL_WARN, lmx::MsgKey::RolloverReadFailed, LMX_PARM_STRING, active);
  }
  if (writeFailed) {
    lmx::fileReport(vars, LMX_LEVEL_WARN, lmx::MsgKey::RolloverWriteFailed, LMX_PARM_STRING, backup);
  }
  // Every process's descriptor appends from the start of the emptied file.
  int32_t fd = -1;
  if (!lmx::failed(CxFileOpen(&fd, active, O_WRONLY | O_TRUNC))) lmx::failed(CxFileClose(&fd));
  vars->size = 0;
  BasMemoryFree(active);
  BasMemoryFree(backup);
}

void lmxMultiProcFileHandlerDoRollover(FileHandlerVars *vars) {
  if (vars == nullptr || vars->baseName == nullptr) return;
  int32_t n = vars->maxFiles - 1;
  char *to = lmx::logGenerationName(vars, n);
  if (to != nullptr) reportUnlessMissing(CxFileNameRemove(to));
  for (int32_t i = n - 1; i >= 1; --i) {
    char *from = lmx::logGenerationName(vars, i);
    if (from != nullptr && to != nullptr) reportUnlessMissing(CxFileNameRename(from, to));
    BasMemoryFree(to);
    to = from;
  }
  BasMemoryFree(to);
  lmxMultiProcFileHandlerRollActiveLog(vars);
}

void LmxMultiProcFileHandlerFOpen(Object *handler) {
  FileHandlerVars *vars = varsOf(handler);
  if (vars == nullptr || vars->fullName == nullptr || vars->open) return;
  if (!vars->lockCreated && !lmxMultiProcFileHandlerInitSem(vars)) return;
  lmx::logFileMakeDirs(vars);
  if (!lmx::logFileOpen(vars, O_CREAT | O_WRONLY | O_APPEND)) return;
  lmx::logFileChmod(vars, vars->fullName);
  vars->open = 1;
}

void LmxMultiProcFileHandlerFProcess(Object *handler, struct Event *event) {
  lmx::handlerProcess(handler, event, kMpSink);
}

void LmxMultiProcFileHandlerFClose(Object *handler) {
  FileHandlerVars *vars = varsOf(handler);
  if (vars == nullptr || !vars->open) return;
  lmx::logFileClose(vars);
  vars->open = 0;
}

}  // extern "C"
