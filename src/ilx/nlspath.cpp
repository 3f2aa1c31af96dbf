// The NLSPATH variable: read from the environment, set or prepended through
// a text that the services keep while the environment uses it (released by
// ilx_uninit).
#include <cstdlib>
#include <cstring>

#include "ilx/codeset.h"
#include "ilx/memory.h"

extern "C" {

const char *ilx_get_nlspath(void) {
  const char *v = std::getenv("NLSPATH");
  return v ? v : "";
}

int ilx_set_nlspath(const char *path) {
  return path && ilx::putEnvText(ilx::services().nlspathEnv, "NLSPATH", path) ? 0 : -1;
}

int ilx_prepend_nlspath(const char *path) {
  if (!path) return -1;
  const char *old = ilx_get_nlspath();
  const size_t n = std::strlen(path), m = std::strlen(old);
  char *value = ilx::allocate<char>(n + m + 2);
  if (!value) return -1;
  std::memcpy(value, path, n);
  value[n] = ';';  // even before an empty value
  std::memcpy(value + n + 1, old, m + 1);
  const bool ok = ilx::putEnvText(ilx::services().nlspathEnv, "NLSPATH", value);
  BasMemoryFree(value);
  return ok ? 0 : -1;
}

}  // extern "C"
