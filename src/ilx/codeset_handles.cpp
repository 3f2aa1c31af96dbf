// Code set handles and the services' set-up: the built-in handles, making
// handles from names, duplicates, the default and OS code sets, ILXDIR.
#include <cstdio>
#include <cstdlib>

#include "ilx/codeset.h"
#include "ilx/memory.h"

namespace ilx {
namespace {

CodeSet gUtf8{nullptr, kUtf8, "UTF8", 0, 0, 0, 0, {}, 0, 0, 0};
CodeSet gOs{nullptr, kOs, "OS", 0, 0, 0, 0, {}, 0, 0, 0};
Services gServices{false, &gOs, &gOs, nullptr, nullptr, nullptr, nullptr};

constexpr size_t kNameBuffer = 128;

void fillFromTable(CodeSet *cs, uint8_t *image, size_t size) {
  cs->table = image;
  cs->tableSize = static_cast<uint32_t>(size);
  cs->hdr56 = rd16(image + hdr::kKeep56);
  cs->hdr62 = rd16(image + hdr::kKeep62);
  std::memcpy(cs->hdr64, image + hdr::kKeep64, sizeof cs->hdr64);
  cs->kind = tableKind(image);
  size_t n = 0;
  while (n < sizeof cs->name - 1 && image[hdr::kName + n] != '\0') ++n;
  std::memcpy(cs->name, image + hdr::kName, n);
  cs->name[n] = '\0';
}

}  // namespace

CodeSet *utf8Handle() { return &gUtf8; }
CodeSet *osHandle() { return &gOs; }
bool isBuiltin(const CodeSet *cs) { return cs == &gUtf8 || cs == &gOs; }
Services &services() { return gServices; }

CodeSet *defaultCs() {
  if (!gServices.initialized) ilx_init();
  return gServices.defaultCs;
}

CodeSet *osCodeSet() {
  if (!gServices.initialized) ilx_init();
  return gServices.osCs;
}

bool putEnvText(char *&slot, const char *var, const char *value) {
  size_t len = std::strlen(var) + std::strlen(value) + 2;
  char *text = allocate<char>(len);
  if (text == nullptr) return false;
  std::snprintf(text, len, "%s=%s", var, value);
  if (::putenv(text) != 0) {
    BasMemoryFree(text);
    return false;
  }
  BasMemoryFree(slot);
  slot = text;
  return true;
}

void releaseEnvText(char *&slot) {
  if (slot == nullptr) return;
  // Where the environment still points at the text, it gets a copy first;
  // the entry is found by its whole name, so the text stays intact until
  // setenv has replaced the pointer (a value set since by someone else
  // stays as it is).
  const char *eq = std::strchr(slot, '=');
  char name[32];
  const size_t n = eq != nullptr ? static_cast<size_t>(eq - slot) : 0;
  if (n > 0 && n < sizeof name) {
    std::memcpy(name, slot, n);
    name[n] = '\0';
    if (std::getenv(name) == eq + 1) ::setenv(name, eq + 1, 1);
  }
  BasMemoryFree(slot);
  slot = nullptr;
}

}  // namespace ilx

using ilx::gServices;

extern "C" {

CodeSetT ilx_cs_new(const char *name) {
  if (name == nullptr) return nullptr;
  char norm[ilx::kNameBuffer];
  const char *lookup = name;
  if (std::strchr(name, '/') == nullptr && std::strchr(name, '\\') == nullptr) {
    if (!ilx::normalizeName(name, norm, sizeof norm)) return nullptr;
    if (std::strcmp(norm, "UTF8") == 0) return ilx::utf8Handle();
    lookup = norm;
  }
  auto *cs = ilx::allocateZeroed<CodeSet>(1);
  if (cs == nullptr) return nullptr;
  if (std::strcmp(lookup, "INTERNAL37") == 0) {
    cs->kind = ilx::kOs;
    return cs;
  }
  uint8_t *image = nullptr;
  size_t size = 0;
  if (!ilx::loadTable(lookup, &image, &size)) {
    BasMemoryFree(cs);
    return nullptr;
  }
  ilx::fillFromTable(cs, image, size);
  return cs;
}

int ilx_cs_free(CodeSetT cs) {
  if (cs == nullptr || ilx::isBuiltin(cs)) return 0;
  if (gServices.defaultCs == cs) gServices.defaultCs = ilx::osHandle();
  if (gServices.osCs == cs) gServices.osCs = ilx::osHandle();
  if (gServices.initDefault == cs) gServices.initDefault = nullptr;
  if (gServices.initOs == cs) gServices.initOs = nullptr;
  if (!cs->borrowed) BasMemoryFree(cs->table);
  BasMemoryFree(cs);
  return 0;
}

CodeSetT ilx_dup_handle(CodeSetT cs) {
  CodeSet *src = ilx::resolve(cs);
  auto *dup = ilx::allocate<CodeSet>(1);
  if (dup == nullptr) return nullptr;
  *dup = *src;
  dup->borrowed = 1;
  dup->toShift = dup->fromShift = 0;
  dup->subs = 0;
  return dup;
}

const ConvTableT *ilx_cs_table(CodeSetT cs, uint32_t *size) {
  CodeSet *c = ilx::resolve(cs);
  if (size != nullptr) *size = c->table != nullptr ? c->tableSize : 0;
  return c->table;
}

int ilx_init(void) {
  if (gServices.initialized) return 0;
  gServices.initialized = true;  // first, so that what runs from here does not recurse
  gServices.defaultCs = gServices.osCs = ilx::osHandle();

  const char *wanted = std::getenv("ILX_CODESET");
  if (wanted == nullptr || *wanted == '\0') wanted = "OS";
  char norm[ilx::kNameBuffer];
  CodeSet *def = ilx::normalizeName(wanted, norm, sizeof norm) ? ilx_cs_new(norm) : nullptr;
  if (def == nullptr) def = ilx_cs_new("DEFAULT");
  if (def != nullptr) {
    gServices.defaultCs = def;
    if (!ilx::isBuiltin(def)) gServices.initDefault = def;
  }

  CodeSet *os = nullptr;
  if (ilx_os_cs_name(norm, sizeof norm) == 0) os = ilx_cs_new(norm);
  if (os == nullptr) os = ilx_cs_new("OSDEFAULT");
  if (os != nullptr) {
    gServices.osCs = os;
    if (!ilx::isBuiltin(os)) gServices.initOs = os;
  }
  return 0;
}

int ilx_uninit(void) {
  if (!gServices.initialized) return 0;
  gServices.initialized = false;
  ilx_cs_free(gServices.defaultCs);
  ilx_cs_free(gServices.osCs);
  ilx_cs_free(gServices.initDefault);  // made here and replaced since
  ilx_cs_free(gServices.initOs);
  gServices.defaultCs = gServices.osCs = ilx::osHandle();
  ilx::releaseEnvText(gServices.nlspathEnv);
  ilx::releaseEnvText(gServices.ilxdirEnv);
  return 0;
}

int ilx_set_def_cs(CodeSetT cs) {
  if (!gServices.initialized) ilx_init();
  gServices.defaultCs = cs != nullptr ? cs : ilx::osHandle();
  return 0;
}

CodeSetT ilx_get_def_cs(void) { return ilx::defaultCs(); }

const char *ilx_get_cs_name(CodeSetT cs) { return ilx::resolve(cs)->name; }

int ilx_check_subs(CodeSetT cs) {
  CodeSet *c = ilx::resolve(cs);
  int n = c->subs;
  c->subs = 0;
  return n;
}

int ilx_set_dir(const char *dir) {
  if (dir == nullptr) return -1;
  return ilx::putEnvText(gServices.ilxdirEnv, "ILXDIR", dir) ? 0 : -1;
}

const char *ilx_get_dir(void) {
  const char *v = std::getenv("ILXDIR");
  return v != nullptr ? v : "";
}

}  // extern "C"
