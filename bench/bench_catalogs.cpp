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

// Catalog shapes: 1 or 5 sets of 1000 messages in all, numbered 1, 2, 3, ...
// or by component as real catalogs are (1001 ... 1020, 2001 ... 2020, ...).
// For each shape a folder holds bench<id>.cat (lmxgencat) and glibc<id>.cat
// (gencat) built from one message source, and the (set, key) pairs in a
// shuffled order; the "half missing" order replaces every second pair by a
// key that no set holds.
int shapeId(int sets, int gapped) { return sets * 2 + gapped; }
int numberOf(int i, int gapped) { return gapped ? (i / 20 + 1) * 1000 + i % 20 + 1 : i + 1; }

struct Fixture {
  std::string dir;
  std::vector<std::pair<int, int>> keys[12][2];
  Fixture() {
    char tmpl[] = "/tmp/lmxbench.XXXXXX";
    dir = mkdtemp(tmpl);
    for (int sets : {1, 5}) {
      for (int gapped : {0, 1}) {
        const int id = shapeId(sets, gapped);
        std::string src;
        for (int s = 1; s <= sets; ++s) {
          src += "$set " + std::to_string(s) + "\n";
          for (int i = 0; i < kMessages / sets; ++i) {
            const int k = numberOf(i, gapped);
            src += std::to_string(k) + " Message " + std::to_string(k) + " of set " +
                   std::to_string(s) + ": the file %1$s could not be opened\n";
            keys[id][0].emplace_back(s, k);
          }
        }
        const std::string n = std::to_string(id);
        FILE *f = std::fopen((dir + "/src.msg").c_str(), "w");
        std::fputs(src.c_str(), f);
        std::fclose(f);
        const std::string ours = std::string(LUMEX_BINARY_DIR) + "/tools/lmxgencat/lmxgencat " +
                                 dir + "/bench" + n + ".cat " + dir + "/src.msg";
        const std::string theirs = "gencat " + dir + "/glibc" + n + ".cat " + dir + "/src.msg";
        if (std::system(ours.c_str()) != 0 || std::system(theirs.c_str()) != 0) std::abort();
        std::shuffle(keys[id][0].begin(), keys[id][0].end(), std::mt19937(7));
        keys[id][1] = keys[id][0];
        for (size_t i = 1; i < keys[id][1].size(); i += 2) keys[id][1][i].second += 500;
      }
    }
    setenv("NLSPATH", (dir + "/%N.cat").c_str(), 1);
  }
  ~Fixture() { std::system(("rm -rf " + dir).c_str()); }
  std::string path(const char *kind, int id) const {
    return dir + "/" + kind + std::to_string(id) + ".cat";
  }
};

Fixture &fx() {
  static Fixture f;
  return f;
}

// Arguments of both look-up benchmarks: sets, gapped numbers, half missing.
int shapeOf(benchmark::State &state) {
  return shapeId(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
void shapes(benchmark::internal::Benchmark *b) {
  for (int sets : {1, 5})
    for (int gapped : {0, 1})
      for (int missing : {0, 1}) b->Args({sets, gapped, missing});
}

// Looks up every (set, key) pair of the shape in shuffled order with `get`.
template <typename Get>
void lookUpAll(benchmark::State &state, Get get) {
  const auto &keys = fx().keys[shapeOf(state)][state.range(2)];
  size_t i = 0;
  for (auto _ : state) {
    const auto &[s, k] = keys[i];
    if (++i == keys.size()) i = 0;
    benchmark::DoNotOptimize(get(s, k));
  }
  state.SetItemsProcessed(state.iterations());
}

// Texts in the default code set, as catgets gives them.
void BM_IlxCatgets(benchmark::State &state) {
  MCCatalogT *cat = ilx_catopen(fx().path("bench", shapeOf(state)).c_str(), 0, nullptr);
  lookUpAll(state, [&](int s, int k) { return ilx_catgets(cat, s, k, "default", nullptr); });
  ilx_catclose(cat);
}
BENCHMARK(BM_IlxCatgets)->Apply(shapes);

// The same in UTF-8 through the shared handle, as the toolkit looks up.
void BM_IlxCatgetsUtf8(benchmark::State &state) {
  MCCatalogT *cat = ilx_catopen(fx().path("bench", shapeOf(state)).c_str(), 0, nullptr);
  CodeSetT cs = ilx_cs_new("UTF8");
  lookUpAll(state, [&](int s, int k) { return ilx_catgets(cat, s, k, "default", cs); });
  ilx_catclose(cat);
}
BENCHMARK(BM_IlxCatgetsUtf8)->Apply(shapes);

void BM_GlibcCatgets(benchmark::State &state) {
  nl_catd cat = catopen(fx().path("glibc", shapeOf(state)).c_str(), 0);
  if (cat == reinterpret_cast<nl_catd>(-1)) {
    state.SkipWithError("gencat catalog not readable");
    return;
  }
  lookUpAll(state, [&](int s, int k) { return catgets(cat, s, k, "default"); });
  catclose(cat);
}
BENCHMARK(BM_GlibcCatgets)->Apply(shapes);

// The binding cycle of the toolkit (open by name along NLSPATH, look up in
// UTF-8, close). Argument 1: a catalog already cached; 0: a catalog that
// exists nowhere along NLSPATH.
void BM_IlxOpenGetClose(benchmark::State &state) {
  fx();
  const char *name = state.range(0) ? "bench2" : "nosuchcatalog";
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
    nl_catd cat = catopen("glibc2", 0);
    benchmark::DoNotOptimize(catgets(cat, 1, 42, "default"));
    catclose(cat);
  }
}
BENCHMARK(BM_GlibcOpenGetClose);

}  // namespace
