// Locale names: the user's language, canonical locale names and the fallback
// locale of a language. Constant tables, no state, no setlocale.
#include <cstdlib>
#include <cstring>

#include "lumex/ilx.h"

namespace {

struct LangRow {
  uint16_t id;  // primary language identifier
  const char *name;
};

// Primary language -> language name, searched in order; the first match wins
// (0x1A stands twice, so Croatian shadows Serbian).
constexpr LangRow kLangTable[] = {
    {0x01, "ar"}, {0x36, "af"}, {0x1C, "sq"}, {0x2D, "eu"}, {0x02, "bg"}, {0x23, "be"},
    {0x03, "ca"}, {0x04, "zh"}, {0x1A, "hr"}, {0x05, "cs"}, {0x06, "da"}, {0x13, "nl"},
    {0x09, "en"}, {0x25, "et"}, {0x38, "fo"}, {0x29, "fa"}, {0x0B, "fi"}, {0x0C, "fr"},
    {0x07, "de"}, {0x08, "el"}, {0x0D, "he"}, {0x0E, "hu"}, {0x0F, "is"}, {0x21, "id"},
    {0x10, "it"}, {0x11, "ja"}, {0x12, "ko"}, {0x26, "lv"}, {0x27, "lt"}, {0x14, "no"},
    {0x15, "pl"}, {0x16, "pt"}, {0x18, "ro"}, {0x19, "ru"}, {0x1B, "sk"}, {0x24, "sl"},
    {0x1A, "sr"}, {0x0A, "es"}, {0x1D, "sv"}, {0x1E, "th"}, {0x1F, "tr"}, {0x22, "uk"},
};

struct SubLangRow {
  uint16_t primary;
  uint16_t sub;
  const char *name;
};

// Sub-languages that have a locale of their own.
constexpr SubLangRow kSubLangTable[] = {
    {0x04, 0x01, "zh_TW"},
    {0x04, 0x02, "zh_CN"},
    {0x16, 0x01, "pt_BR"},
};

struct NamePair {
  const char *name;
  const char *value;
};

// Exact names -> canonical locale.
constexpr NamePair kAliasTable[] = {
    {"C", "C"},      {"american", "C"},    {"ar_AA", "ar"},  {"Ar_AA", "ar"},
    {"cz", "cs"},    {"japanese", "ja_JP"}, {"Jp_JP", "ja_JP"},
};

// Canonical locale or language -> fallback locale.
constexpr NamePair kFallbackTable[] = {
    {"C", "C"},         {"en", "C"},  {"fr", "fr_FR"}, {"ja", "ja_JP"},
    {"pt", "pt_BR"},    {"pt_BR", "pt_BR"}, {"zh", "zh_CN"}, {"zh_TW", "zh_TW"},
};

template <size_t N>
const char *lookUp(const NamePair (&table)[N], const char *name) {
  for (const NamePair &row : table)
    if (std::strcmp(row.name, name) == 0) return row.value;
  return nullptr;
}

// ASCII classes: locale names are ASCII; other bytes are neither letters
// nor digits here, whatever the process locale says.
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return isLetter(c) || isDigit(c); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Copies text into the caller's buffer, cut to size - 1 characters.
void put(const char *text, char *buffer, size_t size) {
  if (buffer == nullptr || size == 0) return;
  size_t n = std::strlen(text);
  if (n > size - 1) n = size - 1;
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
}

// The value of an environment variable when it is set and not empty.
const char *envValue(const char *name) {
  const char *v = std::getenv(name);
  return (v != nullptr && v[0] != '\0') ? v : nullptr;
}

// Canonical form of a name. The short forms are built in out; the result is
// out, a table constant or the name itself.
const char *canonical(const char *name, char out[7]) {
  if (const char *alias = lookUp(kAliasTable, name)) return alias;

  // The first six characters, padded with NULs.
  char s[6] = {0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 6 && name[i] != '\0'; ++i) s[i] = name[i];

  if (s[2] == '-') s[2] = '_';
  if (isLetter(s[0]) && isLetter(s[1]) && isLetter(s[2]) && isLetter(s[3]) && isDigit(s[4])) {
    // "enUS1": two letters, "_", two letters.
    s[5] = '\0';
    s[4] = s[3];
    s[3] = s[2];
    s[2] = '_';
  }
  if (isLetter(s[0]) && isLetter(s[1])) {
    if (s[2] != '_' && !isAlnum(s[2])) {
      out[0] = lower(s[0]);
      out[1] = lower(s[1]);
      out[2] = '\0';
      return out;
    }
    if (s[2] == '_' && isLetter(s[3]) && isLetter(s[4]) && !isAlnum(s[5])) {
      out[0] = lower(s[0]);
      out[1] = lower(s[1]);
      out[2] = '_';
      out[3] = upper(s[3]);
      out[4] = upper(s[4]);
      out[5] = '\0';
      return out;
    }
  }
  return name;
}

}  // namespace

extern "C" {

const char *CheckLangTable(uint16_t langId) {
  const uint16_t primary = langId & 0x3FF;
  const uint16_t sub = langId >> 10;
  for (const LangRow &row : kLangTable) {
    if (row.id != primary) continue;
    for (const SubLangRow &s : kSubLangTable)
      if (s.primary == primary && s.sub == sub) return s.name;
    return row.name;
  }
  return "C";
}

int ilx_os_lang_name(char *buffer, size_t size) {
  const char *name = envValue("LANG");
  if (name == nullptr) name = envValue("LC_ALL");
  if (name == nullptr) name = envValue("LC_MESSAGES");
  put(name != nullptr ? name : "C", buffer, size);
  return 0;
}

int ilx_canonical_loc(const char *name, char *buffer, size_t size) {
  char out[7];
  put(canonical(name != nullptr ? name : "", out), buffer, size);
  return 0;
}

int ilx_canonical_lang(const char *name, char *buffer, size_t size) {
  char out[7];
  char loc[6];  // the canonical locale cut to five characters
  put(canonical(name != nullptr ? name : "", out), loc, sizeof loc);
  const char *fallback = lookUp(kFallbackTable, loc);
  if (fallback == nullptr && loc[2] == '_') {
    loc[2] = '\0';
    fallback = lookUp(kFallbackTable, loc);
  }
  put(fallback != nullptr ? fallback : loc, buffer, size);
  return 0;
}

const char *ilx_setlocale(int category, const char *locale) {
  (void)category;
  return locale != nullptr ? locale : "C";
}

char *ilx_loc_new(const char *name) {
  char *loc = static_cast<char *>(BasMemoryMalloc(ILX_LOC_SIZE));
  if (loc != nullptr) ilx_canonical_loc(name, loc, ILX_LOC_SIZE);
  return loc;
}

int ilx_loc_free(char *locale) {
  BasMemoryFree(locale);
  return 0;
}

}  // extern "C"
