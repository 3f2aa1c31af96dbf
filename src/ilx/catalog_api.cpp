// Opening, reading and closing message catalogs, and the XPG-style wrappers.
#include <fcntl.h>

#include <cerrno>

#include "ilx/catalog.h"

namespace {

// The shared UTF-8 handle, which is never freed.
CodeSetT utf8Handle() {
  static const CodeSetT h = ilx_cs_new("UTF8");
  return h;
}

int openReadOnly(const char *path) {
  int fd;
  do {
    fd = open(path, O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

extern "C" {

MCCatalogT *ilx_catopen(const char *name, int32_t flags, const char *locale) {
  char path[ilx::kCatPathMax];
  if (!ilx::findCatalogFile(name, flags, locale, path)) return nullptr;
  if (MCCatalogT *cached = ilx::cacheReopen(path)) return cached;
  const int fd = openReadOnly(path);
  if (fd < 0) return nullptr;
  MCCatalogT *cat = ilx::catalogRead(fd, flags);
  if (cat && !ilx::cacheAdd(path, cat)) {
    ilx::catalogFree(cat);
    return nullptr;
  }
  return cat;
}

const char *ilx_catgets(MCCatalogT *cat, int32_t set, int32_t key, const char *dflt, CodeSetT cs) {
  const MCMsgT *m = ilx::catalogFindMsg(ilx::catalogFindSet(cat, set), key);
  if (!m) return dflt;
  if (!cs) return m->local;
  if (cs == utf8Handle()) return m->utf8;
  char *slot = m->scratch;
  const char *converted = ilx_u2s(cs, m->utf8, &slot);
  return converted ? converted : dflt;
}

int ilx_catclose(MCCatalogT *cat) { return cat && ilx::cacheClose(cat) ? 0 : -1; }

MCCatalogT *rmc_catopen(const char *name, int32_t flags) {
  MCCatalogT *cat = ilx_catopen(name, flags, nullptr);
  return cat ? cat : RMC_CATD_ERR;
}

const char *rmc_catgets(MCCatalogT *cat, int32_t set, int32_t key, const char *dflt) {
  return ilx_catgets(cat == RMC_CATD_ERR ? nullptr : cat, set, key, dflt, nullptr);
}

int rmc_catclose(MCCatalogT *cat) { return ilx_catclose(cat == RMC_CATD_ERR ? nullptr : cat); }

}  // extern "C"
