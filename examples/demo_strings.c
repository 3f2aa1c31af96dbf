#include <stdio.h>

#include "demo.h"
#include "lumex/lumex.h"

int demo_strings(void) {
  char *copy = BasStringDup("Lumex demo");
  if (copy == NULL) return 1;
  printf("%s: strings compare bytes as unsigned: BasStringCmp(\"a\", \"\\xe9\") = %d\n", copy,
         BasStringCmp("a", "\xe9"));
  BasMemoryFree(copy);
  return 0;
}
