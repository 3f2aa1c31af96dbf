// Properties are stored as text; these turn typed values into that text and
// back. Numbers are read like the C library's formatted input (leading white
// space, an optional sign, the longest number that fits the form; the rest
// ignored), but a number beyond the type's range gives the nearest limit
// instead of an undefined value.
#include "config/property_values.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "messages/parm_format.h"

namespace {

// Runs one numeric read: `read` returns the value and sets its end pointer;
// the text is accepted when at least one character formed the number.
template <typename T, typename Read>
T convert(const char *text, unsigned char *found, Read read) {
  T value{};
  bool ok = false;
  if (text != nullptr) {
    char *end = nullptr;
    int savedErrno = errno;
    value = read(text, &end);
    errno = savedErrno;
    ok = end != text;
    if (!ok) value = T{};
  }
  if (found != nullptr) *found = ok;
  return value;
}

// The text of a key, or null when the key is absent; *present tells which.
const char *textOf(const StringToStringMap *map, const char *key, bool *present) {
  LmxLink *entry = lmxIntlStringToStringMapGetNode(map, key);
  *present = entry != nullptr;
  return entry != nullptr ? static_cast<const char *>(lmx::mapEntry(entry)->value) : nullptr;
}

// Stores the text form (the default format) of a parameter of that type,
// whose value `assign` sets; nothing is stored when the text cannot be made.
template <typename Assign>
void putParmText(StringToStringMap *map, const char *key, int32_t type, Assign assign) {
  Parm parm{type, {}};
  assign(parm.value);
  char *text = lmxParmToLocalStr(nullptr, &parm);
  if (text != nullptr) lmxIntlStringToStringMapPut(map, key, text);
  BasMemoryFree(text);
}

// Reads a key's text with one of the converters.
template <typename T>
T getTyped(const StringToStringMap *map, const char *key, unsigned char *found,
           T (*converter)(const char *, unsigned char *)) {
  bool present;
  return converter(textOf(map, key, &present), found);
}

}  // namespace

extern "C" {

unsigned char lmxPropStrToBool(const char *text, unsigned char *found) {
  bool isTrue = BasStringICmp(text, "true") == 0 && text != nullptr;
  bool isFalse = BasStringICmp(text, "false") == 0 && text != nullptr;
  if (found != nullptr) *found = isTrue || isFalse;
  return isTrue;
}

char lmxPropStrToChar(const char *text, unsigned char *found) {
  if (found != nullptr) *found = text != nullptr;
  return text != nullptr ? text[0] : '\0';
}

int32_t lmxPropStrToInt32(const char *text, unsigned char *found) {
  return convert<int32_t>(text, found, [](const char *s, char **end) {
    long long v = std::strtoll(s, end, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
  });
}

int64_t lmxPropStrToInt64(const char *text, unsigned char *found) {
  return convert<int64_t>(text, found, [](const char *s, char **end) {
    return static_cast<int64_t>(std::strtoll(s, end, 10));
  });
}

float lmxPropStrToFloat32(const char *text, unsigned char *found) {
  return convert<float>(text, found, [](const char *s, char **end) { return std::strtof(s, end); });
}

double lmxPropStrToFloat64(const char *text, unsigned char *found) {
  return convert<double>(text, found, [](const char *s, char **end) { return std::strtod(s, end); });
}

char *LmxGetMapProp(const StringToStringMap *map, const char *key, unsigned char *found) {
  bool present;
  const char *text = textOf(map, key, &present);
  if (found != nullptr) *found = present;
  return BasStringDup(text);
}

unsigned char LmxGetMapPropBool(const StringToStringMap *map, const char *key,
                                unsigned char *found) {
  return getTyped(map, key, found, lmxPropStrToBool);
}
char LmxGetMapPropChar(const StringToStringMap *map, const char *key, unsigned char *found) {
  return getTyped(map, key, found, lmxPropStrToChar);
}
int32_t LmxGetMapPropInt(const StringToStringMap *map, const char *key, unsigned char *found) {
  return getTyped(map, key, found, lmxPropStrToInt32);
}
int64_t LmxGetMapPropLong(const StringToStringMap *map, const char *key, unsigned char *found) {
  return getTyped(map, key, found, lmxPropStrToInt64);
}
float LmxGetMapPropFloat(const StringToStringMap *map, const char *key, unsigned char *found) {
  return getTyped(map, key, found, lmxPropStrToFloat32);
}
double LmxGetMapPropDouble(const StringToStringMap *map, const char *key, unsigned char *found) {
  return getTyped(map, key, found, lmxPropStrToFloat64);
}

unsigned char LmxSetMapProp(StringToStringMap *map, const char *key, const char *text) {
  return lmxIntlStringToStringMapPut(map, key, text);
}

unsigned char LmxSetMapPropBool(StringToStringMap *map, const char *key, unsigned char value) {
  return LmxSetMapProp(map, key, value == 1 ? "true" : "false");
}

void LmxSetMapPropLong(StringToStringMap *map, const char *key, int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%" PRId64, value);
  LmxSetMapProp(map, key, text);
}

void LmxSetMapPropChar(StringToStringMap *map, const char *key, char value) {
  putParmText(map, key, LMX_PARM_CHAR, [&](auto &v) { v.c = value; });
}
void LmxSetMapPropInt(StringToStringMap *map, const char *key, int32_t value) {
  putParmText(map, key, LMX_PARM_INT, [&](auto &v) { v.i = value; });
}
void LmxSetMapPropFloat(StringToStringMap *map, const char *key, float value) {
  putParmText(map, key, LMX_PARM_FLOAT, [&](auto &v) { v.f = value; });
}
void LmxSetMapPropDouble(StringToStringMap *map, const char *key, double value) {
  putParmText(map, key, LMX_PARM_DOUBLE, [&](auto &v) { v.d = value; });
}

}  // extern "C"
