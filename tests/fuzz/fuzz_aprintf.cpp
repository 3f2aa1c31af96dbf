// Message formats come from catalogs that users write: any format with any
// list of typed parameters must render or fail cleanly.
#include "fuzz_common.h"
#include "lumex/collections.h"
#include "lumex/messages.h"
#include "messages/parm_format.h"

FUZZ_TARGET(in) {
  // The first byte chooses the parameter types, two bits each for four
  // parameters (int, double, string, char); the rest is the format.
  if (in.n == 0) return;
  const auto types = static_cast<unsigned>(in.next(1));
  const std::string format = in.str();
  const int32_t kTypes[] = {LMX_PARM_INT, LMX_PARM_DOUBLE, LMX_PARM_STRING, LMX_PARM_CHAR};
  ParmList *list = LmxAllocParmList();
  char text[] = "param";
  for (int i = 0; i < 4; ++i) {
    const int pick = (types >> (2 * i)) & 3;
    Parm p{};
    p.type = kTypes[pick];
    if (pick == 0)
      p.value.i = -1234567 * (i + 1);
    else if (pick == 1)
      p.value.d = 3.25e10 / (i + 1);
    else if (pick == 2)
      p.value.s = text;
    else
      p.value.c = static_cast<char>('a' + i);
    LmxParmListAppend(list, &p);
  }
  BasMemoryFree(LmxAprintf(format.c_str(), list));
  BasMemoryFree(lmxParmToUTF8Str(format.c_str(), LmxParmListGetIndex(list, 0)));
  LmxFreeParmList(list);
}
