/* Lists, groups, maps and property values. */
#include <stdio.h>
#include <string.h>

#include "demo.h"
#include "lumex/lumex.h"

static int byText(const void *a, const void *b) {
  return strcmp(*(const char *const *)a, *(const char *const *)b);
}

/* Lists and groups share their iterator operations, so one walk prints
 * either. */
static void printTexts(const char *label, LmxLink *first) {
  printf("%s:", label);
  for (LmxLink *n = first; LmxStringListIterHasNext(n); n = LmxStringListIterNext(n)) {
    char *text = LmxStringListIterGet(n);
    printf(" %s", text);
    BasMemoryFree(text);
  }
  printf("\n");
}

int demo_collections(void) {
  int failures = 0;
  printf("== Collections\n");

  /* A list keeps duplicates and can be sorted with the caller's order. */
  StringList *list = LmxAllocStringList();
  const char *names[] = {"console", "file", "audit", "file"};
  for (int i = 0; i < 4; ++i) LmxStringListAppend(list, names[i]);
  LmxSortStringList(list, byText);
  printTexts("sorted list", LmxStringListIterator(list));
  LmxFreeStringList(list);

  /* A group keeps each text once; the token iterator splits a name list. */
  StringGroup *group = LmxAllocStringGroup();
  LmxStrTokIter it = LmxStrTokIterator("  h1\th2  h1 h3 ", " \t");
  for (; LmxStrTokIterHasNext(it); it = LmxStrTokIterNext(it)) {
    char *token = LmxStrTokIterGet(it);
    LmxStringGroupAdd(group, token);
    BasMemoryFree(token);
  }
  printTexts("listener names, each once", LmxStringGroupIterator(group));
  LmxFreeStringGroup(group);

  /* Properties are text in insertion order; typed values convert on the way. */
  StringToStringMap *props = LmxAllocStringToStringMap();
  LmxSetMapProp(props, "fileName", "app.log");
  LmxSetMapPropLong(props, "maxFileSize", 5000000000LL);
  LmxSetMapPropBool(props, "append", 1);
  LmxSetMapProp(props, "fileName", "server.log"); /* replaced in place */
  for (LmxLink *e = LmxStringToStringMapIterator(props); LmxStringToStringMapIterHasNext(e);
       e = LmxStringToStringMapIterNext(e)) {
    char *key = LmxStringToStringMapIterGetKey(e);
    char *value = LmxStringToStringMapIterGetVal(e);
    printf("  %s = %s\n", key, value);
    BasMemoryFree(key);
    BasMemoryFree(value);
  }
  unsigned char found;
  long long size = (long long)LmxGetMapPropLong(props, "maxFileSize", &found);
  unsigned char append = LmxGetMapPropBool(props, "append", &found);
  printf("maxFileSize as a number: %lld, append: %s\n", size, append ? "yes" : "no");
  if (size != 5000000000LL || !append) ++failures;
  LmxFreeStringToStringMap(props);

  /* Message parameters are typed and used by position. */
  ParmList *parms = LmxAllocParmList();
  Parm p;
  p.type = LMX_PARM_STRING;
  p.value.s = "app.log";
  LmxParmListAppend(parms, &p);
  p.type = LMX_PARM_INT;
  p.value.i = 3;
  LmxParmListAppend(parms, &p);
  char *message = LmxAprintf("%2$d backups of '%1$s' kept", parms);
  printf("message: %s\n", message ? message : "(none)");
  if (message == NULL || strcmp(message, "3 backups of 'app.log' kept") != 0) ++failures;
  BasMemoryFree(message);
  LmxFreeParmList(parms);

  const char *parts[] = {"lumex", NULL, "errorLogger"};
  char *name = LmxStrACat(3, parts, ".");
  printf("joined name: %s\n", name);
  if (name == NULL || strcmp(name, "lumex.errorLogger") != 0) ++failures;
  BasMemoryFree(name);
  return failures;
}
