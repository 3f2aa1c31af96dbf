// Runs a fuzz target without libFuzzer, for the ordinary and sanitizer test
// runs: every file of the corpus folder given, then a fixed batch of random inputs.
#include <dirent.h>

#include <fstream>
#include <iterator>
#include <random>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv) {
  size_t files = 0;
  DIR *d = argc > 1 ? opendir(argv[1]) : nullptr;
  while (dirent *e = d != nullptr ? readdir(d) : nullptr) {
    if (e->d_name[0] == '.') continue;
    std::ifstream in(std::string(argv[1]) + "/" + e->d_name, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++files;
  }
  if (d != nullptr) closedir(d);
  std::mt19937 rng(12345);
  for (int i = 0; i < 2000; ++i) {
    std::vector<uint8_t> bytes(rng() % 512);
    for (auto &b : bytes) b = static_cast<uint8_t>(rng());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu corpus files and 2000 generated inputs\n", files);
  return 0;
}
