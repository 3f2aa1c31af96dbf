/* Code sets: one UTF-8 text written in several code sets and read back. */
#include <stdio.h>
#include <string.h>

#include "demo.h"
#include "lumex/ilx.h"

static void show_bytes(const char *label, const char *bytes, int n) {
  printf("  %-11s %2d bytes:", label, n);
  for (int i = 0; i < n; ++i) printf(" %02X", (unsigned char)bytes[i]);
  printf("\n");
}

int demo_codesets(void) {
  static const char *const names[] = {"ISO-8859-15", "windows-1252", "IBM1047", "Shift_JIS",
                                      "GB18030", "IBM939"};
  const char *text = "Caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC"; /* Café € 日本 */
  int failures = 0;
  printf("== Code sets\n  text: %s (default code set %s)\n", text, ilx_get_cs_name(NULL));
  for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
    CodeSetT cs = ilx_cs_new(names[i]);
    if (cs == NULL) {
      printf("  %s: no table found\n", names[i]);
      ++failures;
      continue;
    }
    char native[64], back[64];
    int n = ilx_from_utf8(cs, text, (int)strlen(text), native, sizeof native);
    int subs = ilx_check_subs(cs);
    int m = ilx_to_utf8(cs, native, n, back, sizeof back - 1);
    back[m] = '\0';
    show_bytes(ilx_get_cs_name(cs), native, n);
    printf("  %-11s back: %s (%d substituted)\n", "", back, subs);
    ilx_cs_free(cs);
  }
  ilx_uninit();
  return failures ? 1 : 0;
}
