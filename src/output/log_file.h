// The log file itself: directory, open, permission, the per-record check
// that the name still leads to the open file and that it has room, writes
// that keep the size in the process.
#pragma once

#include <cstdint>

#include "output/file_handler_vars.h"

namespace lmx {

// Creates the directory and its missing parents; reports LMXFH0032E with the
// directory ("NULL" when there is none) on failure. The caller goes on.
void logFileMakeDirs(FileHandlerVars *vars);

// Opens the active file with the POSIX flags and notes its identity and
// size. A failure is reported and leaves the descriptor at -1.
bool logFileOpen(FileHandlerVars *vars, int32_t flags);

// Sets the file permission on name; reports LMXMP0075W on failure.
void logFileChmod(FileHandlerVars *vars, const char *name);

enum class LogFileCheck {
  Current,  // still the open file, below its limit (or never rolled)
  Gone,     // the name no longer leads to the open file: deleted or replaced
  Full,     // at or past the limit with more than one file configured
};
// One stat of the active name; refreshes the size from it.
LogFileCheck logFileCheck(FileHandlerVars *vars);

// One write of the whole text, continued after a short write; the size
// grows by what reached the file. A failure is reported.
bool logFileWrite(FileHandlerVars *vars, const char *text, uint32_t length);

// Closes the descriptor; a failure is reported.
void logFileClose(FileHandlerVars *vars);

}  // namespace lmx
