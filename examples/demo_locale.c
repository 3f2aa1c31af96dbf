#include <stdio.h>

#include "demo.h"
#include "lumex/lumex.h"

int demo_locale(void) {
  static const char *const names[] = {"de_DE.ISO8859-1", "DE-de", "En", "enUS1",
                                      "japanese", "fr_CA", "german"};
  char lang[ILX_LOC_SIZE];
  ilx_os_lang_name(lang, sizeof lang);
  printf("locale names: the user's language is \"%s\"\n", lang);
  for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
    char canon[ILX_LOC_SIZE], fallback[ILX_LOC_SIZE];
    ilx_canonical_loc(names[i], canon, sizeof canon);
    ilx_canonical_lang(names[i], fallback, sizeof fallback);
    printf("  %-16s canonical %-8s fallback %s\n", names[i], canon, fallback);
  }
  printf("  Windows language 0x0404 is %s, 0x0416 is %s\n", CheckLangTable(0x0404),
         CheckLangTable(0x0416));
  return 0;
}
