// Properties files are written by users: the reader must take any bytes,
// into a property list and into the log manager, whose tree of parent names
// must then answer lookups and survive removals without looping.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cx/cx_intl.h"
#include "config/log_mgr.h"
#include "config/obj_cfg.h"
#include "cx/prop_reader.h"
#include "lumex/collections.h"

namespace {

bool intoList(void *list, const char *key, const char *value) {
  return CxPropListPutStr(static_cast<CxPropList *>(list), key, value) != 0;
}
bool intoLogMgr(void *, const char *key, const char *value) {
  return lmx::storeFilePair(key, value);
}

// Bad escapes and platform failures are only counted: the fuzzer's own
// output stays readable.
int gReports = 0;
void count(void *, const char *) { ++gReports; }
void countStatus(void *, CxStatus) { ++gReports; }

const std::string &scratchFile() {
  static const std::string path = [] {
    char tmpl[] = "/tmp/lmxfuzzprops.XXXXXX";
    int fd = mkstemp(tmpl);
    if (fd >= 0) close(fd);
    return std::string(tmpl);
  }();
  return path;
}

void checkList(const CxPropList &list) {
  if (list.count < 0 || (list.count > 0 && list.count >= list.capacity)) __builtin_trap();
  for (int32_t i = 0; i < list.count; ++i) {
    const CxPropEntry &e = list.entries[i];
    if (e.key == nullptr || e.value == nullptr) __builtin_trap();
    if (cxPropListFindKey(&list, e.key) != i) __builtin_trap();  // keys are unique
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // Byte by byte into a list.
  CxPropList list{};
  {
    cx::PropParser parser(cx::PropSink{&list, intoList, count, countStatus});
    bool failed = false;
    for (size_t i = 0; i < size && !failed; ++i) failed = !parser.feed(data[i]);
    if (!failed) parser.finish();
  }
  checkList(list);

  // The same bytes from a real file: the same pairs.
  FILE *f = std::fopen(scratchFile().c_str(), "wb");
  if (f == nullptr) __builtin_trap();
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  CxPropList fromFile{};
  cx::readPropsFile(scratchFile().c_str(), cx::PropSink{&fromFile, intoList, count, countStatus});
  if (fromFile.count != list.count) __builtin_trap();
  for (int32_t i = 0; i < list.count; ++i) {
    if (std::strcmp(list.entries[i].key, fromFile.entries[i].key) != 0 ||
        std::strcmp(list.entries[i].value, fromFile.entries[i].value) != 0) {
      __builtin_trap();
    }
  }
  CxPropListDiscard(&fromFile);

  // Into the log manager; then look every stored property up through the
  // tree, tie two configurations into a loop, and remove every other one.
  // The probe for a property that no configuration holds, unless the input
  // itself defines a property of that name.
  const char *const kAbsent = "\x01none";
  bool absentDefined = false;
  for (int32_t i = 0; i < list.count; ++i) {
    const char *dot = std::strrchr(list.entries[i].key, '.');
    absentDefined |= std::strcmp(dot != nullptr ? dot + 1 : list.entries[i].key, kAbsent) == 0;
  }
  lmxInitLogMgr();
  cx::readPropsFile(scratchFile().c_str(), cx::PropSink{nullptr, intoLogMgr, count, countStatus});
  for (int32_t i = 0; i < list.count; ++i) {
    const char *key = list.entries[i].key;
    const char *dot = std::strrchr(key, '.');
    if (dot == nullptr || dot == key) continue;
    std::string cfgName(key, static_cast<size_t>(dot - key));
    ObjCfg *cfg = lmxIntlLogMgrGetCfg(cfgName.c_str());
    unsigned char found = 0;
    char *text = lmxIntlGetInheritedObjCfgProp(cfg, dot + 1, &found);
    BasMemoryFree(text);
    char *missing = lmxIntlGetInheritedObjCfgProp(cfg, kAbsent, &found);
    if (!absentDefined && (missing != nullptr || found)) __builtin_trap();
    BasMemoryFree(missing);
    if (i > 0) {
      ObjCfg *first = lmxIntlLogMgrGetCfg(
          std::string(list.entries[0].key, std::strcspn(list.entries[0].key, ".")).c_str());
      lmxIntlObjCfgSetParent(first, cfg);
      lmxIntlObjCfgSetParent(cfg, first);
      BasMemoryFree(lmxIntlGetInheritedObjCfgProp(first, "\x01none", &found));
      lmxIntlReleaseObjCfg(first);
    }
    if (i % 2 == 1) lmxIntlLogMgrRemCfg(cfg);
    lmxIntlReleaseObjCfg(cfg);
  }
  lmxCloseLogMgr();
  CxPropListDiscard(&list);
  return 0;
}
