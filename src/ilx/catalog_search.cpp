// Finding a catalog file: NLSPATH templates expanded for each candidate
// locale name of the chosen locale.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ilx/catalog.h"
#include "ilx/install_dir.h"

namespace ilx {
namespace {

// Appends [s, s + n) to out at *pos; false when it would not fit with a NUL.
bool put(char *out, size_t *pos, const char *s, size_t n) {
  if (n >= kCatPathMax - *pos) return false;
  std::memcpy(out + *pos, s, n);
  *pos += n;
  return true;
}

// The parts of a locale name language[_territory][.codeset].
struct LocaleParts {
  const char *lang, *terr, *cs;
  size_t langLen, terrLen, csLen;
};

LocaleParts splitLocale(const char *loc) {
  const size_t len = std::strlen(loc);
  const char *us = std::strchr(loc, '_');
  const char *dot = std::strchr(loc, '.');
  LocaleParts p{loc, "", "", len, 0, 0};
  if (us) {
    p.langLen = static_cast<size_t>(us - loc);
    p.terr = us + 1;
    const char *end = std::strchr(p.terr, '.');
    p.terrLen = end ? static_cast<size_t>(end - p.terr) : std::strlen(p.terr);
  } else if (dot) {
    p.langLen = static_cast<size_t>(dot - loc);
  }
  if (dot) {
    p.cs = dot + 1;
    p.csLen = std::strlen(p.cs);
  }
  return p;
}

bool alreadyListed(const LocaleCandidates &c, const char *name) {
  for (int i = 0; i < c.count; ++i)
    if (std::strcmp(c.names[i], name) == 0) return true;
  return false;
}

void addCandidate(LocaleCandidates *c, const char *name, size_t len) {
  if (len >= kLocaleMax) return;
  char buf[kLocaleMax];
  std::memcpy(buf, name, len);
  buf[len] = '\0';
  if (alreadyListed(*c, buf)) return;  // the same name expands the same way
  std::memcpy(c->names[c->count++], buf, len + 1);
}

bool exists(const char *path) {
  struct stat st;
  return stat(path, &st) == 0;
}

// Chooses the locale name for ilx_catopen into buf (kLocaleMax bytes); false
// when the chosen name is too long to use.
bool chooseLocale(const char *locale, int32_t flags, char *buf) {
  const char *src = locale;
  if (!src && (flags & ILX_CAT_ENV_LOCALE)) {
    src = std::getenv("LC_ALL");
    if (!src) src = std::getenv("LC_MESSAGES");
  }
  if (!src) {
    char os[kLocaleMax + 1];
    ilx_os_lang_name(os, sizeof os);
    src = os;
    if (std::strlen(src) >= kLocaleMax) return false;
    std::memcpy(buf, src, std::strlen(src) + 1);
    return true;
  }
  const size_t len = std::strlen(src);
  if (len >= kLocaleMax) return false;
  std::memcpy(buf, src, len + 1);
  return true;
}

}  // namespace

bool expandTemplate(const char *tmpl, size_t len, const char *name, const char *locale,
                    char *out) {
  const LocaleParts lp = splitLocale(locale);
  size_t pos = 0;
  for (size_t i = 0; i < len; ++i) {
    bool ok = true;
    if (tmpl[i] == '%' && i + 1 < len) {
      switch (tmpl[i + 1]) {
        case 'N': ok = put(out, &pos, name, std::strlen(name)); ++i; break;
        case 'L': ok = put(out, &pos, locale, std::strlen(locale)); ++i; break;
        case 'l': ok = put(out, &pos, lp.lang, lp.langLen); ++i; break;
        case 't': ok = put(out, &pos, lp.terr, lp.terrLen); ++i; break;
        case 'c': ok = put(out, &pos, lp.cs, lp.csLen); ++i; break;
        default: ok = put(out, &pos, "%", 1); break;  // the next character is read again
      }
    } else {
      ok = put(out, &pos, tmpl + i, 1);
    }
    if (!ok) return false;
  }
  out[pos] = '\0';
  return true;
}

void localeCandidates(const char *locale, int32_t flags, LocaleCandidates *out) {
  out->count = 0;
  if (locale && std::strlen(locale) < kLocaleMax) {
    char canon[kLocaleMax], lang[kLocaleMax];
    ilx_canonical_loc(locale, canon, sizeof canon);
    ilx_canonical_lang(locale, lang, sizeof lang);
    const size_t canonLen = std::strlen(canon);
    addCandidate(out, canon, canonLen);
    if (canonLen > 2 && !(flags & ILX_CAT_NO_LANG2)) addCandidate(out, canon, 2);
    if (std::strcmp(lang, canon) != 0 && !(flags & ILX_CAT_NO_CANLANG))
      addCandidate(out, lang, std::strlen(lang));
  }
  if (!(flags & ILX_CAT_NO_C)) addCandidate(out, "C", 1);
}

// Tries one search-path element for every locale candidate.
static bool tryElement(const char *elem, size_t len, const char *name, const LocaleCandidates &cands,
                       char *path) {
  for (int i = 0; i < cands.count; ++i) {
    if (!expandTemplate(elem, len, name, cands.names[i], path))
      continue;  // does not fit a path: not a candidate
    if (*path && (cacheHasPath(path) || exists(path))) return true;
  }
  return false;
}

bool findCatalogFile(const char *name, int32_t flags, const char *locale, char *path) {
  if (!name || !*name) return false;
  const size_t nameLen = std::strlen(name);
  if (std::strpbrk(name, "/\\")) {
    if (nameLen >= kCatPathMax || !exists(name)) return false;
    std::memcpy(path, name, nameLen + 1);
    return true;
  }
  char chosen[kLocaleMax];
  LocaleCandidates cands;
  localeCandidates(chooseLocale(locale, flags, chosen) ? chosen : nullptr, flags, &cands);
  const char *list = ilx_get_nlspath();
  if (!*list) list = "%N.cat";
  // Elements end at ';' or ':', except a ':' second in its element (a drive
  // letter, as in C:/msg/%N).
  for (const char *elem = list; *elem;) {
    const char *end = elem;
    while (*end && *end != ';' && !(*end == ':' && end - elem != 1)) ++end;
    if (tryElement(elem, static_cast<size_t>(end - elem), name, cands, path)) return true;
    elem = *end ? end + 1 : end;
  }
  // Last, the installed catalog folder, so that an installation finds the
  // toolkit's own catalogs without any variable set.
  char installed[kCatPathMax];
  const int n = std::snprintf(installed, sizeof installed, "%s/nls/%%L/%%N.cat", installedDataDir());
  return n > 0 && static_cast<size_t>(n) < sizeof installed &&
         tryElement(installed, static_cast<size_t>(n), name, cands, path);
}

}  // namespace ilx
