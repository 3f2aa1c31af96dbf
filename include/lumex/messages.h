/* Messages: typed parameters and internationalized messages. */
#ifndef LUMEX_MESSAGES_H
#define LUMEX_MESSAGES_H

#include <stdint.h>

#include "collections.h"
#include "cx.h"
#include "lmx_export.h"

LMX_BEGIN_DECLS

/* ------------------------------------------------------------------------
 * Typed parameters
 * ------------------------------------------------------------------------ */

/* Type tags of a Parm (the same numbers tag the values of the logging
 * calls' parameter lists). */
#define LMX_PARM_BOOL 501
#define LMX_PARM_INT 502
#define LMX_PARM_LONG 503
#define LMX_PARM_FLOAT 504
#define LMX_PARM_DOUBLE 505
#define LMX_PARM_CHAR 506
#define LMX_PARM_STRING 507

/* One typed value. A Parm made by LmxCopyParm owns its string; one that a
 * caller builds on its own storage owns nothing (lists store copies). */
typedef struct Parm {
  int32_t type; /* LMX_PARM_... */
  union {
    unsigned char b; /* bool: 0 false, other true */
    int32_t i;       /* int */
    int32_t l;       /* long (32-bit) */
    float f;
    double d;
    char c;
    char *s; /* zero-terminated UTF-8 text */
  } value;
} Parm;

/* None of these takes the API lock. */
/* A new Parm with the same type and value (a string duplicated); null for
 * null or when memory runs out. */
LMX_API Parm *LmxCopyParm(const Parm *parm);
/* Frees a Parm made by LmxCopyParm, its string included; null ignored. */
LMX_API void LmxFreeParm(Parm *parm);
/* True when both are null, or both have the same valid tag and value
 * (strings compared by text). */
LMX_API unsigned char LmxCmpParms(const Parm *a, const Parm *b);
/* Renders a message text with positional parameters: "%1$s" takes the
 * first parameter of the list. A new text, or null when the format cannot
 * be parsed, refers to a parameter the list does not have, or renders to
 * nothing. */
LMX_API char *LmxAprintf(const char *format, const ParmList *parms);

/* ------------------------------------------------------------------------
 * Internationalized messages
 * ------------------------------------------------------------------------ */

/* A catalog message (catalog name, set, key), its default UTF-8 text and its
 * typed parameters. Opaque. */
typedef struct I18Msg I18Msg;

/* These take the API lock. */
/* A new message with copies of both texts and no parameters; null when
 * memory runs out. */
LMX_API I18Msg *LmxAllocI18Msg(const char *catalog, int32_t set, int32_t key, const char *text);
/* A deep copy (texts and parameters); null for null. */
LMX_API I18Msg *LmxCopyI18Msg(const I18Msg *msg);
/* Frees the message with its texts and parameters; null ignored. */
LMX_API void LmxFreeI18Msg(I18Msg *msg);
/* Append the next positional parameter (%1$, %2$ ...); a null message is
 * ignored. */
LMX_API void LmxAddI18MsgParmBool(I18Msg *msg, unsigned char value);
LMX_API void LmxAddI18MsgParmChar(I18Msg *msg, char value);
LMX_API void LmxAddI18MsgParmInt(I18Msg *msg, int32_t value);
LMX_API void LmxAddI18MsgParmLong(I18Msg *msg, int32_t value);
LMX_API void LmxAddI18MsgParmFloat(I18Msg *msg, float value);
LMX_API void LmxAddI18MsgParmDouble(I18Msg *msg, double value);
LMX_API void LmxAddI18MsgParmString(I18Msg *msg, const char *value);
/* The message's text: the catalog's (found along NLSPATH for the user's
 * language, as UTF-8) or else the default text, filled with the parameters
 * by position. When the parameters do not fit the text, a copy of the
 * default text as it stands. A new text (BasMemoryFree), or null. */
LMX_API char *LmxBindI18Msg(I18Msg *msg);

/* These take no lock; a null message is ignored. */
LMX_API void LmxSetI18MsgCat(I18Msg *msg, const char *catalog);
LMX_API void LmxSetI18MsgSet(I18Msg *msg, int32_t set);
LMX_API void LmxSetI18MsgKey(I18Msg *msg, int32_t key);
LMX_API void LmxSetI18MsgTxt(I18Msg *msg, const char *text);


LMX_END_DECLS

#endif
