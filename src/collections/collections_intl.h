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
#define LMX_DECLARE_INTL_MAP_FAMILY(Map, In, Out)                                   \
  LMX_API Map *lmxIntlAlloc##Map(void);                                              \
  LMX_API Map *lmxIntlCopy##Map(const Map *map);                                     \
  LMX_API void lmxIntlFree##Map(Map *map);                                           \
  LMX_API unsigned char lmxIntl##Map##Put(Map *map, const char *key, In value);      \
  LMX_API Out lmxIntl##Map##Get(const Map *map, const char *key);                    \
  LMX_API void lmxIntl##Map##Rem(Map *map, const char *key);                         \
  LMX_API unsigned char lmxIntl##Map##HasKey(const Map *map, const char *key);       \
  LMX_API LmxLink *lmxIntl##Map##Iterator(const Map *map);                           \
  LMX_API LmxLink *lmxIntl##Map##IterNext(const LmxLink *entry);                     \
  LMX_API unsigned char lmxIntl##Map##IterHasNext(const LmxLink *entry);             \
  LMX_API char *lmxIntl##Map##IterGetKey(const LmxLink *entry);                      \
  LMX_API Out lmxIntl##Map##IterGetVal(const LmxLink *entry);                        \
  LMX_API LmxLink *lmxIntl##Map##GetNode(const Map *map, const char *key);           \
  LMX_API void lmxIntl##Map##RemNode(Map *map, LmxLink *entry);

LMX_DECLARE_INTL_MAP_FAMILY(StringToObjMap, Object *, Object *)
LMX_DECLARE_INTL_MAP_FAMILY(StringToObjCfgMap, ObjCfg *, ObjCfg *)
LMX_DECLARE_INTL_MAP_FAMILY(StringToObjClassMap, ObjClass *, ObjClass *)
LMX_DECLARE_INTL_MAP_FAMILY(StringToStringMap, const char *, char *)

}  // extern "C"
