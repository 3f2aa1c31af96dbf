// Properties files are written by users: the reader must take any bytes,
// into a property list and into the log manager, whose tree of parent names
// must then answer lookups and survive removals without looping.
#include "config/log_mgr.h"
#include "config/obj_cfg.h"
#include "cx/cx_intl.h"
#include "cx/prop_reader.h"
#include "fuzz_common.h"
#include "lumex/collections.h"

static bool intoList(void *list, const char *key, const char *value) {
  return CxPropListPutStr(static_cast<CxPropList *>(list), key, value) != 0;
}
static bool intoLogMgr(void *, const char *k, const char *v) { return lmx::storeFilePair(k, v); }

// Bad escapes and platform failures are dropped: the output stays readable.
static void count(void *, const char *) {}
static void countStatus(void *, CxStatus) {}

static void checkList(const CxPropList &list) {
  fuzz::require(list.count >= 0 && (list.count == 0 || list.count < list.capacity));
  for (int32_t i = 0; i < list.count; ++i) {
    const CxPropEntry &e = list.entries[i];
    fuzz::require(e.key != nullptr && e.value != nullptr);
    fuzz::require(cxPropListFindKey(&list, e.key) == i);  // keys are unique
  }
}

FUZZ_TARGET(in) {
  // Byte by byte into a list.
  CxPropList list{};
  {
    cx::PropParser parser(cx::PropSink{&list, intoList, count, countStatus});
    bool failed = false;
    for (size_t i = 0; i < in.n && !failed; ++i) failed = !parser.feed(in.p[i]);
    if (!failed) parser.finish();
  }
  checkList(list);

  // The same bytes from a real file: the same pairs.
  const std::string path = fuzz::scratchFile("props", in);
  fuzz::require(!path.empty());
  CxPropList fromFile{};
  cx::readPropsFile(path.c_str(), cx::PropSink{&fromFile, intoList, count, countStatus});
  fuzz::require(fromFile.count == list.count);
  for (int32_t i = 0; i < list.count; ++i) {
    fuzz::require(std::strcmp(list.entries[i].key, fromFile.entries[i].key) == 0 &&
                  std::strcmp(list.entries[i].value, fromFile.entries[i].value) == 0);
  }
  CxPropListDiscard(&fromFile);

  // Into the log manager; then look every stored property up through the tree,
  // tie two configurations into a loop, and remove every other one. No
  // configuration holds the probe's property, unless the input defines it.
  const char *const kAbsent = "\x01none";
  bool absentDefined = false;
  for (int32_t i = 0; i < list.count; ++i) {
    const char *dot = std::strrchr(list.entries[i].key, '.');
    absentDefined |= std::strcmp(dot != nullptr ? dot + 1 : list.entries[i].key, kAbsent) == 0;
  }
  lmxInitLogMgr();
  cx::readPropsFile(path.c_str(), cx::PropSink{nullptr, intoLogMgr, count, countStatus});
  unlink(path.c_str());
  for (int32_t i = 0; i < list.count; ++i) {
    const char *key = list.entries[i].key;
    const char *dot = std::strrchr(key, '.');
    if (dot == nullptr || dot == key) continue;
    ObjCfg *cfg = lmxIntlLogMgrGetCfg(std::string(key, static_cast<size_t>(dot - key)).c_str());
    unsigned char found = 0;
    BasMemoryFree(lmxIntlGetInheritedObjCfgProp(cfg, dot + 1, &found));
    char *missing = lmxIntlGetInheritedObjCfgProp(cfg, kAbsent, &found);
    fuzz::require(absentDefined || (missing == nullptr && !found));
    BasMemoryFree(missing);
    if (i > 0) {
      ObjCfg *first = lmxIntlLogMgrGetCfg(
          std::string(list.entries[0].key, std::strcspn(list.entries[0].key, ".")).c_str());
      lmxIntlObjCfgSetParent(first, cfg);
      lmxIntlObjCfgSetParent(cfg, first);
      BasMemoryFree(lmxIntlGetInheritedObjCfgProp(first, kAbsent, &found));
      lmxIntlReleaseObjCfg(first);
    }
    if (i % 2 == 1) lmxIntlLogMgrRemCfg(cfg);
    lmxIntlReleaseObjCfg(cfg);
  }
  lmxCloseLogMgr();
  CxPropListDiscard(&list);
}
