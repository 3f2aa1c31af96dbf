/* Toolkit core: the API frame, toolkit state, classes and objects. */
#ifndef LUMEX_CORE_H
#define LUMEX_CORE_H

#include <stdint.h>

#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* Opaque toolkit records. */
typedef struct Object Object;
typedef struct ObjClass ObjClass;
typedef struct ObjCfg ObjCfg;

/* Logs the platform's text for a failed status at level WARN through the
 * toolkit logger; success and unknown kinds log nothing. While the toolkit
 * is not open the report is dropped. */
LMX_API void LmxReportPlatformErr(CxStatus status);

/* ------------------------------------------------------------------------
 * Objects and classes
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
