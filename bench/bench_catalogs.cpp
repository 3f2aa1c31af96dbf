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

// Looks up every (set, key) pair in shuffled order with `get`.
template <typename Get>
void lookUpAll(benchmark::State &state, Get get) {
  const auto &keys = fx().keys[state.range(0)];
  size_t i = 0;
  for (auto _ : state) {
    const auto &[s, k] = keys[i];
    if (++i == keys.size()) i = 0;
    benchmark::DoNotOptimize(get(s, k));
  }
  state.SetItemsProcessed(state.iterations());
}

// Arguments: number of sets; 1 for the UTF-8 handle, 0 for the default code set.
void BM_IlxCatgets(benchmark::State &state) {
  MCCatalogT *cat = ilx_catopen(fx().path("bench", state.range(0)).c_str(), 0, nullptr);
  CodeSetT cs = state.range(1) ? ilx_cs_new("UTF8") : nullptr;
  state.SetLabel(state.range(1) ? "UTF-8" : "default code set");
  lookUpAll(state, [&](int s, int k) { return ilx_catgets(cat, s, k, "default", cs); });
  ilx_catclose(cat);
}
BENCHMARK(BM_IlxCatgets)->Args({1, 1})->Args({1, 0})->Args({5, 1})->Args({5, 0});

void BM_GlibcCatgets(benchmark::State &state) {
  nl_catd cat = catopen(fx().path("glibc", state.range(0)).c_str(), 0);
  if (cat == reinterpret_cast<nl_catd>(-1)) {
    state.SkipWithError("gencat catalog not readable");
    return;
  }
  lookUpAll(state, [&](int s, int k) { return catgets(cat, s, k, "default"); });
  catclose(cat);
}
BENCHMARK(BM_GlibcCatgets)->Arg(1)->Arg(5);

// The binding cycle of the toolkit (open by name along NLSPATH, look up in
// UTF-8, close). Argument 1: a catalog already cached; 0: a catalog that
// exists nowhere along NLSPATH.
void BM_IlxOpenGetClose(benchmark::State &state) {
  fx();
  const char *name = state.range(0) ? "bench1" : "nosuchcatalog";
  state.SetLabel(state.range(0) ? "cached" : "missing");
  CodeSetT utf8 = ilx_cs_new("UTF8");
  ilx_catclose(ilx_catopen(name, 0, nullptr));
  for (auto _ : state) {
    MCCatalogT *cat = ilx_catopen(name, 0, nullptr);
    benchmark::DoNotOptimize(ilx_catgets(cat, 1, 42, "default", utf8));
    ilx_catclose(cat);
  }
}
BENCHMARK(BM_IlxOpenGetClose)->Arg(1)->Arg(0);

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
