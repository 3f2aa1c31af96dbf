// The logging path's internal entries: the unlocked log calls, the
// loggability test and the listener operations. All of them run with the
// API lock held.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "lumex/collections.h"
#include "lumex/logging.h"

extern "C" {
// A catalog message of any level through the logger (no lock).
LMX_API void lmxLogMessageEntry(Object *logger, int32_t level, const char *catalog, int32_t set,
                                int32_t key, const char *text, va_list args);
// A debug trace or plain text of any level through the logger (no lock);
// a null file means no file and no line.
LMX_API void lmxLogDebugEntry(Object *logger, int32_t level, const char *file,
                              const char *function, int32_t line, const char *text,
                              va_list args);
LMX_API unsigned char lmxIntlIsLoggable(Object *logger, int32_t level);

// Adds the listener (one reference taken), making the group on first use.
// False for null arguments, a formatter, a listener already present, or a
// listener that would close a loop (refused with a warning).
LMX_API unsigned char lmxIntlAddListener(Object *object, Object *listener);
// Removes the listener if present, giving its reference back.
LMX_API unsigned char lmxIntlRemListener(Object *object, Object *listener);
// The object's listener group, made and stored when it has none and
// `create` is true; null for a null object, one without class, a formatter.
LMX_API ListenerGroup *lmxFetchListenerGroup(Object *object, unsigned char create);
}
