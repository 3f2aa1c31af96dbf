// The log file: directory, open, permission, per-record check, writes.
#include "output/log_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "output/file_report.h"

namespace lmx {

void logFileMakeDirs(FileHandlerVars *vars) {
  CxFilePath path;
  bool ok = vars->directory != nullptr && CxInitFilePath(&path, vars->directory) &&
            CxFilePathMkdirs(&path, vars->dirPermission) == CX_PATH_OK;
  if (!ok) {
    fileReport(vars, LMX_LEVEL_ERROR, MsgKey::BadFilePath, LMX_PARM_STRING, "fileName",
               LMX_PARM_STRING, vars->directory != nullptr ? vars->directory : "NULL");
  }
}

bool logFileOpen(FileHandlerVars *vars, int32_t flags) {
  if (failed(CxFileOpen(&vars->file, vars->fullName, flags))) return false;
  struct stat st;
  if (::fstat(vars->file, &st) != 0) {
    LmxReportPlatformErr(CxStatus{CX_STATUS_CRT, static_cast<uint32_t>(errno)});
    CxFileClose(&vars->file);
    return false;
  }
  vars->fileDev = st.st_dev;
  vars->fileIno = st.st_ino;
  vars->size = static_cast<uint64_t>(st.st_size);
  return true;
}

void logFileChmod(FileHandlerVars *vars, const char *name) {
  if (name == nullptr) return;
  if (::chmod(name, static_cast<mode_t>(vars->filePermission) & 07777) != 0) {
    int err = errno;
    fileReport(vars, LMX_LEVEL_WARN, MsgKey::ChmodFailed, LMX_PARM_STRING, name, LMX_PARM_INT,
               static_cast<int>(vars->filePermission), LMX_PARM_INT, err);
  }
}

LogFileCheck logFileCheck(FileHandlerVars *vars) {
  struct stat st;
  if (::stat(vars->fullName, &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != vars->fileDev ||
      st.st_ino != vars->fileIno) {
    return LogFileCheck::Gone;
  }
  vars->size = static_cast<uint64_t>(st.st_size);
  if (vars->maxFiles <= 1 || !logIsFull(vars->size, vars->maxBytes)) return LogFileCheck::Current;
  return LogFileCheck::Full;
}

bool logFileWrite(FileHandlerVars *vars, const char *text, uint32_t length) {
  uint32_t written = 0;
  CxStatus s = CxFileWrite(&vars->file, text, length, &written);
  vars->size += written;
  return !failed(s);
}

void logFileClose(FileHandlerVars *vars) { failed(CxFileClose(&vars->file)); }

}  // namespace lmx
