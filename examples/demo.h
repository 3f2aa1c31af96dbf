/* Sections of the demo, one per topic; each prints what it shows and
 * returns 0 on success. */
#ifndef LUMEX_DEMO_H
#define LUMEX_DEMO_H

int demo_strings(void);
int demo_printf(void);
int demo_locale(void);
int demo_formatted(void);
int demo_wide(void);
int demo_files(void);
int demo_collections(void);
int demo_codesets(void);
int demo_catalogs(void);
int demo_logging(void);
int demo_log_files(void);
int demo_xml(void);

#endif
