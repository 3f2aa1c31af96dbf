/* A rolling log file: a logger writes through a file handler that keeps
 * the file below 300 bytes and three files in all; the backups are listed
 * with their sizes and first records. */
#include <stdio.h>
#include <string.h>

#include "demo.h"
#include "lumex/lumex.h"

static void showFile(const char *dir, const char *name) {
  char path[CX_MAX_PATH], line[200];
  int64_t size = 0;
  FILE *f;
  snprintf(path, sizeof path, "%s/%s", dir, name);
  if (CxFileNameGetSize(path, &size).kind != '-') {
    printf("    %-14s (none)\n", name);
    return;
  }
  f = fopen(path, "r");
  line[0] = '\0';
  if (f != NULL) {
    if (fgets(line, sizeof line, f) == NULL) line[0] = '\0';
    fclose(f);
  }
  line[strcspn(line, "\n")] = '\0';
  printf("    %-14s %3lld bytes, first record: %s\n", name, (long long)size, line);
}

int demo_log_files(void) {
  static const char *const files[] = {"rolling.log", "rolling1.log", "rolling2.log",
                                      "rolling3.log"};
  char dir[64], name[CX_MAX_PATH];
  Object *handler, *logger;
  size_t i;
  int n;

  printf("Rolling log files\n");
  snprintf(dir, sizeof dir, "demo_logs_%u", (unsigned)CxProcessGetCurrentID());
  snprintf(name, sizeof name, "%s/rolling.log", dir);
  if (!LmxOpenToolkit(NULL)) {
    printf("  the toolkit did not open\n");
    return 1;
  }
  handler = LmxGetObject("demo.rolling.file", "lmx_filehandler");
  logger = LmxGetObject("demo.rolling", "lmx_basiclogger");
  if (handler == NULL || logger == NULL) {
    printf("  no file handler\n");
    LmxCloseToolkit();
    return 1;
  }
  LmxSetObjProp(handler, "fileName", name); /* the directory is created */
  LmxSetObjProp(handler, "maxFileBytes", "300");
  LmxSetObjProp(handler, "maxFiles", "3");
  LmxAddListener(logger, handler);
  printf("  %s: at most 300 bytes, rolled into two numbered backups;\n"
         "  20 records of about 58 bytes: the oldest six have been rolled away\n", name);
  for (n = 1; n <= 20; ++n) {
    char text[64];
    snprintf(text, sizeof text, "record %d of the rolling log", n);
    LmxLogInfo(logger, NULL, 0, 0, text, 0);
  }
  LmxReleaseObject(handler);
  LmxReleaseObject(logger);
  LmxCloseToolkit();
  /* Newest first: the active file, then backups 1 and 2; there is no 3. */
  for (i = 0; i < sizeof files / sizeof files[0]; ++i) showFile(dir, files[i]);
  for (i = 0; i < sizeof files / sizeof files[0]; ++i) {
    char path[CX_MAX_PATH];
    snprintf(path, sizeof path, "%s/%s", dir, files[i]);
    CxFileNameRemove(path);
  }
  return remove(dir) == 0 ? 0 : 1;
}
