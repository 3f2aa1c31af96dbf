// StringToStringMap: property names to owned copies of their texts.
#include "collections/map_ops.h"
#include "collections/value_rules.h"

LMX_DEFINE_MAP_FAMILY(StringToStringMap, lmx::TextRule)
