/* Configuration: object configurations, the log manager, property values. */
#ifndef LUMEX_CONFIG_H
#define LUMEX_CONFIG_H

#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Object configurations
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Log manager
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Property values
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
