// StringToObjCfgMap: configuration names to counted configurations.
#include "collections/map_ops.h"
#include "config/obj_cfg.h"

LMX_DEFINE_MAP_FAMILY(StringToObjCfgMap, lmx::CfgRule)
