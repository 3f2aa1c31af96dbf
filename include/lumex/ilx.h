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
