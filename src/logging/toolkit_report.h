// The toolkit's own reports: a message of its table, sent to the toolkit
// logger. The one entry that the lower layers (messages, configuration,
// the core) call upward into the logging path.
#pragma once

#include <cstdint>

#include "lumex/logging.h"
#include "messages/msg_table.h"

extern "C" {
// Logs the message `key` of the toolkit's table with `defaultText` at
// `level` through the toolkit logger; the variable part is a tagged
// parameter list ended by 0. Takes no lock: the caller holds it. Dropped
// while the toolkit is not open.
LMX_API void lmxIntlLogVA(int32_t level, int32_t key, const char *defaultText, ...);
}

namespace lmx {

// reportMsg(LMX_LEVEL_ERROR, MsgKey::ClassUndefined, LMX_PARM_STRING, cls,
//           LMX_PARM_STRING, name): the table's text, the list ended here.
template <typename... Items>
inline void reportMsg(int32_t level, MsgKey key, Items... items) {
  lmxIntlLogVA(level, static_cast<int32_t>(key), msgText(key), items..., 0);
}

}  // namespace lmx
