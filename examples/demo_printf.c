#include <stdio.h>

#include "demo.h"
#include "lumex/lumex.h"

/* Positional arguments let a translated message reorder its parameters. */
int demo_printf(void) {
  CxStringBuff line = {0, 0, NULL};
  const char *formats[] = {"File '%1$s' holds %2$d records", "%2$d records are in file '%1$s'"};
  for (int i = 0; i < 2; ++i) {
    if (CxStringBuffPrintf(NULL, &line, formats[i], "app.log", 1200) == 0) return 1;
    printf("printf: %-34s -> %s\n", formats[i], CxStringBuffPeekStr(&line));
    CxStringBuffRestart(&line);
  }
  CxStringBuffPrintf(NULL, &line, "%08.3f|%-6s|%#x|%.3e|%a", 3.14159, "ok", 255, 6.02e23, 0.75);
  printf("printf: numbers                            -> %s\n", CxStringBuffPeekStr(&line));
  CxStringBuffRestart(&line);
  CxStringBuffAppendStr(&line, "euro sign as UTF-8: ");
  CxStringBuffAppendUTF32Char(&line, 0x20AC);
  CxStringBuffAppendStr(&line, ", bytes: ");
  CxStringBuffAppendUInt64(&line, line.length);
  printf("string buffer: %s\n", CxStringBuffPeekStr(&line));
  CxStringBuffDiscard(&line);
  return 0;
}
