// Internationalized messages: the record, its unlocked operations, the
// toolkit's code set handles and the printing and EBCDIC helpers.
#pragma once

#include <cstdint>
#include <cstdio>

#include "lumex/ilx.h"
#include "lumex/messages.h"

// A message of a catalog with its default text and typed parameters.
struct I18Msg {
  char *catalog;         // owned, may be null: no catalog, the default text is used
  int32_t set;           // set number within the catalog
  int32_t key;           // message number within the set
  char *text;            // owned, may be null: default UTF-8 text with conversions
  ParmList *parameters;  // owned, may be null until the first parameter
};

extern "C" {
// Unlocked twins of the public operations; the caller holds the API lock or
// alone holds the message.
LMX_API I18Msg *lmxIntlAllocI18Msg(const char *catalog, int32_t set, int32_t key,
                                   const char *text);
LMX_API I18Msg *lmxIntlCopyI18Msg(const I18Msg *msg);
LMX_API void lmxIntlFreeI18Msg(I18Msg *msg);
LMX_API void lmxIntlAddI18MsgParmBool(I18Msg *msg, unsigned char value);
LMX_API void lmxIntlAddI18MsgParmChar(I18Msg *msg, char value);
LMX_API void lmxIntlAddI18MsgParmInt(I18Msg *msg, int32_t value);
LMX_API void lmxIntlAddI18MsgParmLong(I18Msg *msg, int32_t value);
LMX_API void lmxIntlAddI18MsgParmFloat(I18Msg *msg, float value);
LMX_API void lmxIntlAddI18MsgParmDouble(I18Msg *msg, double value);
LMX_API void lmxIntlAddI18MsgParmString(I18Msg *msg, const char *value);
LMX_API char *lmxIntlBindI18Msg(I18Msg *msg);
// The message's parameter list, attached empty if it has none; null for a
// null message or when memory runs out.
LMX_API ParmList *lmxGetI18MsgParmList(I18Msg *msg);

// Sets up the internationalization services and the toolkit's handles
// (UTF-8, console, EBCDIC 1047 and 37); the uninit frees them again.
LMX_API void lmxI18InitIlx(void);
LMX_API void lmxI18UninitIlx(void);
// The toolkit's handles; null outside init and uninit (or when the code
// set's table cannot be found).
LMX_API CodeSetT lmxI18GetCsUTF8(void);
LMX_API CodeSetT lmxI18GetCsConsole(void);
LMX_API CodeSetT lmxI18GetCs1047(void);
LMX_API CodeSetT lmxI18GetCs37(void);
// Writes UTF-8 text to the stream in the console's code set (standard
// output and error) or the default code set (any other stream). The whole
// text is written, converted piece by piece through a fixed buffer.
LMX_API void lmxI18PrintUTF8AsLocal(FILE *stream, const char *text);
// New texts (BasMemoryFree) converted between UTF-8 and EBCDIC; null for
// null text or when memory runs out.
LMX_API char *lmxI18Str1047ToUTF8(const char *text);
LMX_API char *lmxI18Str37ToUTF8(const char *text);
LMX_API char *lmxI18StrUTF8To1047(const char *text);
LMX_API char *lmxI18StrUTF8To37(const char *text);
}

namespace lmx {

enum class MsgKey : int32_t;

// Binds message `key` of the toolkit's table (with `parm`, when not null,
// as its one string parameter) and prints it to standard error in the local
// code set, ended by a line feed: the reports made while no toolkit logger
// can take them.
void printTableMsgToStderr(MsgKey key, const char *parm);

}  // namespace lmx
