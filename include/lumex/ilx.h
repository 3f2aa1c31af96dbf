/* Internationalization services: code sets and converters, message catalogs,
 * locale names, multibyte and wide strings, formatted I/O and time. */
#ifndef LUMEX_ILX_H
#define LUMEX_ILX_H

#include <stddef.h>
#include <stdint.h>

#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Service set-up and code sets
 * ------------------------------------------------------------------------ */



/* ------------------------------------------------------------------------
 * Code set converters
 * ------------------------------------------------------------------------ */



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



/* ------------------------------------------------------------------------
 * Message catalogs
 * ------------------------------------------------------------------------ */



LMX_END_DECLS

#endif
