/* Collections: lists, groups, string-keyed maps and iterators. */
#ifndef LUMEX_COLLECTIONS_H
#define LUMEX_COLLECTIONS_H

#include <stdint.h>

#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* Opaque toolkit records: objects, their classes and their configurations
 * (core.h and config.h hold their operations); collections hold them by
 * pointer. */
typedef struct Object Object;
typedef struct ObjClass ObjClass;
typedef struct ObjCfg ObjCfg;

/* ------------------------------------------------------------------------
 * Lists, groups and iterators
 * ------------------------------------------------------------------------ */

/* A position in a list, group or map: one of its nodes or entries. A walk
 * starts with ...Iterator, tests ...IterHasNext, reads the current position
 * and steps with ...IterNext (or removes it with ...IterRem, which returns
 * the position to continue with). A position stays valid only while nobody
 * removes it. The iterator, step, test and text-reading operations are one
 * operation each, shared by every list, group and map type. */
typedef struct LmxLink LmxLink;

struct Parm;

/* Ordered lists that allow duplicates, count their items and can be
 * indexed and sorted. */
typedef struct StringList StringList;
typedef struct ParmList ParmList;
/* Insertion-ordered sets without duplicates. A group handle is
 * interchangeable with a map handle (see the map allocation below). */
typedef struct StringGroup StringGroup;
typedef struct ListenerGroup ListenerGroup;

/* Sort comparison: receives references to two item references (for a
 * StringList two `const char **`, for a ParmList two `const Parm **`) and
 * answers negative, zero or positive as for qsort. */
typedef int (*LmxItemCompare)(const void *a, const void *b);

/* StringList: items are owned copies of texts. */
LMX_API StringList *LmxAllocStringList(void);
LMX_API StringList *LmxCopyStringList(const StringList *list);
LMX_API void LmxFreeStringList(StringList *list);
LMX_API unsigned char LmxStringListAppend(StringList *list, const char *text);
LMX_API LmxLink *LmxStringListIterator(const StringList *list);
LMX_API LmxLink *LmxStringListIterNext(const LmxLink *node);
LMX_API unsigned char LmxStringListIterHasNext(const LmxLink *node);
/* A copy of the node's text (the caller frees it), or null. */
LMX_API char *LmxStringListIterGet(const LmxLink *node);
/* Removes the node and returns the one after it. */
LMX_API LmxLink *LmxStringListIterRem(LmxLink *node);
/* These four take no lock. GetIndex hands out the list's own item. */
LMX_API LmxLink *LmxStringListGetLink(const StringList *list, const char *text);
LMX_API void LmxStringListRemLink(StringList *list, LmxLink *node);
LMX_API const char *LmxStringListGetIndex(const StringList *list, int32_t index);
LMX_API void LmxSortStringList(StringList *list, LmxItemCompare compare);

/* ParmList: items are owned copies of parameters (LmxCopyParm). */
LMX_API ParmList *LmxAllocParmList(void);
LMX_API ParmList *LmxCopyParmList(const ParmList *list);
LMX_API void LmxFreeParmList(ParmList *list);
LMX_API unsigned char LmxParmListAppend(ParmList *list, const struct Parm *parm);
LMX_API LmxLink *LmxParmListIterator(const ParmList *list);
LMX_API LmxLink *LmxParmListIterNext(const LmxLink *node);
LMX_API unsigned char LmxParmListIterHasNext(const LmxLink *node);
/* A copy of the node's parameter (free it with LmxFreeParm), or null. */
LMX_API struct Parm *LmxParmListIterGet(const LmxLink *node);
LMX_API LmxLink *LmxParmListIterRem(LmxLink *node);
LMX_API LmxLink *LmxParmListGetLink(const ParmList *list, const struct Parm *parm);
LMX_API void LmxParmListRemLink(ParmList *list, LmxLink *node);
LMX_API const struct Parm *LmxParmListGetIndex(const ParmList *list, int32_t index);
LMX_API void LmxSortParmList(ParmList *list, LmxItemCompare compare);

/* StringGroup: texts compared with case, each held once. */
LMX_API StringGroup *LmxAllocStringGroup(void);
LMX_API void LmxFreeStringGroup(StringGroup *group);
LMX_API unsigned char LmxStringGroupAdd(StringGroup *group, const char *text);
LMX_API unsigned char LmxStringGroupRem(StringGroup *group, const char *text);
LMX_API LmxLink *LmxStringGroupIterator(const StringGroup *group);
LMX_API LmxLink *LmxStringGroupIterNext(const LmxLink *node);
LMX_API unsigned char LmxStringGroupIterHasNext(const LmxLink *node);
LMX_API char *LmxStringGroupIterGet(const LmxLink *node);
LMX_API LmxLink *LmxStringGroupIterRem(LmxLink *node);
LMX_API LmxLink *LmxStringGroupGetLink(const StringGroup *group, const char *text);

/* ListenerGroup: counted references to objects, compared by identity. Add
 * takes a reference; Rem, IterRem and free give it back; IterGet hands out
 * a new reference that the caller releases. */
LMX_API ListenerGroup *LmxAllocListenerGroup(void);
LMX_API void LmxFreeListenerGroup(ListenerGroup *group);
LMX_API unsigned char LmxListenerGroupAdd(ListenerGroup *group, Object *object);
LMX_API unsigned char LmxListenerGroupRem(ListenerGroup *group, Object *object);
LMX_API LmxLink *LmxListenerGroupIterator(const ListenerGroup *group);
LMX_API LmxLink *LmxListenerGroupIterNext(const LmxLink *node);
LMX_API unsigned char LmxListenerGroupIterHasNext(const LmxLink *node);
LMX_API Object *LmxListenerGroupIterGet(const LmxLink *node);
LMX_API LmxLink *LmxListenerGroupIterRem(LmxLink *node);
LMX_API LmxLink *LmxListenerGroupGetLink(const ListenerGroup *group, const Object *object);

/* Token iterator over a text: runs of separators count as one; with null or
 * empty separators the text is walked one character at a time. Passed and
 * returned by value; takes no lock. */
typedef struct LmxStrTokIter {
  const char *pos;        /* current position in the text, or null */
  const char *separators; /* separator characters, or null */
} LmxStrTokIter;

LMX_API LmxStrTokIter LmxStrTokIterator(const char *text, const char *separators);
LMX_API unsigned char LmxStrTokIterHasNext(LmxStrTokIter it);
/* The current token as a new text, or null. */
LMX_API char *LmxStrTokIterGet(LmxStrTokIter it);
LMX_API LmxStrTokIter LmxStrTokIterNext(LmxStrTokIter it);

/* Joins the non-null texts among the first count entries, with the
 * separator (if any) between consecutive ones. A new text; an empty one for
 * count < 1; null only when memory runs out. */
LMX_API char *LmxStrACat(int32_t count, const char *const *texts, const char *separator);

/* ------------------------------------------------------------------------
 * String-keyed maps
 * ------------------------------------------------------------------------ */

/* Insertion-ordered maps with case-sensitive text keys. Every family has
 * the same operations; they differ in how a value is held:
 *   StringToObjMap      counted object references (Get hands out a new
 *                       reference that the caller releases)
 *   StringToObjCfgMap   counted configuration references (likewise)
 *   StringToObjClassMap classes stored as they are, not counted
 *   StringToStringMap   owned copies of texts (Get hands out a new copy)
 * A null value is stored as null. The six allocation operations of maps
 * and groups are one operation: their handles are interchangeable. */
typedef struct StringToObjMap StringToObjMap;
typedef struct StringToObjCfgMap StringToObjCfgMap;
typedef struct StringToObjClassMap StringToObjClassMap;
typedef struct StringToStringMap StringToStringMap;

LMX_API StringToObjMap *LmxAllocStringToObjMap(void);
LMX_API StringToObjMap *LmxCopyStringToObjMap(const StringToObjMap *map);
LMX_API void LmxFreeStringToObjMap(StringToObjMap *map);
LMX_API unsigned char LmxStringToObjMapPut(StringToObjMap *map, const char *key, Object *value);
LMX_API Object *LmxStringToObjMapGet(const StringToObjMap *map, const char *key);
LMX_API void LmxStringToObjMapRem(StringToObjMap *map, const char *key);
LMX_API unsigned char LmxStringToObjMapHasKey(const StringToObjMap *map, const char *key);
LMX_API LmxLink *LmxStringToObjMapIterator(const StringToObjMap *map);
LMX_API LmxLink *LmxStringToObjMapIterNext(const LmxLink *entry);
LMX_API unsigned char LmxStringToObjMapIterHasNext(const LmxLink *entry);
LMX_API char *LmxStringToObjMapIterGetKey(const LmxLink *entry);
LMX_API Object *LmxStringToObjMapIterGetVal(const LmxLink *entry);

LMX_API StringToObjCfgMap *LmxAllocStringToObjCfgMap(void);
LMX_API StringToObjCfgMap *LmxCopyStringToObjCfgMap(const StringToObjCfgMap *map);
LMX_API void LmxFreeStringToObjCfgMap(StringToObjCfgMap *map);
LMX_API unsigned char LmxStringToObjCfgMapPut(StringToObjCfgMap *map, const char *key, ObjCfg *value);
LMX_API ObjCfg *LmxStringToObjCfgMapGet(const StringToObjCfgMap *map, const char *key);
LMX_API void LmxStringToObjCfgMapRem(StringToObjCfgMap *map, const char *key);
LMX_API unsigned char LmxStringToObjCfgMapHasKey(const StringToObjCfgMap *map, const char *key);
LMX_API LmxLink *LmxStringToObjCfgMapIterator(const StringToObjCfgMap *map);
LMX_API LmxLink *LmxStringToObjCfgMapIterNext(const LmxLink *entry);
LMX_API unsigned char LmxStringToObjCfgMapIterHasNext(const LmxLink *entry);
LMX_API char *LmxStringToObjCfgMapIterGetKey(const LmxLink *entry);
LMX_API ObjCfg *LmxStringToObjCfgMapIterGetVal(const LmxLink *entry);

LMX_API StringToObjClassMap *LmxAllocStringToObjClassMap(void);
LMX_API StringToObjClassMap *LmxCopyStringToObjClassMap(const StringToObjClassMap *map);
LMX_API void LmxFreeStringToObjClassMap(StringToObjClassMap *map);
LMX_API unsigned char LmxStringToObjClassMapPut(StringToObjClassMap *map, const char *key, ObjClass *value);
LMX_API ObjClass *LmxStringToObjClassMapGet(const StringToObjClassMap *map, const char *key);
LMX_API void LmxStringToObjClassMapRem(StringToObjClassMap *map, const char *key);
LMX_API unsigned char LmxStringToObjClassMapHasKey(const StringToObjClassMap *map, const char *key);
LMX_API LmxLink *LmxStringToObjClassMapIterator(const StringToObjClassMap *map);
LMX_API LmxLink *LmxStringToObjClassMapIterNext(const LmxLink *entry);
LMX_API unsigned char LmxStringToObjClassMapIterHasNext(const LmxLink *entry);
LMX_API char *LmxStringToObjClassMapIterGetKey(const LmxLink *entry);
LMX_API ObjClass *LmxStringToObjClassMapIterGetVal(const LmxLink *entry);

LMX_API StringToStringMap *LmxAllocStringToStringMap(void);
LMX_API StringToStringMap *LmxCopyStringToStringMap(const StringToStringMap *map);
LMX_API void LmxFreeStringToStringMap(StringToStringMap *map);
LMX_API unsigned char LmxStringToStringMapPut(StringToStringMap *map, const char *key, const char *value);
LMX_API char *LmxStringToStringMapGet(const StringToStringMap *map, const char *key);
LMX_API void LmxStringToStringMapRem(StringToStringMap *map, const char *key);
LMX_API unsigned char LmxStringToStringMapHasKey(const StringToStringMap *map, const char *key);
LMX_API LmxLink *LmxStringToStringMapIterator(const StringToStringMap *map);
LMX_API LmxLink *LmxStringToStringMapIterNext(const LmxLink *entry);
LMX_API unsigned char LmxStringToStringMapIterHasNext(const LmxLink *entry);
LMX_API char *LmxStringToStringMapIterGetKey(const LmxLink *entry);
LMX_API char *LmxStringToStringMapIterGetVal(const LmxLink *entry);

LMX_END_DECLS

#endif
