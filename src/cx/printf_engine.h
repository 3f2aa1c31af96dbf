// The printf engine's three steps, for callers inside the library that fill
// argument slots themselves (for example from a typed parameter list):
//
//   CxPrintfSegList segs{};
//   CxPrintfArgList args{};
//   if (!CxPrintfProcessFmts(format, &segs, &args)) {
//     for (int32_t i = 0; i < args.count; ++i) { args.args[i].type = ...; args.args[i].value.i = ...; }
//     int failed;
//     cxPrintfEmitAll(nullptr, &buff, &segs, &args, &failed);
//   }
//   cx::printfDiscard(&segs, &args);
//
// Emission reads only the slot values: integers as the 64-bit value (signed
// for d and i, its bits as unsigned for o u x X p), floating values as
// double, strings and wide strings as pointers, characters as the low byte
// (a 16-bit unit for wide characters). The value formatting itself
// (printf_format.h) is shared with other print functions; wide characters
// and strings convert through the code set handle given to the call.
#pragma once

#include <cstdarg>

#include "cx/printf_format.h"
#include "lumex/cx.h"

namespace cx {

// Frees both lists and zeroes them.
void printfDiscard(CxPrintfSegList *segs, CxPrintfArgList *args);

// Index of the first slot that no conversion refers to, or -1 when every
// slot up to the highest referenced one has a type.
int32_t printfFirstGap(const CxPrintfArgList *args);

// Fills every slot from the variable arguments, in slot order, reading each
// as its type says (every slot must have a type).
void printfFetch(CxPrintfArgList *args, va_list ap);

// The value conversion of a segment with its width and precision taken from
// their slots where the format says so. False when a slot index lies beyond
// the argument list.
bool printfResolveSpec(const CxPrintfSeg &seg, const CxPrintfArgList &args, fmt::Spec *spec);

// Appends the wide forms (%lc %C %ls %S): one 16-bit character or a wide
// string limited by the precision in bytes, converted under the handle and
// padded to the width. False when a character cannot be converted.
bool printfEmitWide(CodeSetT cs, CxStringBuff *buff, const fmt::Spec &spec, bool isString,
                    const CxPrintfArg &arg);

}  // namespace cx
