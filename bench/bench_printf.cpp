// CxStringBuffPrintf against the C library's snprintf on three typical log
// formats, in the same run. Both write into memory that is reused between
// iterations: a restarted string buffer and a fixed array.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "lumex/cx.h"

namespace {

#define LUMEX_PAIR(name, ...)                               \
  void Lumex##name(benchmark::State &state) {               \
    CxStringBuff b{};                                       \
    for (auto _ : state) {                                  \
      CxStringBuffRestart(&b);                              \
      CxStringBuffPrintf(nullptr, &b, __VA_ARGS__);         \
      benchmark::DoNotOptimize(b.data);                     \
    }                                                       \
    CxStringBuffDiscard(&b);                                \
  }                                                         \
  void Snprintf##name(benchmark::State &state) {            \
    char buf[256];                                          \
    for (auto _ : state) {                                  \
      std::snprintf(buf, sizeof buf, __VA_ARGS__);          \
      benchmark::DoNotOptimize(buf);                        \
    }                                                       \
  }                                                         \
  BENCHMARK(Lumex##name);                                   \
  BENCHMARK(Snprintf##name);

LUMEX_PAIR(Sequential, "%s %d %s", "request", 42017, "completed")
LUMEX_PAIR(Positional, "%2$s=%1$d", 8080, "port")
LUMEX_PAIR(Mixed, "%08.3f|%-10s|%#x", 3.14159265, "status", 0xBEEF)

}  // namespace
