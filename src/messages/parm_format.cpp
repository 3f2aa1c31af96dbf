// Formatting with typed parameters: the printf engine parses the format into
// argument slots, the slots are filled from parameters by position (the
// parameter's type decides the value, the format's conversion how it is
// printed), and the segments are emitted.
#include "cx/cx_intl.h"
#include "messages/parm_format.h"

#include "collections/links.h"
#include "cx/printf_engine.h"

namespace {

bool setSlot(CxPrintfArg *slot, unsigned char type, int64_t value) {
  *slot = CxPrintfArg{type, {}};
  slot->value.i = value;
  return true;
}
bool setSlot(CxPrintfArg *slot, unsigned char type, double value) {
  *slot = CxPrintfArg{type, {}};
  slot->value.d = value;
  return true;
}

// The slot's type and value for a parameter; false for an invalid tag.
bool fillSlot(CxPrintfArg *slot, const Parm &parm) {
  const auto &v = parm.value;
  switch (parm.type) {
    case LMX_PARM_BOOL:
      return setSlot(slot, CX_PRINTF_ARG_INT, int64_t{v.b});
    case LMX_PARM_INT:
      return setSlot(slot, CX_PRINTF_ARG_INT, int64_t{v.i});
    case LMX_PARM_LONG:  // 32-bit like int: the slot type gives the printed width
      return setSlot(slot, CX_PRINTF_ARG_INT, int64_t{v.l});
    case LMX_PARM_FLOAT:
      return setSlot(slot, CX_PRINTF_ARG_DOUBLE, double{v.f});
    case LMX_PARM_DOUBLE:
      return setSlot(slot, CX_PRINTF_ARG_DOUBLE, v.d);
    case LMX_PARM_CHAR:
      return setSlot(slot, CX_PRINTF_ARG_UCHAR, int64_t{static_cast<unsigned char>(v.c)});
    case LMX_PARM_STRING:
      *slot = CxPrintfArg{CX_PRINTF_ARG_STRING, {}};
      slot->value.p = v.s;
      return true;
    default:
      return false;
  }
}

bool isIntegerSlot(const CxPrintfArg &slot) {
  return slot.type == CX_PRINTF_ARG_INT || slot.type == CX_PRINTF_ARG_LONG ||
         slot.type == CX_PRINTF_ARG_UCHAR;
}

// Whether every value the format reads through a pointer, or as a width or
// precision, comes from a parameter of a fitting type. The engine would
// otherwise read a number as a string's address: "%s" needs a string
// parameter, a width or precision an integer one, and no parameter holds a
// wide string.
bool conversionsFit(const CxPrintfSegList &segs, const CxPrintfArgList &args) {
  auto slot = [&](int32_t i) -> const CxPrintfArg * {
    return i >= 0 && i < args.count ? &args.args[i] : nullptr;
  };
  for (int32_t n = 0; n < segs.count; ++n) {
    const CxPrintfSeg &seg = segs.segs[n];
    if (seg.kind != CX_PRINTF_CONVERSION) continue;
    if (seg.widthArg >= 0 && !(slot(seg.widthArg) && isIntegerSlot(*slot(seg.widthArg)))) {
      return false;
    }
    if (seg.precisionArg >= 0 &&
        !(slot(seg.precisionArg) && isIntegerSlot(*slot(seg.precisionArg)))) {
      return false;
    }
    bool wideString = seg.conversion == 'S' || (seg.conversion == 's' && seg.length == CX_PRINTF_LEN_L);
    if (wideString) return false;
    if (seg.conversion == 's') {
      const CxPrintfArg *value = slot(seg.argIndex);
      if (value == nullptr || value->type != CX_PRINTF_ARG_STRING) return false;
    }
  }
  return true;
}

// Formats with the parameters that nextParm() yields for slot 0, 1, ... in
// turn (null when there is none). Null on every failure and for an empty
// result.
template <typename NextParm>
char *render(const char *format, NextParm nextParm) {
  if (format == nullptr) return nullptr;
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  CxStringBuff buff{};
  bool ok = CxPrintfProcessFmts(format, &segs, &args) == 0;
  for (int32_t i = 0; ok && i < args.count; ++i) {
    const Parm *parm = nextParm();
    ok = parm != nullptr && fillSlot(&args.args[i], *parm);
  }
  ok = ok && conversionsFit(segs, args);
  if (ok) {
    int failed = 0;
    cxPrintfEmitAll(nullptr, &buff, &segs, &args, &failed);
    ok = failed == 0 && buff.length > 0;
  }
  cx::printfDiscard(&segs, &args);
  if (!ok) {
    CxStringBuffDiscard(&buff);
    return nullptr;
  }
  return CxStringBuffTakeStr(&buff);
}

const char *defaultFormat(int32_t type) {
  switch (type) {
    case LMX_PARM_BOOL:
    case LMX_PARM_CHAR:
      return "%c";
    case LMX_PARM_INT:
    case LMX_PARM_LONG:
      return "%d";
    case LMX_PARM_FLOAT:
    case LMX_PARM_DOUBLE:
      return "%f";
    case LMX_PARM_STRING:
      return "%s";
    default:
      return nullptr;
  }
}

}  // namespace

extern "C" {

char *lmxParmToUTF8Str(const char *format, const Parm *parm) {
  if (parm == nullptr || defaultFormat(parm->type) == nullptr) return nullptr;
  bool given = false;
  return render(format != nullptr ? format : defaultFormat(parm->type), [&]() -> const Parm * {
    if (given) return nullptr;
    given = true;
    return parm;
  });
}

char *lmxParmToLocalStr(const char *format, const Parm *parm) {
  return lmxParmToUTF8Str(format, parm);
}

// Parameters beyond the highest position the format refers to are ignored.
char *LmxAprintf(const char *format, const ParmList *parms) {
  const LmxLink *cursor = parms != nullptr ? lmx::chainOf(parms)->head : nullptr;
  return render(format, [&]() -> const Parm * {
    if (cursor == nullptr) return nullptr;
    const auto *parm = static_cast<const Parm *>(cursor->item);
    cursor = cursor->next;
    return parm;
  });
}

}  // extern "C"
