// The log manager: the toolkit-wide registry of configurations.
//
// Life cycle (called by the toolkit's open and close, with the API lock
// held):
//   lmxInitLogMgr()  makes the registry (its configuration map and its
//                    list of names in registration order); does nothing
//                    when it already exists. Until then registering does
//                    nothing and lmxIntlLogMgrGetCfg hands out unregistered
//                    configurations.
//   lmxCloseLogMgr() frees the registry, giving back its reference to every
//                    registered configuration; does nothing when there is
//                    none. The manager can be initialized again afterwards.
// Reading the toolkit's properties file at open: lmxDoReadProps(path,
// nullptr). On false the opener prints message 51 with the path.
#pragma once

#include "lumex/config.h"
#include "lumex/cx.h"

extern "C" {
LMX_API void lmxInitLogMgr(void);
LMX_API void lmxCloseLogMgr(void);

LMX_API void lmxIntlLogMgrAddCfg(ObjCfg *cfg);
LMX_API void lmxIntlLogMgrRemCfg(ObjCfg *cfg);
LMX_API ObjCfg *lmxIntlLogMgrGetCfg(const char *name);
LMX_API unsigned char lmxIntlLogMgrHasCfg(const char *name);

// The parent name of cfg: its stored parent name, else the nearest
// registered dotted prefix of its name (then stored as its parent name),
// else "/". A new text; null for a null cfg or when memory runs out.
LMX_API char *lmxLogMgrGetParentConfigName(ObjCfg *cfg);
// Stores one pair read from a properties file: property `property` of the
// configuration `config`, registering the configuration (marked as made
// from a file) when it is new. False for a null or empty name, "/", or when
// the configuration cannot be made.
LMX_API unsigned char lmxLogMgrAddCfgFromFile(const char *config, const char *property,
                                              const char *value);
// Reads a properties file into the list, or with a null list into the log
// manager (each key split at its last dot into configuration and property
// name; a key without a dot fails the read). True when read without error.
LMX_API unsigned char lmxDoReadProps(const char *path, CxPropList *list);
}

namespace lmx {

// The log manager's store step for one pair of a properties file: the key
// split at its last dot into configuration and property name. False for a
// key without a dot and wherever lmxLogMgrAddCfgFromFile fails.
bool storeFilePair(const char *key, const char *value);

}  // namespace lmx
