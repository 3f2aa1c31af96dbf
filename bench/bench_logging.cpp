// The cost of logging. A call that its logger's level drops
// (LmxLogDebugMax on an INFO logger, through the C interface) against
// spdlog's call below its level, and a record through the whole path (log
// call, event, basic formatter, a handler that discards the text) with the
// parts it is made of: the lock, the event, the dispatch, the formatter and
// its message binding. The ratios are printed after the runs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "core/api_frame.h"
#include "core/object.h"
#include "logging/event.h"
#include "lumex/lumex.h"
#include "messages/i18msg.h"

#if defined(LUMEX_HAVE_SPDLOG)
#include <spdlog/sinks/null_sink.h>
#include <spdlog/spdlog.h>
#endif

namespace {

// A handler that formats the record with its formatter and drops the text.
void formatAndDiscard(Object *handler, Event *event) {
  Object *fmt = handler->b.formatter;
  LmxFormatFn format = fmt != nullptr ? fmt->objClass->ops.formatter.format : nullptr;
  if (format != nullptr) BasMemoryFree(format(fmt, event));
}
// A handler that does nothing at all.
void ignore(Object *, Event *) {}

struct Toolkit {
  Object *info = nullptr;    // INFO, to the formatting handler
  Object *bare = nullptr;    // INFO, to the handler that does nothing
  bool formats = false;      // the basic formatter is there
  Toolkit() {
    char path[] = "/tmp/lmxbench.XXXXXX";
    int fd = mkstemp(path);
    const char props[] =
        "bench.className=lmx_basiclogger\n"
        "bench.level=INFO\n"
        "bench.listenerNames=sink\n"
        "sink.className=bench_discard\n"
        "bare.className=lmx_basiclogger\n"
        "bare.level=INFO\n"
        "bare.listenerNames=nop\n"
        "nop.className=bench_ignore\n";
    if (fd < 0 || write(fd, props, sizeof props - 1) < 0) std::abort();
    close(fd);
    LmxAddHandlerClass("bench_discard", nullptr, nullptr, nullptr, LmxBasicObjectFCfgChange,
                       formatAndDiscard, nullptr, nullptr);
    LmxAddHandlerClass("bench_ignore", nullptr, nullptr, nullptr, LmxBasicObjectFCfgChange,
                       ignore, nullptr, nullptr);
    if (!LmxOpenToolkit(path)) std::abort();
    unlink(path);
    info = LmxGetObject("bench", nullptr);
    bare = LmxGetObject("bare", nullptr);
    Object *fmt = LmxGetObject("lumex.defaultFormatter", nullptr);
    formats = fmt != nullptr && fmt->objClass->ops.formatter.format != nullptr;
    LmxReleaseObject(fmt);
  }
};

Toolkit &tk() {
  static Toolkit t;
  return t;
}

// The message of every record: a catalog that is found nowhere, so the
// default text is bound with its two parameters.
constexpr const char *kCatalog = "lmxbench";
constexpr const char *kText = "User %1$s logged in %2$d times";

void BM_LumexDroppedDebugMax(benchmark::State &state) {
  Object *logger = tk().info;
  int i = 0;
  for (auto _ : state) {
    LmxLogDebugMax(logger, __FILE__, __func__, __LINE__, "dropped %1$d", LMX_PARM_INT, ++i, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LumexDroppedDebugMax);

#if defined(LUMEX_HAVE_SPDLOG)
std::shared_ptr<spdlog::logger> spdlogAt(spdlog::level::level_enum level) {
  auto logger =
      std::make_shared<spdlog::logger>("bench", std::make_shared<spdlog::sinks::null_sink_mt>());
  logger->set_level(level);
  return logger;
}

void BM_SpdlogDroppedDebug(benchmark::State &state) {
  auto logger = spdlogAt(spdlog::level::info);
  int i = 0;
  for (auto _ : state) {
    logger->debug("dropped {}", ++i);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SpdlogDroppedDebug);

// For scale: spdlog formatting a record into its null sink.
void BM_SpdlogWholeRecord(benchmark::State &state) {
  auto logger = spdlogAt(spdlog::level::info);
  int i = 0;
  for (auto _ : state) logger->info("User {} logged in {} times", "bob", ++i);
}
BENCHMARK(BM_SpdlogWholeRecord);
#endif

// --- The whole path and its parts ---------------------------------------------

void BM_WholeRecord(benchmark::State &state) {
  if (!tk().formats) return state.SkipWithError("the basic formatter is not built");
  Object *logger = tk().info;
  int i = 0;
  for (auto _ : state) {
    LmxLogInfo(logger, kCatalog, 1, 1, kText, LMX_PARM_STRING, "bob", LMX_PARM_INT, ++i, 0);
  }
}
BENCHMARK(BM_WholeRecord);

// The same record as plain text: no catalog to look for.
void BM_WholeRecordNoCatalog(benchmark::State &state) {
  if (!tk().formats) return state.SkipWithError("the basic formatter is not built");
  Object *logger = tk().info;
  int i = 0;
  for (auto _ : state) {
    LmxLogInfo(logger, nullptr, 0, 0, kText, LMX_PARM_STRING, "bob", LMX_PARM_INT, ++i, 0);
  }
}
BENCHMARK(BM_WholeRecordNoCatalog);

// Log call, lock, event and dispatch, to a handler that does nothing.
void BM_PartCallEventDispatch(benchmark::State &state) {
  Object *logger = tk().bare;
  int i = 0;
  for (auto _ : state) {
    LmxLogInfo(logger, kCatalog, 1, 1, kText, LMX_PARM_STRING, "bob", LMX_PARM_INT, ++i, 0);
  }
}
BENCHMARK(BM_PartCallEventDispatch);

void BM_PartLock(benchmark::State &state) {
  tk();
  for (auto _ : state) {
    lmx::ApiLock lock;
    benchmark::DoNotOptimize(lock);
  }
}
BENCHMARK(BM_PartLock);

Event *makeEvent(int i, ...) {
  va_list args;
  va_start(args, i);
  Event *ev = LmxVaAllocEvent(LMX_LEVEL_INFO, kCatalog, 1, 1, kText, args);
  va_end(args);
  return ev;
}

void BM_PartEvent(benchmark::State &state) {
  tk();
  int i = 0;
  for (auto _ : state) {
    ++i;
    LmxFreeEvent(makeEvent(i, LMX_PARM_STRING, "bob", LMX_PARM_INT, i, 0));
  }
}
BENCHMARK(BM_PartEvent);

void BM_PartFormat(benchmark::State &state) {
  if (!tk().formats) return state.SkipWithError("the basic formatter is not built");
  Object *fmt = LmxGetObject("lumex.defaultFormatter", nullptr);
  Event *ev = makeEvent(0, LMX_PARM_STRING, "bob", LMX_PARM_INT, 3, 0);
  lmx::ApiLock lock;
  for (auto _ : state) BasMemoryFree(fmt->objClass->ops.formatter.format(fmt, ev));
  LmxFreeEvent(ev);
  LmxReleaseObject(fmt);
}
BENCHMARK(BM_PartFormat);

// Binding the record's message; for comparison the same text without a
// catalog to look for.
void BM_PartBind(benchmark::State &state) {
  tk();
  Event *ev = makeEvent(0, LMX_PARM_STRING, "bob", LMX_PARM_INT, 3, 0);
  lmx::ApiLock lock;
  for (auto _ : state) BasMemoryFree(lmxIntlBindI18Msg(ev->message));
  LmxFreeEvent(ev);
}
BENCHMARK(BM_PartBind);

void BM_PartBindNoCatalog(benchmark::State &state) {
  tk();
  Event *ev = makeEvent(0, LMX_PARM_STRING, "bob", LMX_PARM_INT, 3, 0);
  LmxSetI18MsgCat(ev->message, nullptr);
  lmx::ApiLock lock;
  for (auto _ : state) BasMemoryFree(lmxIntlBindI18Msg(ev->message));
  LmxFreeEvent(ev);
}
BENCHMARK(BM_PartBindNoCatalog);

// Keeps each run's CPU time (ns) by name for the summary: on a shared
// machine it varies less than the wall-clock time.
class Collecting : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ns;
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs) {
      if (!r.error_occurred) ns[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  Collecting report;
  benchmark::RunSpecifiedBenchmarks(&report);
  auto t = [&](const char *name) {
    auto it = report.ns.find(name);
    return it != report.ns.end() ? it->second : -1.0;
  };
  const double ours = t("BM_LumexDroppedDebugMax"), theirs = t("BM_SpdlogDroppedDebug");
  std::printf("\nDropped call: Lumex %.2f ns, spdlog %.2f ns", ours, theirs);
  if (ours > 0 && theirs > 0) std::printf(", ratio Lumex/spdlog %.2f", ours / theirs);
  std::printf("\n");
  const double whole = t("BM_WholeRecord"), call = t("BM_PartCallEventDispatch");
  const double lock = t("BM_PartLock"), event = t("BM_PartEvent");
  const double format = t("BM_PartFormat"), bind = t("BM_PartBind");
  std::printf("Message binding: %.0f ns with a catalog found nowhere, %.0f ns without catalog\n",
              bind, t("BM_PartBindNoCatalog"));
  if (whole > 0) {
    std::printf("Whole record: %.0f ns/record (plain text, no catalog: %.0f ns)\n", whole,
                t("BM_WholeRecordNoCatalog"));
    std::printf("  call, lock, event, dispatch %6.0f ns (lock and unlock %.0f ns, event made and"
                " freed %.0f ns)\n", call, lock, event);
    std::printf("  basic formatter             %6.0f ns (of which message binding %.0f ns)\n",
                format, bind);
    std::printf("  handler and remainder       %6.0f ns\n", whole - call - format);
    if (t("BM_SpdlogWholeRecord") > 0) {
      std::printf("  spdlog's record into a null sink: %.0f ns, ratio Lumex/spdlog %.2f\n",
                  t("BM_SpdlogWholeRecord"), whole / t("BM_SpdlogWholeRecord"));
    }
  }
  benchmark::Shutdown();
  return 0;
}
