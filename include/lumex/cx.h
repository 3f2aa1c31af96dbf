/* Portability layer: status codes, memory and string wrappers, files and
 * paths, mutexes, threads, processes, system information, string buffer,
 * printf engine and property lists. */
#ifndef LUMEX_CX_H
#define LUMEX_CX_H

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#include "ilx.h"
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

/* Threads run detached: nothing joins them, and the handle only identifies
 * the thread. The routine's result is ignored. */
typedef uint64_t CxThreadHandle;
typedef uint32_t (*CxThreadRoutine)(void *arg);

/* Always 1. */
LMX_API int CxHasThreadSupport(void);
/* Starts a thread running routine(arg); stackSize 0 takes the default.
 * 'p' with the error number on failure, 'p' 22 for a null handle or
 * routine. */
LMX_API CxStatus CxThreadCreate(CxThreadHandle *handle, uint32_t stackSize,
                                CxThreadRoutine routine, void *arg);
/* The kernel's id of the calling thread. */
LMX_API uint32_t CxThreadGetCurrentID(void);
LMX_API void CxThreadSleep(uint32_t milliseconds);
/* Returns at once and does nothing. */
LMX_API void CxThreadYield(void);

/* A child process started by CxProcessCreate, owned by the caller until
 * CxProcessRelease. */
typedef struct CxProcess *CxProcessHandle;

/* Filled by CxProcessWaitFor. exitCode is valid when exited is 1; a child
 * ended by a signal has the exit code 128 + the signal number. */
typedef struct CxProcessResult {
  uint32_t exited;
  uint32_t exitCode;
  uint32_t reserved1; /* always 0 */
  uint32_t reserved2; /* always 0 */
} CxProcessResult;

/* The environment variable's value or null; not to be freed. */
LMX_API const char *CxProcessGetEnv(const char *name);
LMX_API uint32_t CxProcessGetCurrentID(void);
/* The current directory; 'w' with errno on failure (ERANGE when it does not
 * fit), the buffer then empty; 'p' 22 for a null buffer or size 0. */
LMX_API CxStatus CxProcessGetCwd(char *buffer, uint32_t size);
/* Runs the command line made of program and each argument, joined with one
 * blank and split again at blanks and tabs (no quoting), in the caller's
 * environment and directory. The first word names the program, looked up
 * along PATH. Descriptors other than 0, 1 and 2 are not inherited. 'w' with
 * errno when the program cannot be started; 'p' 22 for a null handle or an
 * empty program. args is null or ends with a null entry. */
LMX_API CxStatus CxProcessCreate(CxProcessHandle *handle, const char *program,
                                 const char *const *args);
/* With wait set, waits for the child to end; without, only looks: a child
 * that still runs gives exited 0. Can be asked again after the child ended.
 * 'p' 22 for a null handle or result. */
LMX_API CxStatus CxProcessWaitFor(CxProcessHandle handle, CxProcessResult *result,
                                  unsigned char wait);
/* Frees the handle (reaping the child if it has ended); a child that still
 * runs goes on running. 'p' 22 for a null handle. */
LMX_API CxStatus CxProcessRelease(CxProcessHandle handle);

/* Milliseconds since 1970-01-01 00:00 UTC. */
LMX_API int64_t CxSystemGetTimestamp(void);
/* The host name, fully qualified when the resolver knows a name with a dot
 * for it. 'p' 40 when the host name cannot be read or looked up (the short
 * name then stays in the buffer when it was read); 'p' 22 for a null buffer
 * or size 0. */
LMX_API CxStatus CxSystemGetFQHostname(char *buffer, uint32_t size);

/* Growable array kept by the caller as three values: the array, its
 * capacity in elements and the count in use (all zero when empty).
 * Makes room for at least `needed` elements of `elemSize` bytes: the first
 * allocation is exactly `needed`; later growth goes to 16, then doubles
 * until the capacity exceeds `needed`. Returns 0 (array untouched) for null
 * pointers, a negative need or when memory runs out. */
LMX_API int CxListEnsureCapacity(void **array, int32_t *capacity, int32_t *count,
                                 int32_t needed, uint32_t elemSize);
/* Frees the array and sets all three values to zero; null pointers are
 * skipped. */
LMX_API void CxListDiscard(void **array, int32_t *capacity, int32_t *count);

/* ------------------------------------------------------------------------
 * Files, directories and paths
 * Names may use '/' or '\'; the native form uses '/'. Native names are held
 * in CX_MAX_PATH bytes including the terminator; longer names are refused
 * with 'p' 22 rather than cut.
 * ------------------------------------------------------------------------ */

#define CX_MAX_PATH 260

/* Path error numbers returned by the CxFilePath operations (errno values). */
#define CX_PATH_OK 0
#define CX_PATH_NOENT 2
#define CX_PATH_EXIST 17
#define CX_PATH_NOTDIR 20
#define CX_PATH_INVAL 22

/* A path text with '\' turned into '/'. length is -1 when the record is not
 * valid; lastSep is the index of the last '/', -1 when there is none. */
typedef struct CxFilePath {
  char path[CX_MAX_PATH];
  int32_t length;
  int32_t lastSep;
} CxFilePath;

/* A directory listing: the native directory name and the open listing
 * (null until the first entry is read). Zeroed means closed. */
typedef struct CxDirectory {
  char name[CX_MAX_PATH];
  void *search;
} CxDirectory;

/* File status; times in seconds since 1970-01-01 00:00 UTC. changeTime is
 * the status change time (st_ctime). */
typedef struct CxFileInfo {
  int64_t size;
  int64_t changeTime;
  int64_t modifyTime;
  int64_t accessTime;
} CxFileInfo;

/* Native form of a name: every '\' becomes '/'. 0 for null arguments or
 * when the result does not fit into the buffer (which is then empty). */
LMX_API int CxFileNameLocalize(const char *name, char *buffer, uint32_t size);
/* As CxFileNameLocalize, except that an empty name gives "/". */
LMX_API int CxFileNameGetNative(const char *name, char *buffer, uint32_t size);
/* Deletes a file; 'w' with errno on failure (code 2: no such file). */
LMX_API CxStatus CxFileNameRemove(const char *name);
/* Moves a file, replacing an existing file of the new name; 'w' on failure. */
LMX_API CxStatus CxFileNameRename(const char *oldName, const char *newName);
/* Size of the named file (the name is used as given); 'p' with errno. */
LMX_API CxStatus CxFileNameGetSize(const char *name, int64_t *size);
/* Status of the named file (used as given); 'p' 22 for an empty name. */
LMX_API CxStatus CxFileNameGetInfo(CxFileInfo *info, const char *name);

/* Open flags are the POSIX O_* flags; O_CLOEXEC is always added and a
 * created file starts as 0600. On failure the descriptor is -1. Data is
 * written exactly as given (no text translation). */
LMX_API CxStatus CxFileOpen(int32_t *fd, const char *name, int32_t flags);
/* One read; 0 bytes read means end of file. */
LMX_API CxStatus CxFileRead(const int32_t *fd, void *buffer, uint32_t count,
                            uint32_t *bytesRead);
/* Writes all count bytes unless an error stops it; *bytesWritten tells how
 * many reached the file in either case. */
LMX_API CxStatus CxFileWrite(const int32_t *fd, const void *buffer, uint32_t count,
                             uint32_t *bytesWritten);
LMX_API CxStatus CxFileGetSize(const int32_t *fd, int64_t *size);
/* Flushes the file to the device: 'p' 9 for a descriptor that is not open,
 * 'w' with errno when the flush fails. */
LMX_API CxStatus CxFileFlush(const int32_t *fd);
/* Closes the file; the descriptor is -1 afterwards in every case. */
LMX_API CxStatus CxFileClose(int32_t *fd);

/* 1 on success; 0 (length -1) for a null text or one of CX_MAX_PATH bytes
 * or more. */
LMX_API int CxInitFilePath(CxFilePath *path, const char *text);
/* 22 invalid or empty, 2 nothing there, 0 directory, 20 something else. */
LMX_API int32_t CxFilePathIsDir(const CxFilePath *path);
/* 22 invalid or empty, 0 something exists there, else 2. */
LMX_API int32_t CxFilePathExists(const CxFilePath *path);
/* The text before the last '/' ("/" for a name directly under the root);
 * 0 when the record is invalid or has no parent. */
LMX_API int CxFilePathParent(const CxFilePath *path, CxFilePath *parent);
/* Creates the directory and every missing ancestor with the permission
 * bits (subject to the umask). 0 when the directory exists afterwards, 20
 * when the path or an ancestor is not a directory, 22 for an invalid or
 * empty record, else the errno of the failed mkdir. */
LMX_API int32_t CxFilePathMkdirs(const CxFilePath *path, int32_t permission);

/* 'p' 22 unless name is an existing directory; the listing starts with the
 * first CxDirectoryGetNext. A record that is listing must be closed before
 * it is opened again. */
LMX_API CxStatus CxDirectoryOpen(CxDirectory *dir, const char *name);
/* Puts the next entry's name ("." and ".." included, in the system's order)
 * into the buffer. At the end of the listing: '-' with an empty name. An
 * entry whose name does not fit gives 'p' 34 (ERANGE) and is kept for the
 * next call. Other failures: 'w' with errno. */
LMX_API CxStatus CxDirectoryGetNext(CxDirectory *dir, char *buffer, uint32_t size);
/* Ends the listing and clears the record; 'w' when the system refuses to
 * close it. A record that never read an entry closes with '-'. */
LMX_API CxStatus CxDirectoryClose(CxDirectory *dir);

/* ------------------------------------------------------------------------
 * String buffer
 * ------------------------------------------------------------------------ */

/* A growable byte string, always zero-terminated once something was
 * appended. A zeroed record is an empty buffer; end it with
 * CxStringBuffDiscard or by taking its text with CxStringBuffTakeStr (the
 * taken text is freed with BasMemoryFree). Operations returning int return 1
 * on success and 0 on failure (null buffer, bad argument, no memory); on a
 * failure the buffer keeps its previous text. */
typedef struct CxStringBuff {
  uint32_t length;   /* bytes of text, without the terminating zero */
  uint32_t capacity; /* bytes allocated */
  char *data;        /* null until the first append */
} CxStringBuff;

LMX_API int CxStringBuffAppendChar(CxStringBuff *buff, char c);
/* Appends the code in UTF-8 (up to six bytes for codes to 0x7FFFFFFF);
 * 0 for a negative code. */
LMX_API int CxStringBuffAppendUTF32Char(CxStringBuff *buff, int32_t code);
LMX_API int CxStringBuffAppendStr(CxStringBuff *buff, const char *s);
/* Appends at most count bytes of s, stopping at its terminator; count -1
 * appends the whole string. */
LMX_API int CxStringBuffAppendStrN(CxStringBuff *buff, const char *s, int32_t count);
/* Appends the wide string converted to the code set of the handle (null: the
 * default code set), stopping before the first character that would take the
 * bytes appended by this call beyond limit (-1: no limit). 0 when a character
 * cannot be converted (what was appended before it stays). */
LMX_API int CxStringBuffAppendWStrN(CxStringBuff *buff, CodeSetT cs, const uint16_t *ws,
                                    int32_t limit);
LMX_API int CxStringBuffAppendInt32(CxStringBuff *buff, int32_t value);
LMX_API int CxStringBuffAppendInt64(CxStringBuff *buff, int64_t value);
LMX_API int CxStringBuffAppendUInt64(CxStringBuff *buff, uint64_t value);
/* Decimal digits as EBCDIC bytes 0xF0..0xF9, 0x60 before a negative value. */
LMX_API int CxStringBuffAppendEBCDICInt64(CxStringBuff *buff, int64_t value);
/* Converts the buffer's text in place from UTF-8 into the handle's code set,
 * or from the handle's code set to UTF-8; on failure the text is unchanged. */
LMX_API int CxStringBuffChangeFromUTF8(CodeSetT cs, CxStringBuff *buff);
LMX_API int CxStringBuffChangeToUTF8(CodeSetT cs, CxStringBuff *buff);
/* The text itself (still owned by the buffer), or null if nothing was ever
 * appended. */
LMX_API char *CxStringBuffPeekStr(CxStringBuff *buff);
/* A new copy of the text (BasMemoryFree), or null if nothing was appended. */
LMX_API char *CxStringBuffCopyStr(CxStringBuff *buff);
/* Hands the text to the caller (BasMemoryFree) and zeroes the buffer. */
LMX_API char *CxStringBuffTakeStr(CxStringBuff *buff);
/* Empties the text but keeps the memory for reuse. */
LMX_API void CxStringBuffRestart(CxStringBuff *buff);
/* Frees the memory and zeroes the buffer. */
LMX_API void CxStringBuffDiscard(CxStringBuff *buff);
/* Shrinks the memory to the text; 0 when it already fits exactly. */
LMX_API int CxStringBuffPack(CxStringBuff *buff);

/* ------------------------------------------------------------------------
 * Printf engine
 * ------------------------------------------------------------------------ */

/* printf-style formatting into a CxStringBuff, with positional arguments
 * ("%2$s") that may be mixed with sequential ones. Formatting runs in three
 * steps: the format is parsed into segments and typed argument slots
 * (CxPrintfProcessFmts), the slots are filled with values, and the segments
 * are emitted (cxPrintfEmitAll). CxStringBuffPrintf does all three from its
 * variable arguments. One call appends at most 16 MiB (16777216 bytes): a
 * width or precision that would make the text longer fails the call at that
 * conversion instead of allocating it. Each conversion prints an integer by
 * its own rule (signed for d and i, unsigned for o u x X) at the width of the
 * argument's slot, 32 bits for the int, short and char forms. */

/* Segment kinds. */
#define CX_PRINTF_CONVERSION 0
#define CX_PRINTF_LITERAL 1

/* Conversion flags. */
#define CX_PRINTF_LEFT 1   /* '-' */
#define CX_PRINTF_ZERO 2   /* '0' */
#define CX_PRINTF_PLUS 4   /* '+' */
#define CX_PRINTF_SPACE 8  /* ' ' */
#define CX_PRINTF_ALT 16   /* '#' */
#define CX_PRINTF_GROUP 32 /* '\'' : thousands grouping of the current locale */

/* Length modifiers. */
#define CX_PRINTF_LEN_NONE 0
#define CX_PRINTF_LEN_L 10   /* l */
#define CX_PRINTF_LEN_LL 11  /* ll */
#define CX_PRINTF_LEN_LD 12  /* L */
#define CX_PRINTF_LEN_H 20   /* h */
#define CX_PRINTF_LEN_HH 21  /* hh */
#define CX_PRINTF_LEN_I64 30 /* I64 */
#define CX_PRINTF_LEN_J 40   /* j */
#define CX_PRINTF_LEN_Q 50   /* q */
#define CX_PRINTF_LEN_T 60   /* t */
#define CX_PRINTF_LEN_Z 70   /* z, Z */

/* Argument slot types: what a slot holds and how a variable argument list
 * supplies it. 0 marks a slot that no conversion refers to. */
#define CX_PRINTF_ARG_NONE 0
#define CX_PRINTF_ARG_INT 10       /* int, sign-extended (also %c, widths) */
#define CX_PRINTF_ARG_SHORT 11     /* %hd: int, not narrowed */
#define CX_PRINTF_ARG_LONG 12      /* %ld: long, sign-extended */
#define CX_PRINTF_ARG_LLONG 13     /* %lld %I64d %qd: 64-bit */
#define CX_PRINTF_ARG_INTMAX 14    /* %jd */
#define CX_PRINTF_ARG_UINT 20      /* %u %o %x %X: unsigned int */
#define CX_PRINTF_ARG_USHORT 21    /* %hu: unsigned int, not narrowed */
#define CX_PRINTF_ARG_ULONG 22     /* %lu */
#define CX_PRINTF_ARG_ULLONG 23    /* %llu %I64u %qu */
#define CX_PRINTF_ARG_UINTMAX 24   /* %ju */
#define CX_PRINTF_ARG_DOUBLE 30    /* %a %e %f %g ... */
#define CX_PRINTF_ARG_LDOUBLE 31   /* %Le ...: long double, kept as double */
#define CX_PRINTF_ARG_CHAR 40      /* %hhd: int, not narrowed */
#define CX_PRINTF_ARG_UCHAR 41     /* %hhu: unsigned int, not narrowed */
#define CX_PRINTF_ARG_WCHAR 42     /* %lc %C: a 16-bit wide character */
#define CX_PRINTF_ARG_POINTER 50   /* %p */
#define CX_PRINTF_ARG_COUNT 60     /* %n (never written: %n fails) */
#define CX_PRINTF_ARG_COUNT_H 61
#define CX_PRINTF_ARG_COUNT_L 62
#define CX_PRINTF_ARG_COUNT_LL 63
#define CX_PRINTF_ARG_STRING 70    /* %s: byte string (also %hhn) */
#define CX_PRINTF_ARG_WSTRING 71   /* %ls %S: 16-bit wide string */
#define CX_PRINTF_ARG_SIZE 80      /* %zd: size_t */
#define CX_PRINTF_ARG_USIZE 81     /* %zu */
#define CX_PRINTF_ARG_PTRDIFF 90   /* %td %tu ...: ptrdiff_t */

/* One piece of a parsed format: a literal run of format bytes (first..last,
 * both inclusive) or one conversion. */
typedef struct CxPrintfSeg {
  int32_t kind; /* CX_PRINTF_LITERAL or CX_PRINTF_CONVERSION */
  const char *first;
  const char *last;
  int32_t argIndex;      /* slot of the value, 0-based */
  unsigned char argType; /* CX_PRINTF_ARG_... */
  uint32_t flags;        /* CX_PRINTF_LEFT ... */
  int32_t widthArg;      /* slot holding the width, or -1 */
  int32_t width;         /* -1 when not given */
  int32_t precisionArg;  /* slot holding the precision, or -1 */
  int32_t precision;     /* -1 when not given */
  int32_t length;        /* CX_PRINTF_LEN_... */
  char conversion;       /* conversion character ('i' is stored as 'd') */
} CxPrintfSeg;

/* Segments of a format. A zeroed record is an empty list; its array is
 * freed with CxListDiscard. */
typedef struct CxPrintfSegList {
  int32_t nextIndex;  /* next sequential argument index */
  int32_t positional; /* set once an "N$" reference was seen */
  int32_t count;
  int32_t capacity;
  CxPrintfSeg *segs;
} CxPrintfSegList;

/* One argument slot: its type and its value, widened to 8 bytes. */
typedef struct CxPrintfArg {
  unsigned char type; /* CX_PRINTF_ARG_..., 0 when never referenced */
  union {
    int64_t i; /* signed and unsigned integers (u reads the same bits) */
    uint64_t u;
    double d;
    const void *p;
  } value;
} CxPrintfArg;

/* Argument slots by index; count is the highest index referenced plus one.
 * A zeroed record is an empty list; its array is freed with CxListDiscard. */
typedef struct CxPrintfArgList {
  int32_t count;
  int32_t capacity;
  CxPrintfArg *args;
} CxPrintfArgList;

/* Appends the formatted text; the handle (null: the default code set) is used
 * for wide characters and strings. Returns the number of bytes appended: 0
 * when the format cannot be parsed or refers to argument numbers that no
 * conversion uses; on a failure during output (%n, a wide character that
 * cannot be converted, no memory) what was appended before it stays and is
 * counted. */
LMX_API int32_t CxStringBuffPrintf(CodeSetT cs, CxStringBuff *buff, const char *format, ...);
LMX_API int32_t CxStringBuffPrintfV(CodeSetT cs, CxStringBuff *buff, const char *format,
                                    va_list args);
/* Parses format into the two (zeroed) lists. Returns 1 on a parse error or
 * when memory runs out, else 0. The caller owns both lists either way. */
LMX_API int CxPrintfProcessFmts(const char *format, CxPrintfSegList *segs,
                                CxPrintfArgList *args);

/* ------------------------------------------------------------------------
 * Property lists
 * ------------------------------------------------------------------------ */

/* A small ordered table of text keys (unique, compared byte for byte) and
 * text values. A zeroed record is an empty list; end it with
 * CxPropListDiscard. Entries keep the order in which their keys were first
 * put, until a removal moves the last entry into the removed one's place.
 * The array starts with room for 32 entries and doubles; one slot always
 * stays free. No operation takes a lock or reports anything. */
typedef struct CxPropEntry {
  char *key;   /* owned */
  char *value; /* owned */
} CxPropEntry;

typedef struct CxPropList {
  int32_t count;        /* entries in use */
  int32_t capacity;     /* entries the array can hold */
  CxPropEntry *entries; /* null until the first put */
} CxPropList;

/* A position in a list, passed by value to start a walk and by address
 * otherwise. The end position is list null, index 0. */
typedef struct CxPropListIter {
  const CxPropList *list;
  int32_t index;
} CxPropListIter;

/* Reads a properties file into the list: "key=value" lines (also "key:value"
 * and "key value"), comments starting with '#' or '!', continuation lines
 * ending in a backslash, key escapes of backslash, blank and separator
 * bytes, value escapes of backslash, blanks, quotes and \uXXXX (UTF-16
 * pairs form one character, a lone surrogate gives U+FFFD). Bytes are taken
 * as they are. True when the whole file was read and every pair stored;
 * false at once for a null list. Pairs stored before a failure stay. A bad
 * value escape prints message LMX0052E to standard error; open, read and
 * close failures go to the platform-error report. */
LMX_API unsigned char CxPropListRead(const char *path, CxPropList *list);
/* Copies key and value in; an existing key gets the new value in its old
 * place. False for a null argument or when memory runs out. */
LMX_API unsigned char CxPropListPutStr(CxPropList *list, const char *key, const char *value);
/* A new copy of the key's value (BasMemoryFree), or null; *found (when not
 * null) tells whether the key is present. */
LMX_API char *CxPropListCopyStr(const CxPropList *list, const char *key, unsigned char *found);
/* The stored value itself, valid until that entry changes, or null. */
LMX_API const char *CxPropListPeekStr(const CxPropList *list, const char *key,
                                      unsigned char *found);
LMX_API unsigned char CxPropListHasKey(const CxPropList *list, const char *key);
/* True when an entry was removed; the last entry takes its place. */
LMX_API unsigned char CxPropListRemove(CxPropList *list, const char *key);
/* Frees every entry and the array; the record is zeroed and can be reused. */
LMX_API void CxPropListDiscard(CxPropList *list);

/* A walk: visit the entry the iterator stands on, then ask HasNext and step
 * with Next. On an empty list the first peek already gives null. */
LMX_API CxPropListIter CxPropListIterator(const CxPropList *list);
/* True when an entry follows the current one. */
LMX_API unsigned char CxPropListIterHasNext(const CxPropListIter *it);
/* Steps to the next entry, or to the end position when there is none; an
 * iterator with a negative index stays as it is. Returns it. */
LMX_API CxPropListIter *CxPropListIterNext(CxPropListIter *it);
/* The current key or value as a new copy, or null outside the list. */
LMX_API char *CxPropListIterCopyKey(const CxPropListIter *it);
LMX_API char *CxPropListIterCopyVal(const CxPropListIter *it);
/* The current key or value itself, or null outside the list. */
LMX_API const char *CxPropListIterPeekKey(const CxPropListIter *it);
LMX_API const char *CxPropListIterPeekVal(const CxPropListIter *it);

LMX_END_DECLS

#endif
