#include <stdint.h>
#include <stdio.h>

#include "demo.h"
#include "lumex/lumex.h"

/* Prints a wide string as U+ values. */
static void print_units(const char *label, const uint16_t *s) {
  printf("  %-22s", label);
  for (; *s; ++s) printf(" U+%04X", *s);
  printf("\n");
}

int demo_wide(void) {
  /* "Ÿes αβγ Жук", with a full-width A */
  uint16_t text[] = {0xFF, 'e', 's', ' ', 0x3B1, 0x3B2, 0x3B3, ' ', 0x416, 0x443, 0x43A, ' ', 0xFF41, 0};
  const uint16_t blank[] = {' ', 0};
  uint16_t *pos = NULL;
  uint16_t *tok;
  int words = 0;

  printf("Wide strings (16-bit units):\n");
  print_units("text", text);
  ilx_wcsupper(NULL, text);
  print_units("upper-cased", text);
  printf("  U+00FF upper-cases to U+%04X; U+4E00 is alpha: %d, upper: %d\n",
         ilx_towupper(NULL, 0xFF), ilx_iswalpha(0x4E00), ilx_iswupper(0x4E00));
  for (tok = ilx_wcstok(text, blank, &pos); tok; tok = ilx_wcstok(NULL, blank, &pos)) {
    ++words;
  }
  printf("  %d words between blanks\n", words);
  return words == 4 ? 0 : 1;
}
