/* Message catalogs: write a small catalog with the record layout and the
 * hton_ byte-order operations, find it along NLSPATH for a locale, look
 * messages up, and bind positional arguments into a catalog format. */
#define _XOPEN_SOURCE 700
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "demo.h"
#include "lumex/ilx.h"

/* One set (number 1) with the given messages, numbered from 1. */
static int write_catalog(const char *path, const char *const *texts, int count) {
  MCHeaderT h;
  MCSetTDisk s;
  MCMsgTDisk m;
  char block[512];
  int len = 0, i;
  FILE *f = fopen(path, "wb");
  if (!f) return -1;
  memset(&h, 0, sizeof h);
  memcpy(h.magic, MC_MAGIC, MC_MAGIC_LEN);
  h.version = MC_VERSION;
  h.numSets = 1;
  h.firstSet = sizeof h;
  for (i = 0; i < count; ++i) len += (int)strlen(texts[i]) + 1;
  s.setNo = 1;
  s.nextSet = 0;
  s.msgOffset = (int32_t)(sizeof h + sizeof s);
  s.textOffset = s.msgOffset + count * (int32_t)sizeof m;
  s.textLen = len;
  s.numMsgs = count;
  s.invalid = 0;
  hton_MCHeaderT(&h);
  hton_MCSetTDisk(&s);
  fwrite(&h, sizeof h, 1, f);
  fwrite(&s, sizeof s, 1, f);
  for (i = 0, len = 0; i < count; ++i) {
    m.msgNo = i + 1;
    m.textOffset = len;
    m.extra = 0;
    hton_MCMsgTDisk(&m);
    fwrite(&m, sizeof m, 1, f);
    strcpy(block + len, texts[i]);
    len += (int)strlen(texts[i]) + 1;
  }
  fwrite(block, 1, (size_t)len, f);
  return fclose(f);
}

int demo_catalogs(void) {
  static const char *const texts[] = {"Bonjour, le monde", "%2$s est copié dans %1$s"};
  char dir[] = "/tmp/lumex-demo.XXXXXX", path[256], nlspath[300];
  const char *args[] = {"cible.txt", "source.txt"};
  BindBufT out = {NULL, 0, 0, 1};
  MCCatalogT *cat;
  CodeSetT utf8 = ilx_cs_new("UTF8");
  CodeSetT def_cs = ilx_get_def_cs();
  const char *lc_all = getenv("LC_ALL");
  char saved_lc_all[128];

  printf("== Message catalogs\n");
  if (!mkdtemp(dir)) return 1;
  snprintf(path, sizeof path, "%s/fr", dir);
  mkdir(path, 0700);
  snprintf(path, sizeof path, "%s/fr/demo.cat", dir);
  if (write_catalog(path, texts, 2) != 0) return 1;
  snprintf(nlspath, sizeof nlspath, "%s/%%l/%%N.cat", dir);
  ilx_set_nlspath(nlspath);
  printf("NLSPATH=%s\n", ilx_get_nlspath());

  /* Texts for a null code set are converted when their set first loads. */
  ilx_set_def_cs(utf8);
  cat = ilx_catopen("demo", 0, "fr_CA.UTF-8");
  printf("catalog 'demo' for fr_CA.UTF-8: %s\n", cat ? "found (fr/demo.cat)" : "not found");
  printf("set 1, message 1: %s\n", ilx_catgets(cat, 1, 1, "Hello, world", utf8));
  printf("set 1, message 9: %s (default text)\n", ilx_catgets(cat, 1, 9, "no such message", utf8));
  ilx_catclose(cat);

  /* real_msg_bind takes the locale from LC_ALL and texts in the default code set. */
  if (lc_all) snprintf(saved_lc_all, sizeof saved_lc_all, "%s", lc_all);
  setenv("LC_ALL", "fr_FR", 1);
  real_msg_bind("demo", "%2$s is copied to %1$s", 2, 1, 2, args, &out);
  printf("bound: %s\n", out.text);
  free(out.text);
  ilx_set_def_cs(def_cs);
  if (lc_all) setenv("LC_ALL", saved_lc_all, 1); else unsetenv("LC_ALL");
  unlink(path);
  snprintf(path, sizeof path, "%s/fr", dir);
  rmdir(path);
  rmdir(dir);
  return cat ? 0 : 1;
}
