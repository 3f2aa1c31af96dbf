// An outside C++ program built with a plain compiler line from pkg-config:
// opens the toolkit with the properties file given and logs one record.
#include <lumex/lumex.h>

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) return 2;
  MCCatalogT *cat = ilx_catopen("lmxmsg", 0, "C");
  if (cat == nullptr) {
    std::fprintf(stderr, "the installed catalog lmxmsg was not found\n");
    return 1;
  }
  ilx_catclose(cat);
  if (!LmxOpenToolkit(argv[1])) return 1;
  Object *app = LmxGetObject("app", nullptr);
  if (app == nullptr) return 1;
  LmxLogText(app, "caf\xc3\xa9 from CXX", 0);
  LmxReleaseObject(app);
  LmxCloseToolkit();
  return 0;
}
