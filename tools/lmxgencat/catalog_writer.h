// Writing message catalogs and reading them back as message source.
#pragma once

#include <string>

#include "msg_source.h"

namespace lmxgencat {

// The catalog file image of `msgs` (sets without messages are left out).
// False with `err` set when there is nothing to write or the image would be
// too large for 32-bit offsets.
bool buildCatalog(const Messages &msgs, std::string &image, std::string &err);

// Writes `data` to `path` through a temporary file in the same directory
// that replaces `path` only when complete; nothing is left behind on failure.
bool writeFileAtomically(const std::string &path, const std::string &data, std::string &err);

// Reads every message of the catalog file at `path` through the library's
// checked reader. False with `err` set when it is not a readable catalog.
bool readCatalog(const std::string &path, Messages &msgs, std::string &err);

// Message source for `msgs`, one "$set" block per set.
std::string formatSource(const Messages &msgs);

}  // namespace lmxgencat
