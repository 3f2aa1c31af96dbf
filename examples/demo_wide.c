#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "demo.h"
#include "lumex/lumex.h"

/* Prints a wide string as U+ values. */
static void print_units(const char *label, const uint16_t *s) {
  printf("  %-22s", label);
  for (; *s; ++s) printf(" U+%04X", *s);
  printf("\n");
}

int demo_wide(void) {
  /* "ÿes αβγ Жук ａ" */
  uint16_t text[] = {0xFF, 'e', 's', ' ', 0x3B1, 0x3B2, 0x3B3, ' ', 0x416, 0x443, 0x43A, ' ', 0xFF41, 0};
  const uint16_t blank[] = {' ', 0};
  uint16_t *pos = NULL;
  uint16_t *tok;
  int words = 0;
  CodeSetT utf8 = ilx_cs_new("UTF-8");
  CodeSetT sjis = ilx_cs_new("SJIS");
  char bytes[64];
  char line[] = "\xc3\xa9t\xc3\xa9 \xce\xb1\xce\xb2\xce\xb3, \xd0\x96\xd1\x83\xd0\xba";
  const char so[] = "\x83\x5c" "A\\B"; /* Shift-JIS katakana "so" ends in a 0x5C byte */
  char *cut;
  int n;

  printf("Wide strings (16-bit units):\n");
  print_units("text", text);
  ilx_wcsupper(NULL, text);
  print_units("upper-cased", text);
  printf("  U+00FF upper-cases to U+%04X; U+4E00 is alpha: %d, upper: %d\n",
         ilx_towupper(NULL, 0xFF), ilx_iswalpha(0x4E00), ilx_iswupper(0x4E00));
  n = ilx_wcstombs(utf8, bytes, text, sizeof bytes);
  printf("  as UTF-8: %d bytes \"%s\"\n", n, bytes);
  for (tok = ilx_wcstok(text, blank, &pos); tok; tok = ilx_wcstok(NULL, blank, &pos)) ++words;
  printf("  %d words between blanks\n", words);

  printf("Multibyte strings:\n");
  printf("  \"%s\" has %d characters in %d bytes\n", line, ilx_mbstowcs(utf8, NULL, line, 0),
         (int)strlen(line));
  ilx_strupper(utf8, NULL, line);
  printf("  upper-cased in place: \"%s\"\n", line);
  ilx_strncpy(utf8, bytes, line, 7);
  bytes[7] = 0;
  printf("  its first 7 bytes, no character cut: \"%s\"\n", bytes);
  if (sjis != NULL) {
    cut = ilx_strchr(sjis, so, '\\');
    printf("  Shift-JIS: the first backslash character is at byte %d (strchr finds byte %d)\n",
           cut ? (int)(cut - so) : -1, (int)(strchr(so, '\\') - so));
    ilx_cs_free(sjis);
  }
  return words == 4 && n > 0 ? 0 : 1;
}
