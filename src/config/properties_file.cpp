// Reading properties files into a property list or into the log manager,
// and the one message the reader prints itself.
#include <cstdio>
#include <cstring>

#include "collections/collections_intl.h"
#include "config/log_mgr.h"
#include "cx/prop_reader.h"
#include "messages/i18msg.h"
#include "messages/msg_table.h"

namespace {

// Message 52 of the toolkit's catalog with the key as its parameter,
// printed to standard error in the local code set and ended by a line feed.
void printBadEscape(void *, const char *key) {
  lmx::printTableMsgToStderr(lmx::MsgKey::BadPropertyEscape, key);
}

void reportStatus(void *, CxStatus status) { LmxReportPlatformErr(status); }

bool storeInList(void *list, const char *key, const char *value) {
  return CxPropListPutStr(static_cast<CxPropList *>(list), key, value) != 0;
}

bool storeInLogMgr(void *, const char *key, const char *value) {
  return lmx::storeFilePair(key, value);
}

}  // namespace

bool lmx::storeFilePair(const char *key, const char *value) {
  const char *dot = key != nullptr ? std::strrchr(key, '.') : nullptr;
  if (dot == nullptr) return false;
  size_t length = static_cast<size_t>(dot - key);
  char *config = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(length + 1)));
  if (config == nullptr) return false;
  std::memcpy(config, key, length);
  config[length] = '\0';
  bool stored = lmxLogMgrAddCfgFromFile(config, dot + 1, value) != 0;
  BasMemoryFree(config);
  return stored;
}

extern "C" {

unsigned char CxPropListRead(const char *path, CxPropList *list) {
  if (list == nullptr) return 0;
  return cx::readPropsFile(path, cx::PropSink{list, storeInList, printBadEscape, reportStatus});
}

unsigned char lmxDoReadProps(const char *path, CxPropList *list) {
  if (list != nullptr) return CxPropListRead(path, list);
  return cx::readPropsFile(path,
                           cx::PropSink{nullptr, storeInLogMgr, printBadEscape, reportStatus});
}

}  // extern "C"
