// The event record: one log record in flight.
#pragma once

#include <cstdint>

#include "lumex/collections.h"
#include "lumex/logging.h"
#include "messages/i18msg.h"

struct Event {
  unsigned char isMessage;        // a catalog message (true) or plain text
  int64_t time;                   // milliseconds since 1970-01-01 UTC
  int32_t level;                  // LMX_LEVEL_... or LMX_LEVEL_NONE
  I18Msg *message;                // owned
  char *messageId;                // owned, may be null
  StringToStringMap *properties;  // owned, may be null until the first property
};

extern "C" {
// The event's property map, created if it has none; null for a null event
// or when memory runs out.
LMX_API StringToStringMap *lmxFetchEventPropMap(Event *event);
}
