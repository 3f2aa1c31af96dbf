// Opening and closing message catalogs, and the XPG-style wrappers.
#include <fcntl.h>

#include <cerrno>

#include "ilx/catalog.h"

namespace {

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
