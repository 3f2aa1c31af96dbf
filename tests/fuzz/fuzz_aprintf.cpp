// Message formats come from catalogs that users write: any format with any
// list of typed parameters must render or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lumex/collections.h"
#include "lumex/messages.h"
#include "messages/parm_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The first byte chooses the parameter types, two bits each for four
  // parameters (int, double, string, char); the rest is the format.
  if (size == 0) return 0;
  std::string format(reinterpret_cast<const char *>(data) + 1, size - 1);
  ParmList *list = LmxAllocParmList();
  char text[] = "param";
  for (int i = 0; i < 4; ++i) {
    Parm p{};
    switch ((data[0] >> (2 * i)) & 3) {
      case 0:
        p.type = LMX_PARM_INT;
        p.value.i = -1234567 * (i + 1);
        break;
      case 1:
        p.type = LMX_PARM_DOUBLE;
        p.value.d = 3.25e10 / (i + 1);
        break;
      case 2:
        p.type = LMX_PARM_STRING;
        p.value.s = text;
        break;
      default:
        p.type = LMX_PARM_CHAR;
        p.value.c = static_cast<char>('a' + i);
        break;
    }
    LmxParmListAppend(list, &p);
  }
  BasMemoryFree(LmxAprintf(format.c_str(), list));
  BasMemoryFree(lmxParmToUTF8Str(format.c_str(), LmxParmListGetIndex(list, 0)));
  LmxFreeParmList(list);
  return 0;
}
