// The NLSPATH variable: read from the environment, set or prepended through
// texts that the services keep while the environment uses them.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ilx/nlspath.h"

namespace {

char *nlspathText;  // "NLSPATH=..." handed to putenv, or null

// Hands "NLSPATH=<a><b><c>" to the environment and frees the previous text.
int putNlspath(const char *a, const char *b, const char *c) {
  const size_t n = std::strlen("NLSPATH=") + std::strlen(a) + std::strlen(b) + std::strlen(c) + 1;
  char *text = static_cast<char *>(std::malloc(n));
  if (!text) return -1;
  std::snprintf(text, n, "NLSPATH=%s%s%s", a, b, c);
  if (putenv(text) != 0) {
    std::free(text);
    return -1;
  }
  std::free(nlspathText);
  nlspathText = text;
  return 0;
}

}  // namespace

namespace ilx {

void nlspathRelease() {
  if (!nlspathText) return;
  // The environment still points at the text: give it a copy of its own first.
  setenv("NLSPATH", nlspathText + std::strlen("NLSPATH="), 1);
  std::free(nlspathText);
  nlspathText = nullptr;
}

}  // namespace ilx

extern "C" {

const char *ilx_get_nlspath(void) {
  const char *v = std::getenv("NLSPATH");
  return v ? v : "";
}

int ilx_set_nlspath(const char *path) { return path ? putNlspath(path, "", "") : -1; }

int ilx_prepend_nlspath(const char *path) {
  if (!path) return -1;
  char *old = strdup(ilx_get_nlspath());
  if (!old) return -1;
  const int rc = putNlspath(path, ";", old);
  std::free(old);
  return rc;
}

}  // extern "C"
