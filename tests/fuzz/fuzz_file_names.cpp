// Native names and path records from arbitrary bytes: never write past the
// buffer, never cut a name, and keep the record's fields consistent.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lumex/cx.h"

static void check(bool ok) {
  if (!ok) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the buffer size, the rest is the name.
  uint32_t cap = data[0];
  std::string name(reinterpret_cast<const char *>(data + 1), size - 1);
  name = name.c_str();  // up to the first zero byte
  char *buf = static_cast<char *>(std::malloc(cap == 0 ? 1 : cap));
  for (int emptyIsRoot = 0; emptyIsRoot < 2; ++emptyIsRoot) {
    int ok = emptyIsRoot ? CxFileNameGetNative(name.c_str(), buf, cap)
                         : CxFileNameLocalize(name.c_str(), buf, cap);
    if (!ok) {
      check(cap == 0 || buf[0] == '\0');
      continue;
    }
    size_t expect = (emptyIsRoot && name.empty()) ? 1 : name.size();
    check(std::strlen(buf) == expect && std::strchr(buf, '\\') == nullptr);
  }
  std::free(buf);

  CxFilePath p, parent;
  if (!CxInitFilePath(&p, name.c_str())) {
    check(p.length == -1 && name.size() >= CX_MAX_PATH);
    return 0;
  }
  check(p.length == static_cast<int32_t>(name.size()));
  // Every parent is shorter, so walking up ends.
  for (int steps = 0; CxFilePathParent(&p, &parent); ++steps) {
    check(parent.length < p.length && steps < CX_MAX_PATH);
    check(parent.lastSep < parent.length && std::strlen(parent.path) == size_t(parent.length));
    p = parent;
  }
  return 0;
}
