/* Logging path: events, log calls, levels and filters. */
#ifndef LUMEX_LOGGING_H
#define LUMEX_LOGGING_H

#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Events
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Log calls
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Levels
 * ------------------------------------------------------------------------ */

/* Level values of loggers, filters and events. */
#define LMX_LEVEL_NONE (-9999) /* no level: an event or object without one */
#define LMX_LEVEL_ALL 0
#define LMX_LEVEL_DEBUG_MAX 1000
#define LMX_LEVEL_DEBUG_MID 2000
#define LMX_LEVEL_DEBUG_MIN 3000
#define LMX_LEVEL_INFO 4000
#define LMX_LEVEL_WARN 5000
#define LMX_LEVEL_ERROR 6000
#define LMX_LEVEL_FATAL 7000
#define LMX_LEVEL_OFF 9999


LMX_END_DECLS

#endif
