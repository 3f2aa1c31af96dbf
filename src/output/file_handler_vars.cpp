// The file handlers' variables: creation with the initial values, freeing,
// and the permission settings.
#include <cstdio>

#include "core/object.h"
#include "output/file_handler_vars.h"
#include "output/file_report.h"
#include "output/log_file.h"
#include "output/mp_lock.h"

namespace {

// Reads up to four octal digits; the old value stays when none parse.
void configurePermission(Object *handler, const char *text, int32_t *field) {
  auto *vars = static_cast<FileHandlerVars *>(handler != nullptr ? handler->vars : nullptr);
  if (vars == nullptr) return;
  unsigned int mode = 0;
  if (text != nullptr && std::sscanf(text, "%4o", &mode) == 1) {
    *field = static_cast<int32_t>(mode);
    return;
  }
  lmx::fileReport(vars, LMX_LEVEL_WARN, lmx::MsgKey::BadPermissionMask, LMX_PARM_STRING,
                  text != nullptr ? text : "NULL", LMX_PARM_STRING,
                  handler->name != nullptr ? handler->name : "NULL");
}

}  // namespace

namespace lmx {

void logSetFullName(FileHandlerVars *vars) {
  BasMemoryFree(vars->fullName);
  vars->fullName = logGenerationName(vars, 0);
}

}  // namespace lmx

extern "C" {

void *LmxFileHandlerFAllocVars(void) {
  auto *vars = static_cast<FileHandlerVars *>(BasMemoryCalloc(1, sizeof(FileHandlerVars)));
  if (vars == nullptr) return nullptr;
  vars->file = -1;  // no descriptor yet
  vars->maxBytes = 1048576;
  vars->maxFiles = 3;
  vars->filePermission = 0744;
  vars->dirPermission = 0771;
  vars->appending = 1;
  vars->lockKey = 31821;
  vars->logInternalErrs = 1;
  lmxFHGetFileNameParts("default.log", vars);
  lmx::logSetFullName(vars);
  return vars;
}

void LmxFileHandlerFFreeVars(void *block) {
  auto *vars = static_cast<FileHandlerVars *>(block);
  if (vars == nullptr) return;
  if (vars->file >= 0) lmx::logFileClose(vars);  // no trailer
  BasMemoryFree(vars->fullName);
  BasMemoryFree(vars->directory);
  BasMemoryFree(vars->baseName);
  BasMemoryFree(vars->extension);
  BasMemoryFree(vars->numberText);
  if (vars->encoding != nullptr) ilx_cs_free(vars->encoding);
  // This process's view of the named lock; the lock itself stays for the
  // other processes and handlers of its key.
  lmx::MpLock::close(vars->lock);
  BasMemoryFree(vars);
}

void lmxFileHandlerCfgPerms(Object *handler, const char *text) {
  if (handler == nullptr || handler->vars == nullptr) return;
  configurePermission(handler, text, &static_cast<FileHandlerVars *>(handler->vars)->filePermission);
}

void lmxFileHandlerCfgDirPerms(Object *handler, const char *text) {
  if (handler == nullptr || handler->vars == nullptr) return;
  configurePermission(handler, text, &static_cast<FileHandlerVars *>(handler->vars)->dirPermission);
}

}  // extern "C"
