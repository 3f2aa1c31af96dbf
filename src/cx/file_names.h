// Native file names shared by the file, path and directory operations.
#pragma once

#include <cstddef>

#include "lumex/cx.h"

namespace cx {

// Copies name into buf turning every '\' into '/'. With emptyIsRoot an empty
// name gives "/". False (buf emptied when cap > 0) for null arguments or when
// the result does not fit into cap bytes with its terminator.
bool nativeName(const char *name, char *buf, size_t cap, bool emptyIsRoot);

// A native name in a buffer of the layer's path size.
struct NativeName {
  char text[CX_MAX_PATH];
  bool ok;
  explicit NativeName(const char *name) : ok(nativeName(name, text, sizeof text, false)) {}
};

}  // namespace cx
