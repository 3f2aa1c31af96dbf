/* Collections: lists, groups, string-keyed maps and iterators. */
#ifndef LUMEX_COLLECTIONS_H
#define LUMEX_COLLECTIONS_H

#include <stdint.h>

#include "core.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Lists, groups and iterators
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * String-keyed maps
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
