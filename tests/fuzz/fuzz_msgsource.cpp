// Arbitrary bytes read as message source by lmxgencat's parser. Whatever it
// accepts must compile into a catalog that the library reads back with the
// same messages.
#include "../../tools/lmxgencat/catalog_writer.cpp"
#include "../../tools/lmxgencat/msg_source.cpp"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  lmxgencat::Messages msgs;
  lmxgencat::SourceError err;
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  if (!lmxgencat::parseSource(text, "fuzz", msgs, err)) {
    fuzz::require(err.line >= 1 && !err.message.empty());
    return 0;
  }
  std::string image, why;
  if (!lmxgencat::buildCatalog(msgs, image, why)) return 0;
  const std::string path = fuzz::scratchPath("src");
  if (!lmxgencat::writeFileAtomically(path, image, why)) return 0;
  lmxgencat::Messages back;
  const bool ok = lmxgencat::readCatalog(path, back, why);
  unlink(path.c_str());
  // Sets left without messages are not written.
  for (auto it = msgs.begin(); it != msgs.end();) it = it->second.empty() ? msgs.erase(it) : std::next(it);
  fuzz::require(ok && back == msgs);
  return 0;
}
