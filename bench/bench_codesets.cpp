// ilx_to_utf8 and ilx_from_utf8 on about 1 MB of text, beside the C
// library's iconv converting the same text in the same run.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "lumex/ilx.h"

namespace {

constexpr size_t kTextBytes = 1 << 20;

struct Sample {
  const char *name;   // for ilx_cs_new
  const char *iconv;  // iconv's name of the same code set
  const char *utf8;   // a line of typical text, repeated
};

const Sample kSamples[] = {
    {"ISO-8859-1", "ISO-8859-1",
     "Le c\xC5\x93ur a ses raisons: caf\xC3\xA9, na\xC3\xAFve, gar\xC3\xA7on, \xC3\xA0 bient\xC3\xB4t! 42\n"},
    {"CP1252", "CP1252",
     "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x80\x93 \xE2\x80\x9Equoted\xE2\x80\x9C, 5 \xE2\x82\xAC, "
     "\xC3\xA9t\xC3\xA9 \xC3\xA0 Z\xC3\xBCrich.\n"},
    {"Shift_JIS", "CP932",
     "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88 "
     "log line 17: \xE6\x8E\xA5\xE7\xB6\x9A\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82\n"},
    {"GB18030", "GB18030",
     "\xE4\xB8\xAD\xE6\x96\x87\xE6\x97\xA5\xE5\xBF\x97 entry 42: \xE8\xBF\x9E\xE6\x8E\xA5\xE5\xB7\xB2"
     "\xE5\xBB\xBA\xE7\xAB\x8B\xEF\xBC\x8C\xE7\x94\xA8\xE6\x88\xB7 admin \xE7\x99\xBB\xE5\xBD\x95\xE3\x80\x82\n"},
    {"IBM1047", "IBM1047",
     "Record 00042: transfer of 1,250.00 completed (status=OK) at node SYS1.PROD; user IBMUSER. "},
};

std::string repeatTo(const std::string &line, size_t bytes) {
  std::string s;
  while (s.size() + line.size() <= bytes) s += line;
  return s;
}

std::string viaIconv(const char *to, const char *from, const std::string &in) {
  iconv_t cd = iconv_open(to, from);
  std::string out(in.size() * 4 + 16, '\0');
  char *ip = const_cast<char *>(in.data()), *op = &out[0];
  size_t il = in.size(), ol = out.size();
  iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

struct Texts {
  std::string utf8, native;
};
Texts textsFor(const Sample &s) {
  Texts t;
  t.native = repeatTo(viaIconv(s.iconv, "UTF-8", s.utf8), kTextBytes);
  t.utf8 = viaIconv("UTF-8", s.iconv, t.native);
  return t;
}

void lumexTo(benchmark::State &st, const Sample &s, bool toUtf8) {
  Texts t = textsFor(s);
  CodeSetT cs = ilx_cs_new(s.name);
  if (cs == nullptr) {
    st.SkipWithError("no table (set ILXDIR)");
    return;
  }
  const std::string &in = toUtf8 ? t.native : t.utf8;
  std::vector<char> out(in.size() * 3 + 1);
  int n = 0;
  for (auto _ : st) {
    n = toUtf8 ? ilx_to_utf8(cs, in.data(), static_cast<int>(in.size()), out.data(),
                             static_cast<int>(out.size()))
               : ilx_from_utf8(cs, in.data(), static_cast<int>(in.size()), out.data(),
                               static_cast<int>(out.size()));
    benchmark::DoNotOptimize(out.data());
  }
  if (std::string(out.data(), n) != (toUtf8 ? t.utf8 : t.native)) st.SkipWithError("output differs");
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(in.size()));
  ilx_cs_free(cs);
}

void iconvTo(benchmark::State &st, const Sample &s, bool toUtf8) {
  Texts t = textsFor(s);
  iconv_t cd = toUtf8 ? iconv_open("UTF-8", s.iconv) : iconv_open(s.iconv, "UTF-8");
  const std::string &in = toUtf8 ? t.native : t.utf8;
  std::vector<char> out(in.size() * 3 + 1);
  size_t made = 0;
  for (auto _ : st) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *ip = const_cast<char *>(in.data()), *op = out.data();
    size_t il = in.size(), ol = out.size();
    iconv(cd, &ip, &il, &op, &ol);
    made = out.size() - ol;
    benchmark::DoNotOptimize(out.data());
  }
  if (std::string(out.data(), made) != (toUtf8 ? t.utf8 : t.native)) st.SkipWithError("output differs");
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(in.size()));
  iconv_close(cd);
}

int registerAll() {
  for (const Sample &s : kSamples) {
    for (bool toUtf8 : {true, false}) {
      std::string dir = toUtf8 ? "/to_utf8" : "/from_utf8";
      benchmark::RegisterBenchmark(("lumex/" + std::string(s.iconv) + dir).c_str(),
                                   [&s, toUtf8](benchmark::State &st) { lumexTo(st, s, toUtf8); })
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("iconv/" + std::string(s.iconv) + dir).c_str(),
                                   [&s, toUtf8](benchmark::State &st) { iconvTo(st, s, toUtf8); })
          ->Unit(benchmark::kMicrosecond);
    }
  }
  return 0;
}
const int kRegistered = registerAll();

}  // namespace
