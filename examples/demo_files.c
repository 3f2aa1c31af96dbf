/* Files, directories, processes and system information. */
#include <fcntl.h>
#include <stdio.h>
#include <string.h>

#include "demo.h"
#include "lumex/lumex.h"

static int fail(const char *what, CxStatus s) {
  printf("  %s failed: kind %c, code %u\n", what, s.kind, (unsigned)s.code);
  return 1;
}

static int writeText(const char *name, const char *text) {
  int32_t fd = -1;
  uint32_t written = 0;
  CxStatus s = CxFileOpen(&fd, name, O_CREAT | O_RDWR | O_TRUNC);
  if (s.kind != '-') return fail("open", s);
  s = CxFileWrite(&fd, text, (uint32_t)strlen(text), &written);
  CxFileClose(&fd);
  return s.kind == '-' ? 0 : fail("write", s);
}

int demo_files(void) {
  char base[32], buf[CX_MAX_PATH], name[CX_MAX_PATH], other[CX_MAX_PATH];
  CxFilePath path;
  CxDirectory dir;
  CxStatus s;
  int64_t size = 0;

  printf("Files and the system\n");
  s = CxSystemGetFQHostname(buf, sizeof buf);
  printf("  host name: %s%s\n", buf, s.kind == '-' ? "" : " (not qualified)");
  printf("  time stamp: %lld ms since 1970\n", (long long)CxSystemGetTimestamp());
  s = CxProcessGetCwd(buf, sizeof buf);
  if (s.kind != '-') return fail("current directory", s);
  printf("  current directory: %s, process %u\n", buf, (unsigned)CxProcessGetCurrentID());

  /* Either separator may be used; names are made native with '/'. */
  snprintf(base, sizeof base, "demo_tree_%u", (unsigned)CxProcessGetCurrentID());
  snprintf(name, sizeof name, "%s\\logs\\2024", base);
  if (!CxInitFilePath(&path, name)) return 1;
  if (CxFilePathMkdirs(&path, 0755) != 0) return 1;
  printf("  created directory tree %s\n", path.path);

  snprintf(name, sizeof name, "%s/logs/2024/app.log", base);
  snprintf(other, sizeof other, "%s/logs/2024/app1.log", base);
  if (writeText(name, "first record\n") || writeText(other, "older backup\n")) return 1;
  s = CxFileNameRename(name, other); /* replaces the older file */
  if (s.kind != '-') return fail("rename", s);
  CxFileNameGetSize(other, &size);
  printf("  renamed app.log over app1.log (%lld bytes)\n", (long long)size);
  if (writeText(name, "second record\n")) return 1;

  snprintf(name, sizeof name, "%s/logs/2024", base);
  s = CxDirectoryOpen(&dir, name);
  if (s.kind != '-') return fail("directory open", s);
  printf("  listing of %s:", name);
  while ((s = CxDirectoryGetNext(&dir, buf, sizeof buf)).kind == '-' && buf[0] != '\0')
    if (strcmp(buf, ".") != 0 && strcmp(buf, "..") != 0) printf(" %s", buf);
  printf("\n");
  CxDirectoryClose(&dir);

  /* Clean up the tree again. */
  snprintf(name, sizeof name, "%s/logs/2024/app.log", base);
  CxFileNameRemove(name);
  CxFileNameRemove(other);
  s = CxFileNameRemove(other);
  printf("  removing it twice: kind %c, code %u (no such file)\n", s.kind, (unsigned)s.code);
  snprintf(name, sizeof name, "%s/logs/2024", base);
  remove(name);
  snprintf(name, sizeof name, "%s/logs", base);
  remove(name);
  remove(base);
  return 0;
}
