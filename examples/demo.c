/* A tour of what Lumex can do. */
#include <stdio.h>

#include "demo.h"

int main(void) {
  int failures = 0;
  failures += demo_strings();
  failures += demo_printf();
  failures += demo_locale();
  failures += demo_formatted();
  failures += demo_wide();
  failures += demo_files();
  failures += demo_collections();
  failures += demo_codesets();
  failures += demo_catalogs();
  failures += demo_logging();
  failures += demo_log_files();
  failures += demo_xml();
  if (failures) fprintf(stderr, "demo: %d section(s) failed\n", failures);
  return failures ? 1 : 0;
}
