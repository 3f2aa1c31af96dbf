// The file handler: its variables, configuration keys, open with the
// per-record check and rollover, process and close.
#include <fcntl.h>

#include "core/object.h"
#include "lumex/logging.h"
#include "output/file_handler_vars.h"
#include "output/file_report.h"
#include "output/handler_base.h"
#include "output/log_file.h"
#include "output/mp_lock.h"

namespace {

FileHandlerVars *varsOf(Object *handler) {
  return handler != nullptr ? static_cast<FileHandlerVars *>(handler->vars) : nullptr;
}

CodeSetT fileEncoding(Object *handler) { return varsOf(handler)->encoding; }

// Records, headers and trailers go to the open descriptor; there is none
// while the file could not be opened.
bool fileWrite(Object *handler, const char *bytes, uint32_t length) {
  FileHandlerVars *vars = varsOf(handler);
  return vars->file >= 0 && lmx::logFileWrite(vars, bytes, length);
}

bool filePrepare(Object *handler) {
  LmxFileHandlerFOpen(handler);
  return true;  // events are passed on even when the file cannot be opened
}

const lmx::HandlerSink kFileSink = {filePrepare, fileEncoding, fileWrite};

int32_t openFlags(const FileHandlerVars *vars) {
  return vars->appending ? (O_CREAT | O_RDWR | O_APPEND) : (O_CREAT | O_RDWR | O_TRUNC);
}

}  // namespace

extern "C" {

void LmxFileHandlerFCfgChange(Object *handler, const char *key) {
  FileHandlerVars *vars = varsOf(handler);
  if (vars == nullptr || key == nullptr) return;
  unsigned char found = 0;
  auto is = [key](const char *name) { return BasStringCmp(key, name) == 0; };
  if (is("maxFileSize") || is("maxFileBytes")) {
    LmxFileHandlerFClose(handler);
    int32_t value = lmxIntlGetObjPropInt(handler, key, &found);
    vars->maxBytes = found ? value : 1024;
  } else if (is("maxFiles")) {
    LmxFileHandlerFClose(handler);
    int32_t value = lmxIntlGetObjPropInt(handler, key, &found);
    vars->maxFiles = found ? value : 3;
  } else if (is("fileName")) {
    char *text = lmxIntlGetObjProp(handler, key, &found);
    LmxFileHandlerFClose(handler);
    lmxFHGetFileNameParts(text, vars);
    lmx::logSetFullName(vars);
    BasMemoryFree(text);
  } else if (is("appending")) {
    LmxFileHandlerFClose(handler);
    unsigned char value = lmxIntlGetObjPropBool(handler, key, &found);
    vars->appending = found ? value : 1;
  } else if (is("filePermission") || is("dirPermission")) {
    char *text = lmxIntlGetObjProp(handler, key, &found);
    if (text != nullptr) {
      LmxFileHandlerFClose(handler);
      if (is("filePermission")) {
        lmxFileHandlerCfgPerms(handler, text);
      } else {
        lmxFileHandlerCfgDirPerms(handler, text);
      }
    }
    BasMemoryFree(text);
  } else if (is("fileEncoding")) {
    char *text = lmxIntlGetObjProp(handler, key, &found);
    LmxFileHandlerFClose(handler);
    if (vars->encoding != nullptr) ilx_cs_free(vars->encoding);
    vars->encoding = nullptr;
    // Without the key records are written in UTF-8 again, silently.
    if (text != nullptr) {
      vars->encoding = ilx_cs_new(text);
      if (vars->encoding == nullptr) {
        lmx::fileReport(vars, LMX_LEVEL_WARN, lmx::MsgKey::CodeSetNotLoaded, LMX_PARM_STRING, text);
      }
    }
    BasMemoryFree(text);
  } else if (is("MPFileSemKey")) {
    LmxFileHandlerFClose(handler);
    int32_t value = lmxIntlGetObjPropInt(handler, key, &found);
    vars->lockKey = found ? value : 0;
  } else if (is("logInternalErrs")) {
    unsigned char value = lmxIntlGetObjPropBool(handler, key, &found);
    vars->logInternalErrs = found ? value : 1;
  } else {
    LmxBasicHandlerFCfgChange(handler, key);
  }
}

void LmxFileHandlerFOpen(Object *handler) {
  FileHandlerVars *vars = varsOf(handler);
  if (vars == nullptr || vars->fullName == nullptr) return;
  if (vars->open) {
    switch (lmx::logFileCheck(vars)) {
      case lmx::LogFileCheck::Current:
        return;
      case lmx::LogFileCheck::Gone:  // deleted or replaced: start a new file
        LmxFileHandlerFClose(handler);
        break;
      case lmx::LogFileCheck::Full:
        LmxFileHandlerFClose(handler);
        lmxFileHandlerDoRollover(vars);
        vars->size = 0;
        break;
    }
  }
  lmx::logFileMakeDirs(vars);
  if (!lmx::logFileOpen(vars, openFlags(vars))) return;
  if (vars->maxFiles > 1 && lmx::logIsFull(vars->size, vars->maxBytes)) {
    // An existing file that is already full: its trailer goes to its end.
    vars->open = 1;
    LmxFileHandlerFClose(handler);
    lmxFileHandlerDoRollover(vars);
    vars->size = 0;
    if (!lmx::logFileOpen(vars, openFlags(vars))) return;
  }
  lmx::logFileChmod(vars, vars->fullName);
  if (!lmx::handlerWriteHeader(handler, kFileSink)) {
    lmx::logFileClose(vars);  // the next event starts over
    return;
  }
  vars->open = 1;
}

void LmxFileHandlerFProcess(Object *handler, struct Event *event) {
  lmx::handlerProcess(handler, event, kFileSink);
}

void LmxFileHandlerFClose(Object *handler) {
  FileHandlerVars *vars = varsOf(handler);
  if (vars == nullptr || !vars->open) return;
  lmx::handlerWriteTrailer(handler, kFileSink);
  lmx::logFileClose(vars);
  vars->open = 0;
}

}  // extern "C"
