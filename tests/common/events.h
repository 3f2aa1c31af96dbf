// Events made for the tests.
#pragma once

#include <cstdarg>

#include "lumex/logging.h"

namespace test {

// An INFO event with the text and the tagged parameter list ended by 0.
inline Event *newEvent(const char *text, ...) {
  va_list args;
  va_start(args, text);
  Event *event = LmxVaAllocEvent(LMX_LEVEL_INFO, nullptr, 1, 1, text, args);
  va_end(args);
  return event;
}

}  // namespace test
