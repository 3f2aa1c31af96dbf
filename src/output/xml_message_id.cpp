// Message identifiers at the start of message texts ("LMXBC0020E ..."):
// three capitals, at most three more letters, a run of digits (at least four
// when no letter follows the capitals, else at least three), one severity
// letter of "IWEADF"; 8 to 10 characters in all.
#include <cstring>

#include "logging/event.h"
#include "lumex/output.h"
#include "messages/i18msg.h"

namespace {

enum class Kind { Capital, Small, Digit, None };

// Kinds of the first ten characters; the first character that is no
// letter or digit and all after it count as None, as do places past the end.
struct Classes {
  Kind at[11];  // at[1] .. at[10]
  Kind operator[](int position) const { return at[position]; }
};

Classes classify(const char *text) {
  Classes c{};
  bool stopped = false;
  for (int i = 1; i <= 10; ++i) {
    char ch = stopped ? '\0' : text[i - 1];
    Kind k = ch >= 'A' && ch <= 'Z'   ? Kind::Capital
             : ch >= 'a' && ch <= 'z' ? Kind::Small
             : ch >= '0' && ch <= '9' ? Kind::Digit
                                      : Kind::None;
    if (k == Kind::None) stopped = true;
    c.at[i] = k;
  }
  return c;
}

// The identifier's length, or 0 when the text does not start with one.
int identifierLength(const char *text) {
  if (std::strlen(text) < 8) return 0;
  Classes c = classify(text);
  for (int i = 1; i <= 3; ++i) {
    if (c[i] != Kind::Capital) return 0;
  }
  bool digits = false;
  for (int i = 4; i <= 6; ++i) {
    if (c[i] == Kind::Digit) {
      digits = true;
    } else if (digits || c[i] == Kind::None) {
      return 0;
    }
  }
  if (c[7] != Kind::Digit) return 0;
  if (c[5] != Kind::Digit && c[8] != Kind::Digit) return 0;
  if (c[6] != Kind::Digit && c[9] != Kind::Digit) return 0;
  for (int i = 8; i <= 10; ++i) {
    if (c[i] == Kind::Digit) continue;
    return c[i] == Kind::Capital && std::strchr("IWEADF", text[i - 1]) != nullptr ? i : 0;
  }
  return 0;
}

}  // namespace

extern "C" {

char *lmxPDXMLGetMessageID(const char *text) {
  int length = text != nullptr ? identifierLength(text) : 0;
  if (length == 0) return BasStringDup("None");
  auto *id = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(length) + 1));
  if (id == nullptr) return nullptr;
  std::memcpy(id, text, static_cast<size_t>(length));
  id[length] = '\0';
  return id;
}

void lmxPDXMLFormatterCacheMessageID(Object *, Event *event) {
  if (event == nullptr || event->messageId != nullptr) return;
  char *text = lmxIntlBindI18Msg(event->message);
  if (text != nullptr) {
    char *id = lmxPDXMLGetMessageID(text);
    LmxSetEventMessageId(event, id);
    BasMemoryFree(id);
  } else {
    LmxSetEventMessageId(event, "");
  }
  BasMemoryFree(text);
}

}  // extern "C"
