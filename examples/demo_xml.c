/* Problem-data records: a problem-data logger stamps product, component,
 * host, process and thread on every record and a file handler writes them
 * as XML through the XML formatter; the file is shown afterwards. */
#include <stdio.h>

#include "demo.h"
#include "lumex/lumex.h"

int demo_xml(void) {
  char dir[64], path[CX_MAX_PATH], props[CX_MAX_PATH], line[300];
  FILE *f;
  Object *logger;

  printf("Problem-data records in XML\n");
  snprintf(dir, sizeof dir, "demo_logs_%u", (unsigned)CxProcessGetCurrentID());
  snprintf(path, sizeof path, "%s/problems.xml", dir);
  snprintf(props, sizeof props, "demo_xml_%u.properties", (unsigned)CxProcessGetCurrentID());
  f = fopen(props, "w");
  if (f == NULL) return 1;
  fprintf(f,
          "inventory.className=lmx_pdlogger\n"
          "inventory.level=DEBUG_MIN\n"
          "inventory.product=Inventory\n"
          "inventory.component=stock\n"
          "inventory.listenerNames=out.problems\n"
          "out.problems.className=lmx_filehandler\n"
          "out.problems.fileName=%s\n"
          "out.problems.appending=false\n"
          "out.problems.formatterName=out.xml\n"
          "out.xml.className=lmx_xmlformatter\n",
          path);
  fclose(f);
  if (!LmxOpenToolkit(props)) return 1;
  logger = LmxGetObject("inventory", NULL);
  LmxLogError(logger, "inventory", 1, 7, "INV0007E Item %1$s is out of stock (%2$d left).",
              LMX_PARM_STRING, "bolt <M8>", LMX_PARM_INT, 0, LMX_NAMED_PROP, "warehouse",
              LMX_PARM_STRING, "north", 0);
  LmxLogDebugMin(logger, "stock.c", "reorder", 42, "reorder placed", 0);
  LmxReleaseObject(logger);
  LmxCloseToolkit();
  remove(props);
  printf("  %s:\n", path);
  f = fopen(path, "r");
  if (f == NULL) return 1;
  while (fgets(line, sizeof line, f) != NULL) printf("    %s", line);
  fclose(f);
  return 0;
}
