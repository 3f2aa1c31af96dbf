// The public log calls, their va_list twins and the unlocked entries they
// share. A call that the logger's enabled flag or level drops is decided
// before the API lock, from relaxed reads; the whole test is made again
// under the lock.
#include <cstdarg>

#include "core/api_frame.h"
#include "core/object.h"
#include "logging/event.h"
#include "logging/log_path.h"

namespace {

// True when a call of the level reaches the logger's threshold.
inline bool levelPasses(int32_t threshold, int32_t level) {
  return level == LMX_LEVEL_NONE || threshold == LMX_LEVEL_NONE || level >= threshold;
}

// The early test, without the lock: enabled and level only.
inline bool mayTake(const Object *logger, int32_t level) {
  return logger != nullptr && lmx::enabledOf(logger) && levelPasses(lmx::levelOf(logger), level);
}

// The full test, under the lock: the logger's Log operation when the call
// goes on, else null.
LmxLogFn takingLog(Object *logger, int32_t level) {
  if (logger == nullptr || !lmx::enabledOf(logger)) return nullptr;
  const ObjClass *cls = logger->objClass;
  if (cls == nullptr || cls->kind != LMX_KIND_LOGGER || cls->ops.logger.log == nullptr) {
    return nullptr;
  }
  if (!levelPasses(lmx::levelOf(logger), level)) return nullptr;
  return cls->ops.logger.log;
}

void messageLocked(Object *logger, int32_t level, const char *catalog, int32_t set, int32_t key,
                   const char *text, va_list args) {
  if (!mayTake(logger, level)) return;
  lmx::ApiLock lock;
  if (lock) lmxLogMessageEntry(logger, level, catalog, set, key, text, args);
}

void debugLocked(Object *logger, int32_t level, const char *file, const char *function,
                 int32_t line, const char *text, va_list args) {
  if (!mayTake(logger, level)) return;
  lmx::ApiLock lock;
  if (lock) lmxLogDebugEntry(logger, level, file, function, line, text, args);
}

}  // namespace

extern "C" {

void lmxLogMessageEntry(Object *logger, int32_t level, const char *catalog, int32_t set,
                        int32_t key, const char *text, va_list args) {
  LmxLogFn log = takingLog(logger, level);
  if (log == nullptr) return;
  Event *event = LmxVaAllocEvent(level, catalog, set, key, text, args);
  LmxSetEventIsMessage(event, 1);
  log(logger, event);
  LmxFreeEvent(event);
}

void lmxLogDebugEntry(Object *logger, int32_t level, const char *file, const char *function,
                      int32_t line, const char *text, va_list args) {
  LmxLogFn log = takingLog(logger, level);
  if (log == nullptr) return;
  Event *event = LmxVaAllocEvent(level, nullptr, 0, 0, text, args);
  LmxSetEventIsMessage(event, 0);
  if (event != nullptr && file != nullptr) {
    LmxSetEventProp(event, LMX_PROP_SRCFILE, file);
    LmxSetEventPropInt(event, LMX_PROP_SRCLINE, line);
  }
  if (event != nullptr && function != nullptr) {
    LmxSetEventProp(event, LMX_PROP_SRCFUNCTION, function);
  }
  log(logger, event);
  LmxFreeEvent(event);
}

// --- Catalog messages --------------------------------------------------------

void LmxLogMsgVA(Object *logger, const char *catalog, int32_t set, int32_t key, const char *text,
                 va_list args) {
  messageLocked(logger, LMX_LEVEL_NONE, catalog, set, key, text, args);
}
void LmxLogInfoVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                  const char *text, va_list args) {
  messageLocked(logger, LMX_LEVEL_INFO, catalog, set, key, text, args);
}
void LmxLogWarnVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                  const char *text, va_list args) {
  messageLocked(logger, LMX_LEVEL_WARN, catalog, set, key, text, args);
}
void LmxLogErrorVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                   const char *text, va_list args) {
  messageLocked(logger, LMX_LEVEL_ERROR, catalog, set, key, text, args);
}
void LmxLogFatalVA(Object *logger, const char *catalog, int32_t set, int32_t key,
                   const char *text, va_list args) {
  messageLocked(logger, LMX_LEVEL_FATAL, catalog, set, key, text, args);
}

void LmxLogMsg(Object *logger, const char *catalog, int32_t set, int32_t key, const char *text,
               ...) {
  va_list args;
  va_start(args, text);
  messageLocked(logger, LMX_LEVEL_NONE, catalog, set, key, text, args);
  va_end(args);
}
void LmxLogInfo(Object *logger, const char *catalog, int32_t set, int32_t key, const char *text,
                ...) {
  if (!mayTake(logger, LMX_LEVEL_INFO)) return;
  va_list args;
  va_start(args, text);
  messageLocked(logger, LMX_LEVEL_INFO, catalog, set, key, text, args);
  va_end(args);
}
void LmxLogWarn(Object *logger, const char *catalog, int32_t set, int32_t key, const char *text,
                ...) {
  if (!mayTake(logger, LMX_LEVEL_WARN)) return;
  va_list args;
  va_start(args, text);
  messageLocked(logger, LMX_LEVEL_WARN, catalog, set, key, text, args);
  va_end(args);
}
void LmxLogError(Object *logger, const char *catalog, int32_t set, int32_t key, const char *text,
                 ...) {
  if (!mayTake(logger, LMX_LEVEL_ERROR)) return;
  va_list args;
  va_start(args, text);
  messageLocked(logger, LMX_LEVEL_ERROR, catalog, set, key, text, args);
  va_end(args);
}
void LmxLogFatal(Object *logger, const char *catalog, int32_t set, int32_t key, const char *text,
                 ...) {
  if (!mayTake(logger, LMX_LEVEL_FATAL)) return;
  va_list args;
  va_start(args, text);
  messageLocked(logger, LMX_LEVEL_FATAL, catalog, set, key, text, args);
  va_end(args);
}

// --- Debug traces and plain text ---------------------------------------------

void LmxLogDebugMinVA(Object *logger, const char *file, const char *function, int32_t line,
                      const char *text, va_list args) {
  debugLocked(logger, LMX_LEVEL_DEBUG_MIN, file, function, line, text, args);
}
void LmxLogDebugMidVA(Object *logger, const char *file, const char *function, int32_t line,
                      const char *text, va_list args) {
  debugLocked(logger, LMX_LEVEL_DEBUG_MID, file, function, line, text, args);
}
void LmxLogDebugMaxVA(Object *logger, const char *file, const char *function, int32_t line,
                      const char *text, va_list args) {
  debugLocked(logger, LMX_LEVEL_DEBUG_MAX, file, function, line, text, args);
}
void LmxLogTextVA(Object *logger, const char *text, va_list args) {
  debugLocked(logger, LMX_LEVEL_NONE, nullptr, nullptr, 0, text, args);
}

void LmxLogDebugMin(Object *logger, const char *file, const char *function, int32_t line,
                    const char *text, ...) {
  if (!mayTake(logger, LMX_LEVEL_DEBUG_MIN)) return;
  va_list args;
  va_start(args, text);
  debugLocked(logger, LMX_LEVEL_DEBUG_MIN, file, function, line, text, args);
  va_end(args);
}
void LmxLogDebugMid(Object *logger, const char *file, const char *function, int32_t line,
                    const char *text, ...) {
  if (!mayTake(logger, LMX_LEVEL_DEBUG_MID)) return;
  va_list args;
  va_start(args, text);
  debugLocked(logger, LMX_LEVEL_DEBUG_MID, file, function, line, text, args);
  va_end(args);
}
void LmxLogDebugMax(Object *logger, const char *file, const char *function, int32_t line,
                    const char *text, ...) {
  if (!mayTake(logger, LMX_LEVEL_DEBUG_MAX)) return;
  va_list args;
  va_start(args, text);
  debugLocked(logger, LMX_LEVEL_DEBUG_MAX, file, function, line, text, args);
  va_end(args);
}
void LmxLogText(Object *logger, const char *text, ...) {
  va_list args;
  va_start(args, text);
  debugLocked(logger, LMX_LEVEL_NONE, nullptr, nullptr, 0, text, args);
  va_end(args);
}

// --- Loggability ---------------------------------------------------------------

unsigned char lmxIntlIsLoggable(Object *logger, int32_t level) {
  return logger != nullptr && levelPasses(lmx::levelOf(logger), level);
}
unsigned char LmxIsLoggable(Object *logger, int32_t level) {
  return lmx::locked([&] { return lmxIntlIsLoggable(logger, level); });
}

unsigned char LmxIsLoggableByFilter(Object *filter, Event *event) {
  return lmx::locked([&]() -> unsigned char {
    if (filter == nullptr || event == nullptr || filter->objClass == nullptr) return 0;
    const ObjClass *cls = filter->objClass;
    if (cls->kind != LMX_KIND_FILTER || cls->ops.filter.isLoggable == nullptr) return 0;
    return cls->ops.filter.isLoggable(filter, event) ? 1 : 0;
  });
}

LmxLogFn LmxLoggerGetFLog(Object *logger) {
  return lmx::locked([&]() -> LmxLogFn {
    if (logger == nullptr || !lmx::enabledOf(logger) || logger->objClass == nullptr) {
      return nullptr;
    }
    const ObjClass *cls = logger->objClass;
    return cls->kind == LMX_KIND_LOGGER ? cls->ops.logger.log : nullptr;
  });
}

}  // extern "C"
