// StringGroup: an insertion-ordered set of texts compared with case.
// Allocation, iteration, IterGet and GetLink are shared (shared_ops.cpp).
#include "collections/sequence.h"
#include "collections/value_rules.h"

LMX_DEFINE_GROUP_FAMILY(StringGroup, lmx::TextRule)
