/* Internationalization services: code sets and converters, message catalogs,
 * locale names, multibyte and wide strings, formatted I/O and time. */
#ifndef LUMEX_ILX_H
#define LUMEX_ILX_H

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <time.h>

#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * The library's one allocator family: every block the library hands out or
 * takes over comes from it. A zero size gives null; a zero size to
 * BasMemoryRealloc leaves the block alone and gives null.
 * ------------------------------------------------------------------------ */

LMX_API void *BasMemoryMalloc(uint32_t size);
LMX_API void *BasMemoryCalloc(uint32_t count, uint32_t size);
LMX_API void *BasMemoryRealloc(void *block, uint32_t size);
LMX_API void BasMemoryFree(void *block);

/* ------------------------------------------------------------------------
 * Service set-up and code sets
 * ------------------------------------------------------------------------ */

/* A code set handle. A null handle stands for the default code set wherever
 * an operation takes one. Handles come from ilx_cs_new or ilx_dup_handle
 * and are released with ilx_cs_free; the built-in "UTF8" and "OS" handles
 * always exist and are never freed. */
typedef struct CodeSet *CodeSetT;

/* A conversion table image: the bytes of a table file, kept whole. */
typedef unsigned char ConvTableT;

/* Sets the services up once (default and OS code sets from ILX_CODESET and
 * the locale); later calls do nothing. Returns 0. */
LMX_API int ilx_init(void);
/* Tears the services down: frees the default and OS code sets (so a handle
 * given to ilx_set_def_cs is released here) and the environment texts the
 * services built. Returns 0. */
LMX_API int ilx_uninit(void);

/* Makes a handle for a code set name ("ISO-8859-1", "cp1252", "utf-8",
 * "OS", ...) or for a table file path (a name containing '/' or '\').
 * Null when no table is found, or when the name is longer than 127 bytes. */
LMX_API CodeSetT ilx_cs_new(const char *name);
/* Frees a handle; null and the built-in handles are ignored. Returns 0. */
LMX_API int ilx_cs_free(CodeSetT cs);
/* A new handle sharing cs's table, with its own shift states and count.
 * cs must outlive the duplicate. */
LMX_API CodeSetT ilx_dup_handle(CodeSetT cs);
/* The handle's table image and its size in bytes (null and 0 for built-in
 * handles). size may be null. */
LMX_API const ConvTableT *ilx_cs_table(CodeSetT cs, uint32_t *size);
/* Makes cs the default code set (null: the built-in OS handle). Returns 0. */
LMX_API int ilx_set_def_cs(CodeSetT cs);
LMX_API CodeSetT ilx_get_def_cs(void);
/* The handle's name; the text belongs to the handle. */
LMX_API const char *ilx_get_cs_name(CodeSetT cs);
/* The number of substitutions made through cs since the last call; the
 * count is then reset to 0. */
LMX_API int ilx_check_subs(CodeSetT cs);
/* Writes the normalized name of the operating system's code set. Returns 0,
 * 1 when the buffer is too small. */
LMX_API int ilx_os_cs_name(char *buf, size_t size);
/* Normalizes a code set name: upper case, "OS"/"WIN"/"DOS" replaced by the
 * locale's code set, a leading "KRZ" dropped, only letters and digits kept.
 * Returns 0; 1 when size is 0 or the result does not fit (buf then holds an
 * empty text when size > 0). */
LMX_API int get_table_name(const char *name, char *buf, size_t size);
/* Sets ILXDIR in the process environment. Returns 0, -1 for a null dir. */
LMX_API int ilx_set_dir(const char *dir);
/* The value of ILXDIR, or "" when it is not set. */
LMX_API const char *ilx_get_dir(void);

/* Whole-string conversions: (handle, input, input length, output, output
 * capacity) -> units written. A negative input length means a NUL-terminated
 * input; one output unit is then kept for the terminating NUL. Lengths and
 * capacities count bytes, or 16-bit units on the UCS-2 side. */
LMX_API int ilx_to_utf8(CodeSetT cs, const char *in, int inlen, char *out, int outcap);
LMX_API int ilx_from_utf8(CodeSetT cs, const char *in, int inlen, char *out, int outcap);
LMX_API int ilx_to_ucs2(CodeSetT cs, const char *in, int inlen, uint16_t *out, int outcap);
LMX_API int ilx_from_ucs2(CodeSetT cs, const uint16_t *in, int inlen, char *out, int outcap);

/* Allocating forms: a new NUL-terminated buffer (2 x len + 1 bytes for
 * ilx_fromu_alloc, 3 x len + 1 for ilx_tou_alloc) holding the conversion;
 * *count (may be null) receives the bytes written before the NUL. Null for
 * a negative length or when memory runs out. Release with ilx_free. */
LMX_API char *ilx_fromu_alloc(CodeSetT cs, const char *in, int len, int *count);
LMX_API char *ilx_tou_alloc(CodeSetT cs, const char *in, int len, int *count);
LMX_API void ilx_free(void *p);

/* ------------------------------------------------------------------------
 * Code set converters
 * ------------------------------------------------------------------------ */

/* Results of the converters and dispatchers. */
#define ILX_CONV_DONE 0 /* input used up, or a flush call */
#define ILX_CONV_FULL 1 /* output full: the character that did not fit is left */
#define ILX_CONV_CUT 2  /* input ends inside a character: it is left unconsumed */

/* Resumable converters: (handle, input position, input end, output
 * position, output end). The positions advance past what was consumed and
 * produced. A null input position (*in == NULL) is a flush: it resets the
 * direction's shift state (toward EBCDIC double-byte it first writes the
 * shift-in code when needed). */
LMX_API int ascii_sbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int ascii_sbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int ascii_sbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_sbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_dbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int ascii_dbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int ascii_dbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_dbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_mbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int ascii_mbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int ascii_mbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_mbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ebcdic_sbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int ebcdic_sbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int ebcdic_sbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ebcdic_sbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ebcdic_dbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int ebcdic_dbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int ebcdic_dbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ebcdic_dbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_gb18030_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int ascii_gb18030_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int ascii_gb18030_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int ascii_gb18030_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int os_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend);
LMX_API int os_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out, char *outend);
LMX_API int os_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);
LMX_API int os_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend);

/* The UTF-8 handle's converters; utf8_to_utf8_r serves both directions. */
LMX_API int utf8_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
                           uint16_t *outend);
LMX_API int utf8_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend,
    char **out,
                             char *outend);
LMX_API int utf8_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
                           char *outend);

/* Dispatchers: pick the converter of the handle's kind (null: the default
 * code set) and work with counts instead of ends; both counts are reduced
 * by what was consumed and produced. */
LMX_API int ilx_to_ucs2_r(CodeSetT cs, const char **in, size_t *inleft, uint16_t **out,
                          size_t *outleft);
LMX_API int ilx_from_ucs2_r(CodeSetT cs, const uint16_t **in, size_t *inleft, char **out,
                            size_t *outleft);
LMX_API int ilx_to_utf8_r(CodeSetT cs, const char **in, size_t *inleft, char **out,
                          size_t *outleft);
LMX_API int ilx_from_utf8_r(CodeSetT cs, const char **in, size_t *inleft, char **out,
                            size_t *outleft);

/* ------------------------------------------------------------------------
 * Multibyte and wide strings
 * ------------------------------------------------------------------------ */

/* Wide characters are 16-bit UCS-2 units; wide strings end with a zero unit.
 * Null string arguments are treated as empty: counts give 0, searches give
 * null, copies and appends leave the destination untouched. */

LMX_API size_t ilx_wcslen(const uint16_t *s);
/* At most n. */
LMX_API size_t ilx_wcsnlen(const uint16_t *s, size_t n);
LMX_API uint16_t *ilx_wcscat(uint16_t *dst, const uint16_t *src);
/* Appends at most n units of src and always a zero unit. */
LMX_API uint16_t *ilx_wcsncat(uint16_t *dst, const uint16_t *src, size_t n);
LMX_API uint16_t *ilx_wcscpy(uint16_t *dst, const uint16_t *src);
/* Copies at most n units and fills the rest of the n units with zeros. */
LMX_API uint16_t *ilx_wcsncpy(uint16_t *dst, const uint16_t *src, size_t n);
/* First (last) unit equal to c; the zero unit can be found. */
LMX_API uint16_t *ilx_wcschr(const uint16_t *s, uint16_t c);
LMX_API uint16_t *ilx_wcsrchr(const uint16_t *s, uint16_t c);
/* Difference of the first differing units within n units; 0 for n = 0. */
LMX_API int ilx_wcsncmp(const uint16_t *a, const uint16_t *b, size_t n);
LMX_API size_t ilx_wcsspn(const uint16_t *s, const uint16_t *set);
LMX_API size_t ilx_wcscspn(const uint16_t *s, const uint16_t *set);
LMX_API uint16_t *ilx_wcspbrk(const uint16_t *s, const uint16_t *set);
/* Next token of s (null: continue at *pos): skips delimiters, ends the token
 * with a zero unit and keeps the position after it in *pos; null when no
 * token is left. */
LMX_API uint16_t *ilx_wcstok(uint16_t *s, const uint16_t *delimiters, uint16_t **pos);
/* First occurrence of pattern; an empty pattern matches at the start. */
LMX_API uint16_t *ilx_wcswcs(const uint16_t *s, const uint16_t *pattern);

/* Case mapping by the simple Unicode case mappings of Latin (up to U+01FF),
 * Greek, Cyrillic, Latin Extended Additional, Greek Extended and full-width
 * Latin; other characters are unchanged. The locale is not used. */
LMX_API uint16_t ilx_towupper(const char *locale, uint16_t c);
LMX_API uint16_t ilx_towlower(const char *locale, uint16_t c);
/* Map every unit in place; return s. */
LMX_API uint16_t *ilx_wcsupper(const char *locale, uint16_t *s);
LMX_API uint16_t *ilx_wcslower(const char *locale, uint16_t *s);

/* Class tests by the Unicode character properties: 1 or 0. */
LMX_API int ilx_iswupper(uint16_t c);
LMX_API int ilx_iswlower(uint16_t c);
LMX_API int ilx_iswdigit(uint16_t c);
LMX_API int ilx_iswspace(uint16_t c);
LMX_API int ilx_iswpunct(uint16_t c);
LMX_API int ilx_iswcntrl(uint16_t c);
LMX_API int ilx_iswblank(uint16_t c);
LMX_API int ilx_iswxdigit(uint16_t c);
LMX_API int ilx_iswalpha(uint16_t c);
LMX_API int ilx_iswalnum(uint16_t c);
LMX_API int ilx_iswgraph(uint16_t c);
LMX_API int ilx_iswprint(uint16_t c);

/* Case-insensitive compares of lower-cased units: the difference of the
 * first differing ones, or of the two units where one string ends; 0 when
 * equal (and for n = 0). The handle and the locale are not used. */
LMX_API int ilx_wcsicmp(CodeSetT cs, const char *locale, const uint16_t *a, const uint16_t *b);
LMX_API int ilx_wcsnicmp(const char *locale, const uint16_t *a, const uint16_t *b, size_t n);

/* Characters and strings between the multibyte text of a code set (null
 * handle: the default code set) and wide characters. While walking a
 * NUL-terminated string no character is read past its NUL. */

/* Converts the character at s (at most n bytes) into *wc (wc may be null):
 * its length in bytes, 0 for the NUL character, -1 when no complete
 * character converts (also for characters beyond U+FFFF). A null s resets
 * the to-shift state and returns 1 for a stateful code set, else 0. */
LMX_API int ilx_mbtowc(CodeSetT cs, uint16_t *wc, const char *s, size_t n);
/* Writes the bytes of wc to s (room for 4 bytes): their number, -1 when wc
 * does not convert. A null s resets the from-shift state and returns 1 for a
 * stateful code set, else 0. */
LMX_API int ilx_wctomb(CodeSetT cs, char *s, uint16_t wc);
/* Length in bytes of the character at s (at most n bytes), counting a
 * surrogate pair as one character: 0 at the NUL, -1 when invalid. */
LMX_API int ilx_mblen(CodeSetT cs, const char *s, size_t n);
/* The wide characters of s into out (at most n units, the zero unit
 * included when it fits): their number without the zero, -1 when a character
 * does not convert. A null out counts the characters. */
LMX_API int ilx_mbstowcs(CodeSetT cs, uint16_t *out, const char *s, size_t n);
/* The bytes of ws into out (at most n bytes, a NUL added when room is left;
 * no character is cut and a stateful code set gets its closing shift code):
 * their number without the NUL, -1 when a unit does not convert (also a
 * surrogate). A null out counts the bytes the output would take. */
LMX_API int ilx_wcstombs(CodeSetT cs, char *out, const uint16_t *ws, size_t n);
/* Type of the byte at s[offset]: 0 a one-byte character, 1 the first byte of
 * a multi-byte character, 2 a following byte, -1 invalid or the NUL. */
LMX_API int ilx_mbsbtype(CodeSetT cs, const char *s, size_t offset);
/* 1 when the byte at pos (inside s) starts a multi-byte character, else 0. */
LMX_API int ilx_ismbs1st(CodeSetT cs, const char *s, const char *pos);

/* Multibyte string functions that step over whole characters. */
/* Case mapping in place (a character is replaced only when its mapped form
 * has the same length); return s. The locale is not used. */
LMX_API char *ilx_strlower(CodeSetT cs, const char *locale, char *s);
LMX_API char *ilx_strupper(CodeSetT cs, const char *locale, char *s);
/* Case-insensitive compares; the counted form looks at no more than n bytes
 * of s1 and gives 0 for n = 0. */
LMX_API int ilx_stricmp(CodeSetT cs, const char *locale, const char *s1, const char *s2);
LMX_API int ilx_strnicmp(CodeSetT cs, const char *locale, const char *s1, const char *s2, size_t n);
/* Copies at most n bytes of src without cutting a character, filling the
 * rest of the n bytes with NULs. Like strncpy, dst is not terminated when
 * src takes all n bytes. */
LMX_API char *ilx_strncpy(CodeSetT cs, char *dst, const char *src, size_t n);
/* Appends at most n bytes of src without cutting a character and always a
 * NUL (dst needs room for strlen(dst) + n + 1 bytes). */
LMX_API char *ilx_strncat(CodeSetT cs, char *dst, const char *src, size_t n);
/* Bytes of the whole characters of s that fit in n bytes. */
LMX_API size_t ilx_strnlen(CodeSetT cs, const char *s, size_t n);
/* First (last) character starting with the byte c; the NUL can be found. */
LMX_API char *ilx_strchr(CodeSetT cs, const char *s, int c);
LMX_API char *ilx_strrchr(CodeSetT cs, const char *s, int c);
/* Leading run of characters not in (in) set, first character in set. */
LMX_API size_t ilx_strcspn(CodeSetT cs, const char *s, const char *set);
LMX_API size_t ilx_strspn(CodeSetT cs, const char *s, const char *set);
LMX_API char *ilx_strpbrk(CodeSetT cs, const char *s, const char *set);
/* Next token of s (null: continue at *pos), ended with a NUL over the first
 * byte of the delimiter character; *pos is kept after that character. */
LMX_API char *ilx_strtok(CodeSetT cs, char *s, const char *delimiters, char **pos);
/* First occurrence of needle starting on a character boundary. */
LMX_API char *ilx_strstr(CodeSetT cs, const char *haystack, const char *needle);



/* ------------------------------------------------------------------------
 * Locale names
 * ------------------------------------------------------------------------ */

/* Locale names are short texts: a language, optionally "_" and a territory
 * ("de_DE"). None of these operations changes the process locale. Every
 * result is cut to the caller's buffer (size - 1 characters and a NUL); a
 * null buffer or a size of 0 writes nothing. A null name counts as "". */

/* Size of the buffer that ilx_loc_new hands out. */
#define ILX_LOC_SIZE 32

/* The user's language: LANG when set and not empty; otherwise the first of
 * LC_ALL and LC_MESSAGES that is set and not empty; otherwise "C". The value
 * is returned as it stands. Returns 0. */
LMX_API int ilx_os_lang_name(char *buffer, size_t size);

/* The canonical form of a locale name: aliases resolved ("cz" -> "cs"),
 * "ll" and "ll_TT" forms with case fixed and code set or modifier dropped
 * ("de_DE.ISO8859-1" -> "de_DE", "DE-de" -> "de_DE", "En" -> "en"), any other
 * name unchanged. Returns 0. */
LMX_API int ilx_canonical_loc(const char *name, char *buffer, size_t size);

/* The fallback locale for the language of a name: "fr_CA" -> "fr_FR",
 * "en_US" -> "C", "de_DE" -> "de". Returns 0. */
LMX_API int ilx_canonical_lang(const char *name, char *buffer, size_t size);

/* The locale name for a Windows language identifier (primary language in the
 * low 10 bits, sub-language in the high 6 bits); "C" when none matches. The
 * text is constant. */
LMX_API const char *CheckLangTable(uint16_t langId);

/* Changes nothing: returns the locale when it is not null, else "C". */
LMX_API const char *ilx_setlocale(int category, const char *locale);

/* A new ILX_LOC_SIZE-byte buffer holding the canonical form of the name, or
 * null when memory runs out; free it with ilx_loc_free. */
LMX_API char *ilx_loc_new(const char *name);

/* Frees a buffer of ilx_loc_new (null is ignored). Returns 0. */
LMX_API int ilx_loc_free(char *locale);



/* ------------------------------------------------------------------------
 * Formatted I/O and time
 * ------------------------------------------------------------------------ */

/* Code-set-aware time formatting and parsing, wide character streams, a
 * print family with positional arguments, and whole-text re-coding. Every
 * handle may be null for the default code set. The C library's own
 * facilities work in the operating system's code set; these operations
 * convert between it and the handle's code set around them. Locale
 * arguments are accepted and not used. */

/* The value of the wide stream functions for end of input or a failure. */
#define ILX_WEOF 0xFFFF

/* strftime in the handle's code set: returns the bytes written to out
 * without the NUL, 0 when the format is null, the result is empty or it does
 * not fit into size bytes. */
LMX_API size_t ilx_strftime(CodeSetT cs, const char *locale, char *out, size_t size,
                            const char *format, const struct tm *tm);

/* strptime in the handle's code set: fills the fields of tm that the text
 * gives and those they imply, and returns the position in text after the
 * parsed part, or null on a mismatch, an unknown directive or a value out of
 * range. Directives: %% %a %A %b %B %h %C %D %d %e %H %I %j %m %M %n %t %p
 * %r %R %S %T %U %W %w %y %Y, an E or O after the % is skipped. %y alone
 * gives 1969-1999 for 69-99 and 2000-2068 for 00-68; with %C the year is
 * century x 100 + %y. */
LMX_API char *ilx_strptime(CodeSetT cs, const char *locale, const char *text,
                           const char *format, struct tm *tm);

/* Re-coding of a NUL-terminated text (null = ""): from the handle's code set
 * to UTF-8 (buffer of 3 x length + 1 bytes), from UTF-8 to the handle's code
 * set (2 x length + 1), and from one code set to another (4 x length + 1).
 * When *slot holds a buffer of that size the result goes there; otherwise a
 * new buffer is returned and stored in *slot (slot may be null); the caller
 * frees it with BasMemoryFree. Null when memory runs out. */
LMX_API char *ilx_s2u(CodeSetT cs, const char *text, char **slot);
LMX_API char *ilx_u2s(CodeSetT cs, const char *text, char **slot);
LMX_API char *ilx_strconv(CodeSetT from, CodeSetT to, const char *text, char **slot);

/* Reads one character of the handle's code set from the stream. At end of
 * input the bytes of an incomplete character are pushed back, so they stay
 * readable, and ILX_WEOF is returned; so it is after four bytes that make no
 * character. */
LMX_API uint16_t ilx_fgetwc(CodeSetT cs, FILE *stream);
/* Reads characters into buf until size - 1 of them, a line feed (kept) or
 * the end of input, then a zero unit; null when the input ends before any
 * character. */
LMX_API uint16_t *ilx_fgetws(CodeSetT cs, uint16_t *buf, int size, FILE *stream);
/* Pushes the bytes of the character back onto the stream; returns it, or
 * ILX_WEOF when it is ILX_WEOF, cannot be converted or cannot be pushed. */
LMX_API uint16_t ilx_ungetwc(CodeSetT cs, uint16_t wc, FILE *stream);
/* Writes the character's bytes; returns it, or ILX_WEOF on a failure. */
LMX_API uint16_t ilx_fputwc(CodeSetT cs, uint16_t wc, FILE *stream);
/* Writes a wide string; returns the number of units written, or ILX_WEOF at
 * the first failure. */
LMX_API int ilx_fputws(CodeSetT cs, const uint16_t *ws, FILE *stream);

/* The print family. Directives: % [n$] [flags: space # ' + - 0] [width:
 * digits, *, *n$] [. precision: digits, *, *n$] [length: h l ll L]
 * conversion: d i o u x X c C s S e E f g G p n %. Positional and sequential
 * arguments share one numbering; every argument up to the highest must be
 * used by some directive. "lc"/"C" take a wide character and "ls"/"S" a wide
 * string, written in the handle's code set; the ' flag groups the digits of
 * d, u, f, g and G by the C library's locale. An unknown conversion prints
 * "Bad format specifier in print_all" on standard output and produces
 * nothing. Results: the bytes produced, or a negative value (-1 for a null
 * format, stream or buffer, an argument numbering the format cannot fetch, a
 * wide character that cannot be converted, or a failed final write; -6 when
 * a write of a full buffer fails). %n fails the call where it stands and
 * never writes through its argument; so does any directive that would take
 * the result beyond 16 MiB (16777216 bytes), the most one call produces.
 * With a precision, "ls"/"S" read no wide unit beyond it, so the array need
 * not be terminated. The string forms write into buffer, which must have
 * room for the whole result and its NUL. */
LMX_API int ilx_printf(CodeSetT cs, const char *locale, const char *format, ...);
LMX_API int ilx_vprintf(CodeSetT cs, const char *locale, const char *format, va_list args);
LMX_API int ilx_fprintf(CodeSetT cs, const char *locale, FILE *stream, const char *format, ...);
LMX_API int ilx_vfprintf(CodeSetT cs, const char *locale, FILE *stream, const char *format,
                         va_list args);
LMX_API int ilx_sprintf(CodeSetT cs, const char *locale, char *buffer, const char *format, ...);
LMX_API int ilx_vsprintf(CodeSetT cs, const char *locale, char *buffer, const char *format,
                         va_list args);



/* ------------------------------------------------------------------------
 * Message catalogs
 * ------------------------------------------------------------------------ */

/* Binary message catalogs. A catalog file starts with an MCHeaderT, followed
 * by a chain of MCSetTDisk records (ascending set numbers), each pointing at
 * its array of MCMsgTDisk records (ascending message numbers) and its block of
 * NUL-terminated UTF-8 texts. Every integer is stored big-endian; writers use
 * the hton_ operations below, readers the ntoh_ ones. Offsets count bytes from
 * the start of the file. */
#define MC_MAGIC "*nazgul*"
#define MC_MAGIC_LEN 8
#define MC_VERSION 1

typedef struct MCHeaderT {
  char magic[MC_MAGIC_LEN]; /* MC_MAGIC, no terminating NUL */
  int32_t version;          /* MC_VERSION */
  int32_t reserved1;        /* not read */
  int32_t reserved2;        /* not read */
  int32_t numSets;          /* at least 1 */
  int32_t firstSet;         /* offset of the first set record */
} MCHeaderT;

typedef struct MCSetTDisk {
  int32_t setNo;      /* set number */
  int32_t nextSet;    /* offset of the next set record */
  int32_t msgOffset;  /* offset of the set's MCMsgTDisk array */
  int32_t textOffset; /* offset of the set's text block */
  int32_t textLen;    /* length of the text block in bytes */
  int32_t numMsgs;    /* number of message records */
  int32_t invalid;    /* non-zero: the record is skipped */
} MCSetTDisk;

typedef struct MCMsgTDisk {
  int32_t msgNo;      /* message number */
  int32_t textOffset; /* offset of the text within the set's text block */
  int32_t extra;      /* kept with the message, not used by look-up */
} MCMsgTDisk;

/* Convert every 32-bit field of one record, in place, between host order and
 * big-endian order. A null record is ignored. */
LMX_API void hton_MCHeaderT(MCHeaderT *header);
LMX_API void ntoh_MCHeaderT(MCHeaderT *header);
LMX_API void hton_MCSetTDisk(MCSetTDisk *set);
LMX_API void ntoh_MCSetTDisk(MCSetTDisk *set);
LMX_API void hton_MCMsgTDisk(MCMsgTDisk *msg);
LMX_API void ntoh_MCMsgTDisk(MCMsgTDisk *msg);

/* An open catalog; opaque. */
typedef struct MCCatalogT MCCatalogT;

/* Flags of ilx_catopen. */
#define ILX_CAT_ENV_LOCALE 1  /* no locale given: LC_ALL, then LC_MESSAGES */
#define ILX_CAT_NO_LANG2 2    /* skip the two-letter language fallback */
#define ILX_CAT_NO_CANLANG 4  /* skip the canonical-language fallback */
#define ILX_CAT_NO_C 8        /* skip the "C" fallback */

/* Open a catalog by name (searched along NLSPATH for the locale's candidate
 * names; "%N.cat" when NLSPATH is empty) or by path (a name containing '/' or
 * '\'). Opened catalogs are cached for the life of the process: opening the
 * same file again returns the same handle. Null when nothing usable is found. */
LMX_API MCCatalogT *ilx_catopen(const char *name, int32_t flags, const char *locale);

/* The text of message `key` of set `set`: in the default code set for a null
 * handle, the stored UTF-8 for the UTF-8 handle, else converted into `cs`.
 * Returns `dflt` itself when the catalog, set or message is missing. The text
 * belongs to the catalog and stays valid while the catalog is cached (a text
 * converted into a non-default code set only until the next such look-up of
 * the same message). */
LMX_API const char *ilx_catgets(MCCatalogT *cat, int32_t set, int32_t key, const char *dflt,
                                CodeSetT cs);

/* Mark an open catalog closed (it stays cached). 0, or -1 when the catalog is
 * null or not open. */
LMX_API int ilx_catclose(MCCatalogT *cat);

/* XPG-style wrappers: failure is RMC_CATD_ERR instead of null. */
#define RMC_CATD_ERR ((MCCatalogT *)-1)
LMX_API MCCatalogT *rmc_catopen(const char *name, int32_t flags);
LMX_API const char *rmc_catgets(MCCatalogT *cat, int32_t set, int32_t key, const char *dflt);
LMX_API int rmc_catclose(MCCatalogT *cat);

/* NLSPATH: the list of templates (separated by ':' or ';') searched by
 * ilx_catopen. ilx_get_nlspath returns the variable's value or "". The setters
 * hand "NLSPATH=..." to the environment and return 0 (-1 when out of memory
 * or given null); ilx_prepend_nlspath puts `path` and ";" before the old
 * value. */
LMX_API const char *ilx_get_nlspath(void);
LMX_API int ilx_set_nlspath(const char *path);
LMX_API int ilx_prepend_nlspath(const char *path);

/* Output text of real_msg_bind. A growable buffer (growable != 0) whose text
 * is null is allocated by the binding; a growable buffer's text must come
 * from the allocator family (BasMemoryMalloc) and is released with
 * BasMemoryFree. A
 * fixed buffer takes what fits and is always NUL-terminated. */
typedef struct BindBufT {
  char *text;
  size_t capacity; /* bytes */
  size_t used;     /* bytes, without the NUL */
  int growable;
} BindBufT;

/* Fill a format with positional string arguments: "%s" is argument 1,
 * "%2$s" argument 2, "%1.2$s" arguments 1 and 2, "%0$s" all of them, "%%" a
 * percent sign. The format is message `key` of set `set` of catalog
 * `catalog` (opened with ILX_CAT_ENV_LOCALE) or `dflt`. Faulty directives
 * leave a marker text in the output. Appends to `out`; returns 0, or -1 when
 * `out` is null or the text was cut (a fixed buffer too small, or a growable
 * one that could not be enlarged). */
LMX_API int real_msg_bind(const char *catalog, const char *dflt, int32_t key, int32_t set,
                          int32_t argc, const char *const *argv, BindBufT *out);


LMX_END_DECLS

#endif
