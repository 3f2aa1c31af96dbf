// The private variables shared by the file handler and the multi-process
// file handler, the log file name model and the internal file operations.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "lumex/output.h"

namespace lmx {
class MpLock;
}

struct FileHandlerVars {
  int32_t file;              // descriptor; -1 after a close
  unsigned char open;        // the handler is open (header written)
  uint64_t size;             // bytes in the open file, kept after each write
  int32_t maxBytes;          // maxFileBytes / maxFileSize
  int32_t maxFiles;          // maxFiles: the active file and its backups
  char *fullName;            // the active file's name
  char *directory;           // the parts of the configured name
  char *baseName;
  char *extension;           // null: none
  int32_t number;            // trailing number of the configured name; 0: none
  CodeSetT encoding;         // null: records are written in UTF-8
  int32_t filePermission;
  int32_t dirPermission;
  unsigned char appending;
  unsigned char lockCreated;  // multi-process handler: lock below exists
  int32_t lockKey;            // MPFileSemKey
  lmx::MpLock *lock;          // the named cross-process lock
  unsigned char logInternalErrs;
  // The configured name's trailing digits as written ("12" of server12.txt,
  // "007" of app007.log), null when it has none. The active file keeps them
  // and its backups are numbered after them.
  char *numberText;
  // Identity of the open file, to notice when its name now leads elsewhere.
  dev_t fileDev;
  ino_t fileIno;
};

extern "C" {
// Splits name into directory, base name, number and extension.
LMX_API void lmxFHGetFileNameParts(const char *name, FileHandlerVars *vars);
// Stores in *out a new name: directory + "/" (when there is a directory),
// base name, the number when not 0, "." + extension when there is one.
// Nothing is stored when out or baseName is null.
LMX_API void lmxSetFileNameParts(char **out, const char *directory, const char *baseName,
                                 int32_t number, const char *extension);
// Renames the active file and its backups one generation on.
LMX_API void lmxFileHandlerDoRollover(FileHandlerVars *vars);
// Native form of name in a buffer of CX_MAX_PATH bytes.
LMX_API unsigned char lmxGetNativePath(const char *name, char *buffer);
LMX_API void lmxFileHandlerCfgPerms(Object *handler, const char *text);
LMX_API void lmxFileHandlerCfgDirPerms(Object *handler, const char *text);

LMX_API void lmxMultiProcFileHandlerDoRollover(FileHandlerVars *vars);
LMX_API void lmxMultiProcFileHandlerRollActiveLog(FileHandlerVars *vars);
LMX_API unsigned char lmxMultiProcFileHandlerInitSem(FileHandlerVars *vars);
LMX_API unsigned char lmxMultiProcFileHandlerLockSem(FileHandlerVars *vars);
LMX_API void lmxMultiProcFileHandlerUnlockSem(FileHandlerVars *vars);
}

namespace lmx {

// A new text (BasMemoryFree) naming generation `generation` of the log:
// 0 is the active file, 1 the newest backup. Null without a base name.
// A configured name without trailing digits numbers its backups in place of
// the number (default.log, default1.log, default2.log); one with trailing
// digits keeps them and sets the generation off with a dot (server12.txt,
// server12.1.txt, server12.2.txt).
char *logGenerationName(const FileHandlerVars *vars, int32_t generation);

// Builds the active file's name anew from the parts.
void logSetFullName(FileHandlerVars *vars);

// size >= maxBytes, with a negative limit never reached.
inline bool logIsFull(uint64_t size, int32_t maxBytes) {
  return size >= static_cast<uint64_t>(static_cast<int64_t>(maxBytes));
}

}  // namespace lmx
