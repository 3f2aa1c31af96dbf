// Positional binding of string arguments into a message format:
// "%s", "%n$s", "%n.m$s", "%0$s", "%%", with "l" allowed before the "s".
#include <cstring>

#include "ilx/memory.h"
#include "lumex/ilx.h"

namespace {

constexpr size_t kGrowStep = 500;
constexpr size_t kMaxArgList = 400;  // a positional list this long is refused

// Appends n bytes to the buffer, growing a growable one; false when a
// growable buffer could not be enlarged or nothing fits a fixed one.
bool append(BindBufT *out, const char *s, size_t n) {
  const size_t step = n >= kGrowStep ? n + 1 : kGrowStep;
  if (out->growable && (!out->text || out->used + n >= out->capacity)) {
    const size_t cap = out->text ? out->capacity + step : step;
    char *grown = ilx::reallocate(out->text, cap);
    if (!grown) return false;
    if (!out->text) out->used = 0;
    out->text = grown;
    out->capacity = cap;
  }
  if (!out->text || out->used >= out->capacity) return n == 0;
  const size_t room = out->capacity - out->used - 1;
  const size_t take = n < room ? n : room;
  std::memcpy(out->text + out->used, s, take);
  out->used += take;
  out->text[out->used] = '\0';
  return take == n;
}

bool appendStr(BindBufT *out, const char *s) { return append(out, s, std::strlen(s)); }

// Appends the arguments named by a "."-separated list of numbers: n from 1
// to argc is argument n, a larger n "(null)", 0 or an empty number all.
bool appendArgs(BindBufT *out, const char *list, size_t len, int32_t argc,
                const char *const *argv) {
  auto arg = [&](int32_t i) { return argv && argv[i] ? argv[i] : "(null)"; };
  bool ok = true;
  size_t i = 0;
  do {
    uint64_t n = 0;
    for (; i < len && list[i] != '.'; ++i)
      if (n <= static_cast<uint64_t>(INT32_MAX)) n = n * 10 + static_cast<uint64_t>(list[i] - '0');
    if (n == 0) {
      for (int32_t a = 0; a < argc; ++a) ok = appendStr(out, arg(a)) && ok;
    } else {
      ok = appendStr(out, n <= static_cast<uint64_t>(argc) ? arg(static_cast<int32_t>(n - 1)) : "(null)") && ok;
    }
  } while (i++ < len);
  return ok;
}

// The format to bind: the catalog's text when there is one, else dflt, copied.
char *loadFormat(const char *catalog, const char *dflt, int32_t key, int32_t set) {
  const char *text = nullptr;
  MCCatalogT *cat = catalog ? ilx_catopen(catalog, ILX_CAT_ENV_LOCALE, nullptr) : nullptr;
  if (cat) {
    const char *found = ilx_catgets(cat, set, key, dflt, nullptr);
    if (found != dflt) text = found;
  }
  char *copy = text ? ilx::copyText(text) : nullptr;
  if (cat) ilx_catclose(cat);
  if (!copy && dflt) copy = ilx::copyText(dflt);
  return copy;
}

}  // namespace

extern "C" int real_msg_bind(const char *catalog, const char *dflt, int32_t key, int32_t set,
                             int32_t argc, const char *const *argv, BindBufT *out) {
  if (!out) return -1;
  if (argc < 0) argc = 0;
  char *format = loadFormat(catalog, dflt, key, set);
  if (!format) return appendStr(out, "*no format string*") ? 0 : -1;
  bool ok = true;
  const char *p = format;
  while (*p) {
    const char *pct = std::strchr(p, '%');
    if (!pct) {
      ok = appendStr(out, p) && ok;
      break;
    }
    ok = append(out, p, static_cast<size_t>(pct - p)) && ok;
    p = pct + 1;
    if (!*p) {
      ok = appendStr(out, "*bogus format %*") && ok;
      break;
    }
    if (*p == '%') {
      ok = append(out, "%", 1) && ok;
      ++p;
      continue;
    }
    const size_t run = std::strspn(p, "0123456789.");
    if (run >= kMaxArgList) {
      ok = appendStr(out, "*expecting positional #*") && ok;
      continue;  // the run is read again as text
    }
    const char *list = run ? p : "1";
    const size_t listLen = run ? run : 1;
    p += run;
    if (run) {
      if (*p != '$') {
        ok = appendStr(out, "*expecting $*") && ok;
        continue;
      }
      ++p;
    }
    if (*p == 'l') ++p;
    if (*p != 's') {
      ok = appendStr(out, "*don't know what to do with fmt*") && ok;
      if (*p) ++p;
      continue;
    }
    ++p;
    ok = appendArgs(out, list, listLen, argc, argv) && ok;
  }
  BasMemoryFree(format);
  return ok ? 0 : -1;
}
