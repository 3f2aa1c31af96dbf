/* An outside program, built as C and as C++: opens the toolkit with the
 * properties file given, logs one record and checks that the toolkit's own
 * catalog is found where the library is installed. */
#include <stdio.h>

#include <lumex/lumex.h>

#ifdef __cplusplus
#define WHO "CXX"
#else
#define WHO "C"
#endif

int main(int argc, char **argv) {
  if (argc != 2) return 2;
  MCCatalogT *cat = ilx_catopen("lmxmsg", 0, "C");
  if (cat == NULL) {
    fprintf(stderr, "the installed catalog lmxmsg was not found\n");
    return 1;
  }
  ilx_catclose(cat);
  if (!LmxOpenToolkit(argv[1])) return 1;
  Object *app = LmxGetObject("app", NULL);
  if (app == NULL) return 1;
  LmxLogText(app, "caf\xc3\xa9 from " WHO, 0);
  LmxReleaseObject(app);
  LmxCloseToolkit();
  return 0;
}
