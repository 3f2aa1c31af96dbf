/* The logging toolkit: a properties file with two loggers in a dotted tree,
 * a level filter, console handlers and formatters (one with its own
 * separator); catalog messages with typed parameters, debug traces with
 * their source position, plain text, and records that a level holds back. */
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "demo.h"
#include "lumex/lumex.h"

/* shop takes everything from DEBUG_MAX up; its child shop.orders inherits
 * its class and listeners but takes only INFO and above. Every record goes
 * to the console `out`; records of ERROR and above also pass the filter
 * `alerts` to a second console whose formatter separates fields by " | ". */
static const char kProperties[] =
    "shop.className=lmx_basiclogger\n"
    "shop.level=DEBUG_MAX\n"
    "shop.listenerNames=out alerts\n"
    "shop.orders.level=INFO\n"
    "alerts.className=lmx_levelfilter\n"
    "alerts.level=ERROR\n"
    "alerts.listenerNames=out.alerts\n"
    "out.className=lmx_consolehandler\n"
    "out.formatterName=plain\n"
    "out.alerts.formatterName=marked\n"
    "plain.className=lmx_basicformatter\n"
    "plain.dateTimeFormat=%H:%M:%S\n"
    "marked.className=lmx_basicformatter\n"
    "marked.dateTimeFormat=ALERT %H:%M:%S\n"
    "marked.separator=\\u0020|\\u0020\n";

int demo_logging(void) {
  char path[] = "/tmp/lmxdemo.XXXXXX";
  int fd = mkstemp(path);
  FILE *f = fd >= 0 ? fdopen(fd, "w") : NULL;
  Object *shop, *orders;
  if (f == NULL) return 1;
  fputs(kProperties, f);
  fclose(f);

  printf("\n== Logging through a properties file\n%s\n", kProperties);
  if (!LmxOpenToolkit(path)) {
    unlink(path);
    return 1;
  }
  unlink(path);
  shop = LmxGetObject("shop", NULL);
  orders = LmxGetObject("shop.orders", NULL);
  printf("-- records of ERROR and above, and those without level, appear twice:\n"
         "   once on `out`, once through the filter `alerts` on `out.alerts`\n");
  fflush(stdout);

  /* Catalog messages: catalog, set and key name the text; the default text
   * stands in where no catalog has it. Parameters are bound by position. */
  LmxLogInfo(orders, "shopmsg", 1, 10, "Order %1$d for %2$s: %3$.2f EUR, customer %4$d",
             LMX_PARM_INT, 42, LMX_PARM_STRING, "Ada", LMX_PARM_DOUBLE, 19.5, LMX_PARM_LONG, 90125,
             0);
  LmxLogWarn(orders, "shopmsg", 1, 11, "Stock of item %1$s is low: %2$d left (grade %3$c)",
             LMX_PARM_STRING, "A-7", LMX_PARM_INT, 2, LMX_PARM_CHAR, 'B', 0);
  LmxLogError(orders, "shopmsg", 1, 12, "Payment for order %1$d was refused", LMX_PARM_INT, 43,
              0);

  /* Debug traces carry their source file, function and line. */
  LmxLogDebugMin(shop, __FILE__, __func__, __LINE__, "cart holds %1$d items", LMX_PARM_INT, 3,
                 0);
  LmxLogDebugMax(shop, __FILE__, __func__, __LINE__, "cache miss for key %1$s", LMX_PARM_STRING,
                 "sku-19", 0);
  /* Plain text, and a catalog message without level: both pass any level,
   * the ERROR filter's too. */
  LmxLogText(shop, "plain text, no level", 0);
  LmxLogMsg(orders, "shopmsg", 1, 13, "A message without level passes even INFO", 0);

  fflush(stdout);
  printf("-- shop.orders is at INFO: its DEBUG_MIN trace below does not appear\n");
  fflush(stdout);
  LmxLogDebugMin(orders, __FILE__, __func__, __LINE__, "this trace is held back", 0);
  LmxLogInfo(orders, "shopmsg", 1, 14, "only this INFO record appears", 0);
  fflush(stdout);

  LmxReleaseObject(orders);
  LmxReleaseObject(shop);
  LmxCloseToolkit();
  return 0;
}
