// Unlocked forms of the collection operations, for code that already holds
// the API lock (every operation here is exported). The locked Lmx forms in
// lumex/collections.h do exactly the same under the lock.
#pragma once

#include "lumex/collections.h"
#include "lumex/messages.h"

extern "C" {

LMX_API StringList *lmxIntlAllocStringList(void);
LMX_API StringList *lmxIntlCopyStringList(const StringList *list);
LMX_API void lmxIntlFreeStringList(StringList *list);
LMX_API unsigned char lmxIntlStringListAppend(StringList *list, const char *text);
LMX_API LmxLink *lmxIntlStringListIterator(const StringList *list);
LMX_API LmxLink *lmxIntlStringListIterNext(const LmxLink *node);
LMX_API unsigned char lmxIntlStringListIterHasNext(const LmxLink *node);
LMX_API char *lmxIntlStringListIterGet(const LmxLink *node);
LMX_API LmxLink *lmxIntlStringListIterRem(LmxLink *node);

LMX_API ParmList *lmxIntlAllocParmList(void);
LMX_API ParmList *lmxIntlCopyParmList(const ParmList *list);
LMX_API void lmxIntlFreeParmList(ParmList *list);
LMX_API unsigned char lmxIntlParmListAppend(ParmList *list, const Parm *parm);
LMX_API LmxLink *lmxIntlParmListIterator(const ParmList *list);
LMX_API LmxLink *lmxIntlParmListIterNext(const LmxLink *node);
LMX_API unsigned char lmxIntlParmListIterHasNext(const LmxLink *node);
LMX_API Parm *lmxIntlParmListIterGet(const LmxLink *node);
LMX_API LmxLink *lmxIntlParmListIterRem(LmxLink *node);

LMX_API StringGroup *lmxIntlAllocStringGroup(void);
LMX_API void lmxIntlFreeStringGroup(StringGroup *group);
LMX_API unsigned char lmxIntlStringGroupAdd(StringGroup *group, const char *text);
LMX_API unsigned char lmxIntlStringGroupRem(StringGroup *group, const char *text);
LMX_API LmxLink *lmxIntlStringGroupIterator(const StringGroup *group);
LMX_API LmxLink *lmxIntlStringGroupIterNext(const LmxLink *node);
LMX_API unsigned char lmxIntlStringGroupIterHasNext(const LmxLink *node);
LMX_API char *lmxIntlStringGroupIterGet(const LmxLink *node);
LMX_API LmxLink *lmxIntlStringGroupIterRem(LmxLink *node);

LMX_API ListenerGroup *lmxIntlAllocListenerGroup(void);
LMX_API void lmxIntlFreeListenerGroup(ListenerGroup *group);
LMX_API unsigned char lmxIntlListenerGroupAdd(ListenerGroup *group, Object *object);
LMX_API unsigned char lmxIntlListenerGroupRem(ListenerGroup *group, Object *object);
LMX_API LmxLink *lmxIntlListenerGroupIterator(const ListenerGroup *group);
LMX_API LmxLink *lmxIntlListenerGroupIterNext(const LmxLink *node);
LMX_API unsigned char lmxIntlListenerGroupIterHasNext(const LmxLink *node);
LMX_API Object *lmxIntlListenerGroupIterGet(const LmxLink *node);
LMX_API LmxLink *lmxIntlListenerGroupIterRem(LmxLink *node);

// Each map family has the same operations; GetNode (the entry of a key, or
// null) takes no lock, and RemNode unlinks and frees an entry as Rem does,
// leaving an entry of another map alone.
LMX_API StringToObjMap *lmxIntlAllocStringToObjMap(void);
LMX_API StringToObjMap *lmxIntlCopyStringToObjMap(const StringToObjMap *map);
LMX_API void lmxIntlFreeStringToObjMap(StringToObjMap *map);
LMX_API unsigned char lmxIntlStringToObjMapPut(StringToObjMap *map, const char *key, Object *value);
LMX_API Object *lmxIntlStringToObjMapGet(const StringToObjMap *map, const char *key);
LMX_API void lmxIntlStringToObjMapRem(StringToObjMap *map, const char *key);
LMX_API unsigned char lmxIntlStringToObjMapHasKey(const StringToObjMap *map, const char *key);
LMX_API LmxLink *lmxIntlStringToObjMapIterator(const StringToObjMap *map);
LMX_API LmxLink *lmxIntlStringToObjMapIterNext(const LmxLink *entry);
LMX_API unsigned char lmxIntlStringToObjMapIterHasNext(const LmxLink *entry);
LMX_API char *lmxIntlStringToObjMapIterGetKey(const LmxLink *entry);
LMX_API Object *lmxIntlStringToObjMapIterGetVal(const LmxLink *entry);
LMX_API LmxLink *lmxIntlStringToObjMapGetNode(const StringToObjMap *map, const char *key);
LMX_API void lmxIntlStringToObjMapRemNode(StringToObjMap *map, LmxLink *entry);

LMX_API StringToObjCfgMap *lmxIntlAllocStringToObjCfgMap(void);
LMX_API StringToObjCfgMap *lmxIntlCopyStringToObjCfgMap(const StringToObjCfgMap *map);
LMX_API void lmxIntlFreeStringToObjCfgMap(StringToObjCfgMap *map);
LMX_API unsigned char lmxIntlStringToObjCfgMapPut(StringToObjCfgMap *map, const char *key,
                                                  ObjCfg *value);
LMX_API ObjCfg *lmxIntlStringToObjCfgMapGet(const StringToObjCfgMap *map, const char *key);
LMX_API void lmxIntlStringToObjCfgMapRem(StringToObjCfgMap *map, const char *key);
LMX_API unsigned char lmxIntlStringToObjCfgMapHasKey(const StringToObjCfgMap *map, const char *key);
LMX_API LmxLink *lmxIntlStringToObjCfgMapIterator(const StringToObjCfgMap *map);
LMX_API LmxLink *lmxIntlStringToObjCfgMapIterNext(const LmxLink *entry);
LMX_API unsigned char lmxIntlStringToObjCfgMapIterHasNext(const LmxLink *entry);
LMX_API char *lmxIntlStringToObjCfgMapIterGetKey(const LmxLink *entry);
LMX_API ObjCfg *lmxIntlStringToObjCfgMapIterGetVal(const LmxLink *entry);
LMX_API LmxLink *lmxIntlStringToObjCfgMapGetNode(const StringToObjCfgMap *map, const char *key);
LMX_API void lmxIntlStringToObjCfgMapRemNode(StringToObjCfgMap *map, LmxLink *entry);

LMX_API StringToObjClassMap *lmxIntlAllocStringToObjClassMap(void);
LMX_API StringToObjClassMap *lmxIntlCopyStringToObjClassMap(const StringToObjClassMap *map);
LMX_API void lmxIntlFreeStringToObjClassMap(StringToObjClassMap *map);
LMX_API unsigned char lmxIntlStringToObjClassMapPut(StringToObjClassMap *map, const char *key,
                                                    ObjClass *value);
LMX_API ObjClass *lmxIntlStringToObjClassMapGet(const StringToObjClassMap *map, const char *key);
LMX_API void lmxIntlStringToObjClassMapRem(StringToObjClassMap *map, const char *key);
LMX_API unsigned char lmxIntlStringToObjClassMapHasKey(const StringToObjClassMap *map,
                                                       const char *key);
LMX_API LmxLink *lmxIntlStringToObjClassMapIterator(const StringToObjClassMap *map);
LMX_API LmxLink *lmxIntlStringToObjClassMapIterNext(const LmxLink *entry);
LMX_API unsigned char lmxIntlStringToObjClassMapIterHasNext(const LmxLink *entry);
LMX_API char *lmxIntlStringToObjClassMapIterGetKey(const LmxLink *entry);
LMX_API ObjClass *lmxIntlStringToObjClassMapIterGetVal(const LmxLink *entry);
LMX_API LmxLink *lmxIntlStringToObjClassMapGetNode(const StringToObjClassMap *map, const char *key);
LMX_API void lmxIntlStringToObjClassMapRemNode(StringToObjClassMap *map, LmxLink *entry);

LMX_API StringToStringMap *lmxIntlAllocStringToStringMap(void);
LMX_API StringToStringMap *lmxIntlCopyStringToStringMap(const StringToStringMap *map);
LMX_API void lmxIntlFreeStringToStringMap(StringToStringMap *map);
LMX_API unsigned char lmxIntlStringToStringMapPut(StringToStringMap *map, const char *key,
                                                  const char *value);
LMX_API char *lmxIntlStringToStringMapGet(const StringToStringMap *map, const char *key);
LMX_API void lmxIntlStringToStringMapRem(StringToStringMap *map, const char *key);
LMX_API unsigned char lmxIntlStringToStringMapHasKey(const StringToStringMap *map, const char *key);
LMX_API LmxLink *lmxIntlStringToStringMapIterator(const StringToStringMap *map);
LMX_API LmxLink *lmxIntlStringToStringMapIterNext(const LmxLink *entry);
LMX_API unsigned char lmxIntlStringToStringMapIterHasNext(const LmxLink *entry);
LMX_API char *lmxIntlStringToStringMapIterGetKey(const LmxLink *entry);
LMX_API char *lmxIntlStringToStringMapIterGetVal(const LmxLink *entry);
LMX_API LmxLink *lmxIntlStringToStringMapGetNode(const StringToStringMap *map, const char *key);
LMX_API void lmxIntlStringToStringMapRemNode(StringToStringMap *map, LmxLink *entry);

}  // extern "C"
