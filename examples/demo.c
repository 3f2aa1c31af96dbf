/* A tour of what Lumex can do. */
#include <stdio.h>

#include "lumex/lumex.h"

int main(void) {
  char *copy = BasStringDup("Lumex demo");
  printf("%s: strings compare bytes as unsigned: BasStringCmp(\"a\", \"\\xe9\") = %d\n", copy,
         BasStringCmp("a", "\xe9"));
  BasMemoryFree(copy);
  return 0;
}
