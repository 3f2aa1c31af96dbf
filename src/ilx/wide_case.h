// Case mapping of single wide characters, for the string functions that
// compare or map case.
#pragma once

#include <cstdint>

namespace ilx {

uint16_t toUpper(uint16_t c);
uint16_t toLower(uint16_t c);

}  // namespace ilx
