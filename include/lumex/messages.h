/* Messages: typed parameters and internationalized messages. */
#ifndef LUMEX_MESSAGES_H
#define LUMEX_MESSAGES_H

#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Typed parameters
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Internationalized messages
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
