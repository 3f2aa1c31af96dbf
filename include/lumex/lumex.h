/* Lumex: the whole public interface. */
#ifndef LUMEX_LUMEX_H
#define LUMEX_LUMEX_H

#include "lmx_export.h"
#include "cx.h"
#include "ilx.h"
#include "core.h"
#include "collections.h"
#include "messages.h"
#include "config.h"
#include "logging.h"
#include "output.h"

#endif
