// Message catalog look-ups against the C library's catgets on the same
// messages (its catalog compiled with its own gencat), and the
// open-look-up-close cycle of every message binding: on a cached catalog and
// on a catalog found nowhere along NLSPATH.
#include <benchmark/benchmark.h>
#include <nl_types.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lumex/ilx.h"

namespace {

constexpr int kMessages = 1000;

// A folder with, for 1 and for 5 sets of 1000 messages in all, bench<n>.cat
// (lmxgencat) and glibc<n>.cat (gencat) built from one message source, and
// the (set, key) pairs in a shuffled order.
struct Fixture {
  std::string dir;
  std::vector<std::pair<int, int>> keys[6];
  Fixture() {
    char tmpl[] = "/tmp/lmxbench.XXXXXX";
    dir = mkdtemp(tmpl);
    for (int sets : {1, 5}) {
      std::string src;
      for (int s = 1; s <= sets; ++s) {
        src += "$set " + std::to_string(s) + "\n";
        for (int k = 1; k <= kMessages / sets; ++k) {
          src += std::to_string(k) + " Message " + std::to_string(k) + " of set " + std::to_string(s) +
                 ": the file %1$s could not be opened\n";
          keys[sets].emplace_back(s, k);
        }
      }
      const std::string n = std::to_string(sets);
      FILE *f = std::fopen((dir + "/src.msg").c_str(), "w");
      std::fputs(src.c_str(), f);
      std::fclose(f);
      const std::string ours = std::string(LUMEX_BINARY_DIR) + "/tools/lmxgencat/lmxgencat " + dir +
                               "/bench" + n + ".cat " + dir + "/src.msg";
      const std::string theirs = "gencat " + dir + "/glibc" + n + ".cat " + dir + "/src.msg";
      if (std::system(ours.c_str()) != 0 || std::system(theirs.c_str()) != 0) std::abort();
      std::shuffle(keys[sets].begin(), keys[sets].end(), std::mt19937(7));
    }
    setenv("NLSPATH", (dir + "/%N.cat").c_str(), 1);
  }
  ~Fixture() { std::system(("rm -rf " + dir).c_str()); }
  std::string path(const char *kind, int sets) const {
    return dir + "/" + kind + std::to_string(sets) + ".cat";
  }
};

Fixture &fx() {
  static Fixture f;
  return f;
}

void BM_IlxCatgetsUtf8(benchmark::State &state) {
  MCCatalogT *cat = ilx_catopen(fx().path("bench", state.range(0)).c_str(), 0, nullptr);
  CodeSetT utf8 = ilx_cs_new("UTF8");
  const auto &keys = fx().keys[state.range(0)];
  size_t i = 0;
  for (auto _ : state) {
    const auto &[s, k] = keys[i];
    if (++i == keys.size()) i = 0;
    benchmark::DoNotOptimize(ilx_catgets(cat, s, k, "default", utf8));
  }
  ilx_catclose(cat);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IlxCatgetsUtf8)->Arg(1)->Arg(5);

void BM_IlxCatgetsDefaultCodeSet(benchmark::State &state) {
  MCCatalogT *cat = ilx_catopen(fx().path("bench", state.range(0)).c_str(), 0, nullptr);
  const auto &keys = fx().keys[state.range(0)];
  size_t i = 0;
  for (auto _ : state) {
    const auto &[s, k] = keys[i];
    if (++i == keys.size()) i = 0;
    benchmark::DoNotOptimize(ilx_catgets(cat, s, k, "default", nullptr));
  }
  ilx_catclose(cat);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IlxCatgetsDefaultCodeSet)->Arg(1)->Arg(5);

void BM_GlibcCatgets(benchmark::State &state) {
  nl_catd cat = catopen(fx().path("glibc", state.range(0)).c_str(), 0);
  if (cat == reinterpret_cast<nl_catd>(-1)) {
    state.SkipWithError("gencat catalog not readable");
    return;
  }
  const auto &keys = fx().keys[state.range(0)];
  size_t i = 0;
  for (auto _ : state) {
    const auto &[s, k] = keys[i];
    if (++i == keys.size()) i = 0;
    benchmark::DoNotOptimize(catgets(cat, s, k, "default"));
  }
  catclose(cat);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GlibcCatgets)->Arg(1)->Arg(5);

// The binding cycle on a catalog found along NLSPATH and already cached.
void BM_IlxOpenGetCloseCached(benchmark::State &state) {
  fx();
  CodeSetT utf8 = ilx_cs_new("UTF8");
  ilx_catclose(ilx_catopen("bench1", 0, nullptr));
  for (auto _ : state) {
    MCCatalogT *cat = ilx_catopen("bench1", 0, nullptr);
    benchmark::DoNotOptimize(ilx_catgets(cat, 1, 42, "default", utf8));
    ilx_catclose(cat);
  }
}
BENCHMARK(BM_IlxOpenGetCloseCached);

void BM_IlxOpenGetCloseMissing(benchmark::State &state) {
  fx();
  for (auto _ : state) {
    MCCatalogT *cat = ilx_catopen("nosuchcatalog", 0, nullptr);
    benchmark::DoNotOptimize(ilx_catgets(cat, 3, 42, "default", nullptr));
    ilx_catclose(cat);
  }
}
BENCHMARK(BM_IlxOpenGetCloseMissing);

// The C library's cycle for comparison: it reads the file on every open.
void BM_GlibcOpenGetClose(benchmark::State &state) {
  fx();
  for (auto _ : state) {
    nl_catd cat = catopen("glibc1", 0);
    benchmark::DoNotOptimize(catgets(cat, 1, 42, "default"));
    catclose(cat);
  }
}
BENCHMARK(BM_GlibcOpenGetClose);

}  // namespace
