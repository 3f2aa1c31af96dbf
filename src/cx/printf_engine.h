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
// Emission reads the slot values, and the slot types for the width of
// integers: d and i print the value as signed, o u x X as unsigned, each at
// the width printfIntBits gives (p always whole), floating values as
// double, strings and wide strings as pointers, characters as the low byte
// (a 16-bit unit for wide characters). Reading directives
// (ilx/format_directive.h, the engine's dialect) and the value formatting
// (ilx/format_value.h) are shared with other print functions; wide characters
// and strings convert through the code set handle given to the call.
#pragma once

#include <cstdarg>

#include "ilx/format_directive.h"
#include "ilx/format_value.h"
#include "cx/string_buff.h"
#include "lumex/cx.h"

namespace cx {

namespace fmt = ilx::fmt;

// Frees both lists and zeroes them.
void printfDiscard(CxPrintfSegList *segs, CxPrintfArgList *args);

// Slot type (CX_PRINTF_ARG_...) of a conversion's value.
unsigned char printfSlotType(fmt::ConvClass cls, fmt::Length length);

// Index of the first slot that no conversion refers to, or -1 when every
// slot up to the highest referenced one has a type.
int32_t printfFirstGap(const CxPrintfArgList *args);

// Takes the next variable argument as the slot's type says.
void printfFetchOne(CxPrintfArg &a, va_list &ap);

// Fills every slot from the variable arguments, in slot order, reading each
// as its type says (every slot must have a type).
void printfFetch(CxPrintfArgList *args, va_list ap);

// The value conversion of a segment with its width and precision taken from
// their slots where the format says so. False when a slot index lies beyond
// the argument list.
bool printfResolveSpec(const CxPrintfSeg &seg, const CxPrintfArgList &args, fmt::Spec *spec);

// Appends the wide forms (%lc %C %ls %S): one 16-bit character or a wide
// string limited by the precision in bytes (no unit is read once it is used
// up), converted under the handle and padded to the width. False when a
// character cannot be converted or the text does not fit the sink.
bool printfEmitWide(CodeSetT cs, BuffSink &out, const fmt::Spec &spec, bool isString,
                    const CxPrintfArg &arg);

// Bits that an integer conversion prints of its argument: the fewer of the
// conversion's own (32 without a length modifier and for h, hh and L; 64 for
// l, ll, I64, q, j, t, z, as the arguments are read here) and the slot's (32
// for the int, short, char and unsigned forms and wide characters; 64 for
// every other type).
unsigned printfIntBits(int32_t length, unsigned char slotType);

}  // namespace cx
