// Arbitrary bytes read as message source by lmxgencat's parser. Whatever it
// accepts must compile into a catalog that the library reads back with the
// same messages.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../../tools/lmxgencat/catalog_writer.cpp"
#include "../../tools/lmxgencat/msg_source.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  lmxgencat::Messages msgs;
  lmxgencat::SourceError err;
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  if (!lmxgencat::parseSource(text, "fuzz", msgs, err)) {
    if (err.line < 1 || err.message.empty()) std::abort();
    return 0;
  }
  std::string image, why;
  if (!lmxgencat::buildCatalog(msgs, image, why)) return 0;
  static unsigned long counter;
  char path[64];
  std::snprintf(path, sizeof path, "/tmp/lmxfuzzsrc.%d.%lu", static_cast<int>(getpid()), counter++);
  if (!lmxgencat::writeFileAtomically(path, image, why)) return 0;
  lmxgencat::Messages back;
  const bool ok = lmxgencat::readCatalog(path, back, why);
  unlink(path);
  // Sets left without messages are not written.
  for (auto it = msgs.begin(); it != msgs.end();) it = it->second.empty() ? msgs.erase(it) : std::next(it);
  if (!ok || back != msgs) std::abort();
  return 0;
}
