// Message catalogs in memory: the open catalog, its sets and messages, the
// process-wide cache, and the search for catalog files along NLSPATH.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ilx/catalog_index.h"
#include "lumex/ilx.h"

// One message of a loaded set: 16 bytes, so that look-ups touch little
// memory. Its texts are found through the set (msgUtf8, msgLocal,
// msgScratch): the UTF-8 text at textOffset in the set's text area, the text
// in the default code set (made when the set loaded) at localOffset in the
// set's default-code-set area, and the area for conversions into other code
// sets at the same offset in the scratch area; the last two hold 2n + 1 bytes
// for a UTF-8 text of n bytes.
struct MCMsgT {
  int32_t msgNo;
  int32_t textOffset;   // as read, checked against the text block
  uint32_t localOffset;
  int32_t extra;        // the record's third word, as read
};

struct MCSetT {
  int32_t setNo;
  int32_t nextSet;
  int32_t msgOffset;
  int32_t textOffset;
  void *block;       // message array, text area, default-code-set and scratch areas
  MCMsgT *msgs;      // inside block
  const char *text;  // text area inside block
  char *local;       // default-code-set area; the scratch area follows it
  int32_t textLen;
  int32_t numMsgs;   // message records, as read
  int32_t msgCount;  // once loaded: usable messages in msgs, ascending
  int32_t loadState; // -1 not loaded, 0 loaded
  ilx::NumberIndex index;  // once loaded: message numbers to positions
};

inline const char *msgUtf8(const MCSetT *s, const MCMsgT *m) { return s->text + m->textOffset; }
inline char *msgLocal(const MCSetT *s, const MCMsgT *m) { return s->local + m->localOffset; }
inline char *msgScratch(const MCSetT *s, const MCMsgT *m) {
  return s->local + 2 * static_cast<size_t>(s->textLen) + m->localOffset;
}

struct MCCatalogT {
  int32_t flags;
  int fd;
  int32_t numSets;
  MCSetT *sets;
  ilx::NumberIndex setIndex;  // set numbers to positions
};

namespace ilx {

constexpr size_t kCatPathMax = 1024;  // expanded candidate paths
constexpr size_t kLocaleMax = 32;     // locale names, with the NUL

// --- catalog files (catalog_file.cpp) ---

// Reads the header and set records of the open file `fd`; takes ownership of
// fd (closed on failure). Null when the file is not a usable catalog.
MCCatalogT *catalogRead(int fd, int32_t flags);
// Closes the file and frees the catalog with every loaded set.
void catalogFree(MCCatalogT *cat);
// Loads the set's messages; false leaves it not loaded.
bool catalogLoadSet(MCCatalogT *cat, MCSetT *set);
// --- look-up (catalog_lookup.cpp) ---

// The set numbered `setNo`, loaded on first use; null when missing or not
// loadable.
MCSetT *catalogFindSet(MCCatalogT *cat, int32_t setNo);
// Message `key` of a loaded set, or null.
const MCMsgT *catalogFindMsg(const MCSetT *set, int32_t key);

// --- the cache (catalog_cache.cpp) ---

// The cached catalog of exactly this path, marked open and stamped; null when
// the path is not cached.
MCCatalogT *cacheReopen(const char *path);
bool cacheHasPath(const char *path);
// Adds an open catalog; false when no slot could be made (the caller still
// owns the catalog).
bool cacheAdd(const char *path, MCCatalogT *cat);
// Marks the open entry of `cat` closed; false when there is none.
bool cacheClose(const MCCatalogT *cat);
size_t cacheCapacity();
size_t cacheCount();  // entries in use, open or closed
bool cacheIsCached(const MCCatalogT *cat);

// --- finding the file (catalog_search.cpp) ---

// Expands one NLSPATH template (tmpl, len bytes) for catalog `name` and locale
// `locale` into out (kCatPathMax bytes). False when the result does not fit.
bool expandTemplate(const char *tmpl, size_t len, const char *name, const char *locale,
                    char *out);

// Candidate locale names tried for each template, in order.
struct LocaleCandidates {
  char names[4][kLocaleMax];
  int count;
};
// Builds the candidates for a chosen locale name under the ilx_catopen flags.
// A locale name longer than kLocaleMax - 1 bytes contributes no candidates.
void localeCandidates(const char *locale, int32_t flags, LocaleCandidates *out);
// Finds the catalog file for `name` (see ilx_catopen) into path
// (kCatPathMax bytes). False when there is none.
bool findCatalogFile(const char *name, int32_t flags, const char *locale, char *path);

}  // namespace ilx
