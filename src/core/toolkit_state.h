// Process-wide toolkit state, guarded by the API lock.
#pragma once

#include <cstddef>

#include "lumex/collections.h"
#include "lumex/core.h"

namespace lmx {

struct ToolkitState {
  CxMutexHandle apiMutex = nullptr;  // the API lock, created on first use
  unsigned char mutexCreated = 0;    // 1 once apiMutex exists
  unsigned char opened = 0;          // 1 while the toolkit is open
  Object *logger = nullptr;          // lumex.errorLogger while open
  StringToObjMap *instances = nullptr;  // live objects by name, made with the first
  StringToObjClassMap *classes = nullptr;  // the class registry, by name
  StringGroup *classNames[4] = {};         // class names per kind, in order of registration
};

ToolkitState &toolkitState();

// The text that LmxReportPlatformErr logs for a status, in UTF-8, at most
// cap - 1 bytes and zero-terminated. Returns false (and leaves buf empty)
// for kinds that report nothing.
bool platformErrText(CxStatus status, char *buf, size_t cap);

// Destroys the API lock; used when the toolkit closes.
void destroyApiMutex();

}  // namespace lmx
