#include <stdio.h>
#include <string.h>
#include <time.h>

#include "demo.h"
#include "lumex/lumex.h"

int demo_formatted(void) {
  struct tm when;
  memset(&when, 0, sizeof when);
  const char *text = "03/15/24 13:04";
  const char *end = ilx_strptime(NULL, NULL, text, "%D %R", &when);
  if (end == NULL) return 1;
  char out[64];
  if (ilx_strftime(NULL, NULL, out, sizeof out, "%A %d %B %Y, %H:%M", &when) == 0) return 1;
  printf("formatted I/O: \"%s\" parsed with %%D %%R is %s (day %d of the year)\n", text, out,
         when.tm_yday + 1);

  char line[128];
  ilx_sprintf(NULL, NULL, line, "%2$s has %1$'d messages", 1234567, "the catalog");
  printf("  positional arguments: %s\n", line);

  CodeSetT utf8 = ilx_cs_new("UTF8");
  static const uint16_t wide[] = {'c', 'a', 'f', 0xE9, ' ', 0x20AC, '5', '\n', 0};
  printf("  a wide string written in UTF-8: ");
  fflush(stdout);
  if (ilx_fputws(utf8, wide, stdout) != 8) return 1;
  int n = ilx_sprintf(utf8, NULL, line, "[%-9.5ls] [%.4ls]", wide, wide);
  printf("  the same padded and cut by bytes: %s (%d bytes)\n", line, n);

  CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  if (latin1 != NULL) {
    char *utf = ilx_s2u(latin1, "d\xE9j\xE0 vu", NULL);
    printf("  Latin-1 \"d\\xE9j\\xE0 vu\" in UTF-8: %s\n", utf);
    BasMemoryFree(utf);
    ilx_cs_free(latin1);
  }
  return 0;
}
