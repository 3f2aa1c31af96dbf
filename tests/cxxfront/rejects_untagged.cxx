// A pointer other than a text has no parameter tag: this must not compile.
#include <lumex/lumex.hpp>

void untagged(const lumex::Logger &log, int *p) { log.text("pointer", p); }
