// Every call shape of the C++ front, for the compile check.
#include <lumex/lumex.hpp>

#include <string>
#include <string_view>

void everyShape(const lumex::Logger &log) {
  const std::string s = "s";
  log.info("cat", 1, 2, "text", true, 'c', short{1}, 2, 3L, 4ULL, 1.5f, 2.5, "lit", s,
           std::string_view("view"), lumex::prop("name", 7), lumex::Level::Error);
  log.msg("cat", 1, 2, "text");
  log.warn("cat", 1, 2, "text", s);
  log.error("cat", 1, 2, "text", s);
  log.fatal("cat", 1, 2, "text", s);
  log.text("plain");
  LUMEX_DEBUG_MIN(log, "min %1$d", 1);
  LUMEX_DEBUG_MID(log, "mid");
  LUMEX_DEBUG_MAX(log, "max", lumex::prop("p", s));
}
