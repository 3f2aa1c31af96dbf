// Arbitrary bytes read as message source by lmxgencat's parser. Whatever it
// accepts must compile into a catalog that the library reads back with the
// same messages.
#include "../../tools/lmxgencat/catalog_writer.cpp"
#include "../../tools/lmxgencat/msg_source.cpp"
#include "fuzz_common.h"

FUZZ_TARGET(in) {
  lmxgencat::Messages msgs;
  lmxgencat::SourceError err;
  const std::string_view text(reinterpret_cast<const char *>(in.p), in.n);
  if (!lmxgencat::parseSource(text, "fuzz", msgs, err)) {
    fuzz::require(err.line >= 1 && !err.message.empty());
    return;
  }
  std::string image, why;
  if (!lmxgencat::buildCatalog(msgs, image, why)) return;
  const std::string path = fuzz::scratchPath("src");
  if (!lmxgencat::writeFileAtomically(path, image, why)) return;
  lmxgencat::Messages back;
  const bool ok = lmxgencat::readCatalog(path, back, why);
  unlink(path.c_str());
  // Sets left without messages are not written.
  for (auto it = msgs.begin(); it != msgs.end();)
    it = it->second.empty() ? msgs.erase(it) : std::next(it);
  fuzz::require(ok && back == msgs);
}
