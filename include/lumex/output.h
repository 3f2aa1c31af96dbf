/* Output: handlers and formatters. */
#ifndef LUMEX_OUTPUT_H
#define LUMEX_OUTPUT_H

#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Handlers
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Formatters
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
