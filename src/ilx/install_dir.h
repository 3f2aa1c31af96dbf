// Where the installed data (conversion tables, the toolkit's catalogs) lives.
#pragma once

namespace ilx {

// The data folder of the installation this library belongs to, without a
// trailing slash: next to the shared library when it is one
// (<libdir>/<relative path to the data folder>), else the folder compiled in.
const char *installedDataDir();

}  // namespace ilx
