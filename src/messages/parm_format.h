// Rendering typed parameters as text with the printf engine.
#pragma once

#include "lumex/messages.h"

extern "C" {
// One parameter formatted with the format (null: the default of its type,
// "%c" for bool and char, "%d" for int and long, "%f" for float and double,
// "%s" for string). A new text, or null for an invalid tag, a format that
// needs more than this one parameter or another kind of value, or an empty
// result.
LMX_API char *lmxParmToUTF8Str(const char *format, const Parm *parm);
// The same text: parameters are UTF-8 already.
LMX_API char *lmxParmToLocalStr(const char *format, const Parm *parm);
}
