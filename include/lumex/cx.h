/* Portability layer: status codes, memory and string wrappers, files and
 * paths, mutexes, threads, processes, system information, string buffer,
 * printf engine and property lists. */
#ifndef LUMEX_CX_H
#define LUMEX_CX_H

#include <stddef.h>
#include <stdint.h>

#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Status codes
 * ------------------------------------------------------------------------ */

/* Result of every operation that can fail at the system level.
 * kind: '-' success, 'p' C library error (code = errno, 22 for a rejected
 * argument), 'w' system call error (code = errno). */
typedef struct CxStatus {
  char kind;
  uint32_t code;
} CxStatus;

#define CX_STATUS_OK '-'
#define CX_STATUS_CRT 'p'
#define CX_STATUS_SYS 'w'

/* ------------------------------------------------------------------------
 * Memory and string wrappers: defined results for null pointers and zero
 * sizes, otherwise the C library's behaviour.
 * ------------------------------------------------------------------------ */

LMX_API void *BasMemoryMalloc(uint32_t size);
LMX_API void *BasMemoryCalloc(uint32_t count, uint32_t size);
LMX_API void *BasMemoryRealloc(void *block, uint32_t size);
LMX_API void BasMemoryFree(void *block);

LMX_API int BasStringCmp(const char *a, const char *b);
LMX_API int BasStringNCmp(const char *a, const char *b, size_t n);
LMX_API int BasStringICmp(const char *a, const char *b);
LMX_API int BasStringNICmp(const char *a, const char *b, size_t n);
LMX_API char *BasStringCpy(char *dst, const char *src);
LMX_API char *BasStringNCpy(char *dst, const char *src, size_t n);
LMX_API char *BasStringCat(char *dst, const char *src);
LMX_API char *BasStringNCat(char *dst, const char *src, size_t n);
LMX_API char *BasStringDup(const char *s);
LMX_API size_t BasStringLen(const char *s);
LMX_API char *BasStringChr(const char *s, int c);
LMX_API char *BasStringRChr(const char *s, int c);
LMX_API char *BasStringStr(const char *s, const char *sub);
LMX_API char *BasStringStrpbrk(const char *s, const char *set);
LMX_API int BasStringStrcspn(const char *s, const char *reject);
LMX_API int BasStringStrspn(const char *s, const char *accept);
LMX_API int BasStringSprintf(char *dst, const char *format, ...);

/* Always 255. */
LMX_API int _dummy(void);

/* ------------------------------------------------------------------------
 * Mutexes: recursive, unnamed; the handle is owned by the caller.
 * ------------------------------------------------------------------------ */

typedef struct CxMutex *CxMutexHandle;

LMX_API CxStatus CxMutexCreate(CxMutexHandle *handle);
LMX_API CxStatus CxMutexLock(CxMutexHandle handle);
LMX_API CxStatus CxMutexUnlock(CxMutexHandle handle);
LMX_API CxStatus CxMutexDestroy(CxMutexHandle *handle);

/* ------------------------------------------------------------------------
 * Threads, processes, system information, growable arrays
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Files, directories and paths
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * String buffer
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Printf engine
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Property lists
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
