// Log files: records per second into a file handler and into one file
// shared by four processes, each against its reference in the same run.
//
// P1: LmxLogInfo through the basic formatter into a file handler, 100-byte
//     records, against a floor that does what a file handler must do for
//     every record (stat of the name, one write), spdlog's basic file sink
//     flushing every record and log4cxx's file appender with immediate
//     flush (both when their packages are present).
// P2: four processes into one shared file through the multi-process file
//     handler, against four processes doing flock + fstat + write.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "lumex/config.h"
#include "lumex/core.h"
#include "lumex/logging.h"

#ifdef LUMEX_BENCH_SPDLOG
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/spdlog.h>
#endif
#ifdef LUMEX_BENCH_LOG4CXX
#include <log4cxx/fileappender.h>
#include <log4cxx/logger.h>
#include <log4cxx/patternlayout.h>
#endif

namespace fs = std::filesystem;

namespace {

// The message text that makes a basic formatter record of about 100 bytes
// (timestamp, blank, text, line feed).
const char kText[] = "file handler benchmark record with a message text of seventy bytes.";
// A 100-byte record for the references.
const std::string kRecord = std::string(99, 'r') + "\n";

std::map<std::string, double> gRate;  // records per second, by case

struct Scratch {
  Scratch() {
    std::string tmpl = (fs::temp_directory_path() / "lmxbench.XXXXXX").string();
    dir = mkdtemp(tmpl.data()) != nullptr ? tmpl : "/tmp";
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string dir;
};

template <typename Body>
void timed(benchmark::State &state, const char *name, Body body) {
  int64_t records = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    body();
    ++records;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  state.SetItemsProcessed(records);
  if (seconds > 0) gRate[name] = static_cast<double>(records) / seconds;
}

void P1_Floor_StatWrite(benchmark::State &state) {
  Scratch s;
  std::string name = s.dir + "/floor.log";
  int fd = open(name.c_str(), O_CREAT | O_RDWR | O_APPEND | O_CLOEXEC, 0644);
  timed(state, "floor", [&] {
    struct stat st;
    benchmark::DoNotOptimize(stat(name.c_str(), &st));
    benchmark::DoNotOptimize(write(fd, kRecord.data(), kRecord.size()));
  });
  close(fd);
}
BENCHMARK(P1_Floor_StatWrite);

// A logger with one file handler of the given class on name.
Object *fileLogger(const char *loggerName, const char *handlerClass, const std::string &name) {
  Object *handler = LmxGetObject((std::string(loggerName) + ".file").c_str(), handlerClass);
  LmxSetObjProp(handler, "fileName", name.c_str());
  LmxSetObjProp(handler, "maxFileBytes", "2000000000");
  Object *logger = LmxGetObject(loggerName, "lmx_basiclogger");
  LmxAddListener(logger, handler);
  LmxReleaseObject(handler);
  return logger;
}

void P1_Lumex_FileHandler(benchmark::State &state) {
  Scratch s;
  LmxOpenToolkit(nullptr);
  Object *logger = fileLogger("bench.p1", "lmx_filehandler", s.dir + "/lumex.log");
  timed(state, "lumex", [&] { LmxLogInfo(logger, nullptr, 0, 0, kText, 0); });
  LmxReleaseObject(logger);
  LmxCloseToolkit();
}
BENCHMARK(P1_Lumex_FileHandler);

#ifdef LUMEX_BENCH_SPDLOG
void P1_Spdlog_BasicFileSink(benchmark::State &state) {
  Scratch s;
  auto logger = spdlog::basic_logger_mt("bench", s.dir + "/spdlog.log");
  logger->flush_on(spdlog::level::info);
  timed(state, "spdlog", [&] { logger->info(kText); });
  spdlog::drop("bench");
}
BENCHMARK(P1_Spdlog_BasicFileSink);
#endif

#ifdef LUMEX_BENCH_LOG4CXX
void P1_Log4cxx_FileAppender(benchmark::State &state) {
  Scratch s;
  using namespace log4cxx;
  LayoutPtr layout(new PatternLayout(LOG4CXX_STR("%d{yyyy-MM-dd HH:mm:ss.SSS} %m%n")));
  FileAppenderPtr appender(new FileAppender(layout, s.dir + "/log4cxx.log", true));
  appender->setImmediateFlush(true);
  helpers::Pool pool;
  appender->activateOptions(pool);
  LoggerPtr logger = Logger::getLogger("bench");
  logger->addAppender(appender);
  logger->setAdditivity(false);
  timed(state, "log4cxx", [&] { LOG4CXX_INFO(logger, kText); });
  logger->removeAllAppenders();
}
BENCHMARK(P1_Log4cxx_FileAppender);
#endif

// Four processes, `per` records each, into one file; total records per
// second from the first start to the last end.
template <typename Child>
double fourProcesses(int per, Child child) {
  auto start = std::chrono::steady_clock::now();
  pid_t pids[4];
  for (int i = 0; i < 4; ++i) {
    pids[i] = fork();
    if (pids[i] == 0) {
      child(per);
      _exit(0);
    }
  }
  for (pid_t pid : pids) waitpid(pid, nullptr, 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return 4.0 * per / seconds;
}

constexpr int kPerProcess = 20000;

void P2_Floor_FlockFstatWrite(benchmark::State &state) {
  Scratch s;
  std::string name = s.dir + "/shared-floor.log";
  for (auto _ : state) {
    gRate["floor4"] = fourProcesses(kPerProcess, [&](int per) {
      int fd = open(name.c_str(), O_CREAT | O_WRONLY | O_APPEND | O_CLOEXEC, 0644);
      for (int n = 0; n < per; ++n) {
        flock(fd, LOCK_EX);
        struct stat st;
        benchmark::DoNotOptimize(fstat(fd, &st));
        benchmark::DoNotOptimize(write(fd, kRecord.data(), kRecord.size()));
        flock(fd, LOCK_UN);
      }
      close(fd);
    });
  }
  state.counters["records/s"] = gRate["floor4"];
}
BENCHMARK(P2_Floor_FlockFstatWrite)->Iterations(1)->UseRealTime();

void P2_Lumex_MultiProcFileHandler(benchmark::State &state) {
  Scratch s;
  std::string name = s.dir + "/shared-lumex.log";
  for (auto _ : state) {
    gRate["lumex4"] = fourProcesses(kPerProcess, [&](int per) {
      LmxOpenToolkit(nullptr);
      Object *logger = fileLogger("bench.p2", "lmx_multiproc_filehandler", name);
      for (int n = 0; n < per; ++n) LmxLogInfo(logger, nullptr, 0, 0, kText, 0);
      LmxReleaseObject(logger);
      LmxCloseToolkit();
    });
  }
  state.counters["records/s"] = gRate["lumex4"];
}
BENCHMARK(P2_Lumex_MultiProcFileHandler)->Iterations(1)->UseRealTime();

void ratio(const char *what, const char *a, const char *b, double goal) {
  if (gRate.count(a) == 0 || gRate.count(b) == 0) {
    std::printf("%-40s not measured\n", what);
    return;
  }
  double r = gRate[a] / gRate[b];
  std::printf("%-40s %6.2f  (goal >= %.1f%s)\n", what, r, goal, r >= goal ? "" : ", MISSED");
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\nratios (records per second, same run)\n");
  ratio("P1 lumex / floor (stat + write)", "lumex", "floor", 0.8);
  ratio("P1 lumex / log4cxx (immediate flush)", "lumex", "log4cxx", 1.0);
  ratio("P1 lumex / spdlog (flush every record)", "lumex", "spdlog", 0.0);
  ratio("P2 lumex / floor (flock + fstat + write)", "lumex4", "floor4", 0.7);
  return 0;
}
