// The syslog handler: records per second through the unix and tcp
// transports into a real rsyslogd started for the run, beside the file
// handler writing the same records in the same run. After each case the
// collector's output is read back to count what it received.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "../tests/syslog/rsyslogd.h"
#include "lumex/lumex.h"

namespace fs = std::filesystem;

namespace {

const char kText[] = "syslog handler benchmark record with a message text of seventy bytes";

std::map<std::string, double> gRate;  // log calls per second, by case

std::string scratch() {
  std::string tmpl = (fs::temp_directory_path() / "lmxsyslogbench.XXXXXX").string();
  return mkdtemp(tmpl.data()) != nullptr ? tmpl : "/tmp";
}

// One logger "bench" with one handler configured by `keys`, run for the
// benchmark's iterations; `delivered` counts what reached the destination.
void run(benchmark::State &state, const char *name, const std::string &dir,
         const std::string &keys, const std::function<size_t(size_t)> &delivered) {
  std::string path = dir + "/" + name + ".properties";
  std::ofstream(path) << "bench.className=lmx_basiclogger\nbench.listenerNames=out\n"
                         "out.formatterName=plain\nplain.className=lmx_basicformatter\n"
                      << keys;
  LmxOpenToolkit(path.c_str());
  Object *logger = LmxGetObject("bench", nullptr);
  size_t records = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    LmxLogInfo(logger, nullptr, 0, 0, kText, 0);
    ++records;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  LmxReleaseObject(logger);
  LmxCloseToolkit();
  state.SetItemsProcessed(static_cast<int64_t>(records));
  if (seconds > 0) gRate[name] = static_cast<double>(records) / seconds;
  state.counters["delivered"] =
      records == 0 ? 0.0 : static_cast<double>(delivered(records)) / static_cast<double>(records);
}

size_t lines(const std::string &text) {
  size_t n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

void File(benchmark::State &state) {
  std::string dir = scratch();
  run(state, "file", dir,
      "out.className=lmx_filehandler\nout.maxFileBytes=2000000000\nout.fileName=" + dir +
          "/bench.log\n",
      [&](size_t) {
        std::ifstream in(dir + "/bench.log");
        std::stringstream ss;
        ss << in.rdbuf();
        return lines(ss.str());
      });
  fs::remove_all(dir);
}
BENCHMARK(File);

void Syslog(benchmark::State &state, const char *name, const char *transport) {
  std::string dir = scratch();
  {
    test::Rsyslogd syslogd(dir + "/rsyslogd");
    if (!syslogd.start()) {
      state.SkipWithError("rsyslogd did not start (install the Debian package rsyslog)");
      fs::remove_all(dir);
      return;
    }
    std::string keys = std::string("out.className=lmx_sysloghandler\nout.transport=") +
                       transport + "\nout.socketPath=" + syslogd.socket() +
                       "\nout.host=127.0.0.1\nout.port=" + std::to_string(syslogd.tcpPort()) +
                       "\n";
    run(state, name, dir, keys, [&](size_t records) { return lines(syslogd.waitLines(records)); });
  }
  fs::remove_all(dir);
}
BENCHMARK_CAPTURE(Syslog, unix, "syslog_unix", "unix");
BENCHMARK_CAPTURE(Syslog, tcp, "syslog_tcp", "tcp");

void ratio(const char *what, const char *a, const char *b) {
  if (gRate.count(a) == 0 || gRate.count(b) == 0) {
    std::printf("%-36s not measured\n", what);
    return;
  }
  std::printf("%-36s %6.2f  (%.0f against %.0f records/s)\n", what, gRate[a] / gRate[b], gRate[a],
              gRate[b]);
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\nratios (log calls per second, same run)\n");
  ratio("syslog unix / file handler", "syslog_unix", "file");
  ratio("syslog tcp / file handler", "syslog_tcp", "file");
  return 0;
}
