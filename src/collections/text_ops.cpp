// Text operations of the collections: the token iterator and joining an
// array of texts. Neither touches toolkit state, so neither locks.
#include <cstdint>
#include <cstring>

#include "lumex/collections.h"

namespace {

bool atEnd(const char *p) { return p == nullptr || *p == '\0'; }
bool noSeparators(const char *seps) { return seps == nullptr || *seps == '\0'; }

// The token at p: its start (after separators) and length.
const char *tokenStart(const char *p, const char *seps) { return p + std::strspn(p, seps); }

}  // namespace

extern "C" {

LmxStrTokIter LmxStrTokIterator(const char *text, const char *separators) {
  return LmxStrTokIter{text, separators};
}

unsigned char LmxStrTokIterHasNext(LmxStrTokIter it) {
  if (atEnd(it.pos)) return 0;
  if (noSeparators(it.separators)) return 1;
  return *tokenStart(it.pos, it.separators) != '\0';
}

char *LmxStrTokIterGet(LmxStrTokIter it) {
  if (atEnd(it.pos)) return nullptr;
  const char *start = it.pos;
  size_t len = 1;
  if (!noSeparators(it.separators)) {
    start = tokenStart(it.pos, it.separators);
    len = std::strcspn(start, it.separators);
    if (len == 0) return nullptr;
  }
  if (len >= UINT32_MAX) return nullptr;
  auto *token = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(len + 1)));
  if (token == nullptr) return nullptr;
  std::memcpy(token, start, len);
  token[len] = '\0';
  return token;
}

LmxStrTokIter LmxStrTokIterNext(LmxStrTokIter it) {
  if (atEnd(it.pos)) return it;
  if (noSeparators(it.separators)) {
    ++it.pos;
  } else {
    const char *start = tokenStart(it.pos, it.separators);
    it.pos = start + std::strcspn(start, it.separators);
  }
  return it;
}

char *LmxStrACat(int32_t count, const char *const *texts, const char *separator) {
  size_t total = 0;
  size_t sepLen = separator != nullptr ? std::strlen(separator) : 0;
  bool any = false;
  for (int32_t i = 0; texts != nullptr && i < count; ++i) {
    if (texts[i] == nullptr) continue;
    total += std::strlen(texts[i]) + (any ? sepLen : 0);
    any = true;
  }
  if (total >= UINT32_MAX) return nullptr;
  auto *joined = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(total + 1)));
  if (joined == nullptr) return nullptr;
  char *out = joined;
  any = false;
  for (int32_t i = 0; texts != nullptr && i < count; ++i) {
    if (texts[i] == nullptr) continue;
    if (any && sepLen > 0) {
      std::memcpy(out, separator, sepLen);
      out += sepLen;
    }
    size_t len = std::strlen(texts[i]);
    std::memcpy(out, texts[i], len);
    out += len;
    any = true;
  }
  *out = '\0';
  return joined;
}

}  // extern "C"
