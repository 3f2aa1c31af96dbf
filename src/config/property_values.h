// Converters from a property's text to typed values. Each sets *found
// (when found is not null) to 1 when the text is present and accepted, else
// to 0 and returns the type's zero.
#pragma once

#include <cstdint>

#include "lumex/config.h"

extern "C" {
LMX_API unsigned char lmxPropStrToBool(const char *text, unsigned char *found);
LMX_API char lmxPropStrToChar(const char *text, unsigned char *found);
LMX_API int32_t lmxPropStrToInt32(const char *text, unsigned char *found);
LMX_API int64_t lmxPropStrToInt64(const char *text, unsigned char *found);
LMX_API float lmxPropStrToFloat32(const char *text, unsigned char *found);
LMX_API double lmxPropStrToFloat64(const char *text, unsigned char *found);
}
