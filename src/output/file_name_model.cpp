// Log file names: splitting a configured name into directory, base name,
// number and extension, building the active and backup names from them, and
// the rollover that renames the backups one generation on.
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "output/file_handler_vars.h"
#include "output/file_report.h"

namespace {

constexpr size_t kMaxName = 260;

void freeText(char *&text) {
  BasMemoryFree(text);
  text = nullptr;
}

char *dupRange(const char *begin, size_t length) {
  auto *text = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(length + 1)));
  if (text == nullptr) return nullptr;
  std::memcpy(text, begin, length);
  text[length] = '\0';
  return text;
}

// directory "/" stem digits sep generation "." extension, as the parts allow.
char *buildName(const char *directory, const char *stem, const char *digits, const char *sep,
                int32_t generation, const char *extension) {
  CxStringBuff b{};
  bool ok = true;
  if (directory != nullptr) {
    ok = CxStringBuffAppendStr(&b, directory);
    size_t n = std::strlen(directory);
    if (ok && (n == 0 || directory[n - 1] != '/')) ok = CxStringBuffAppendChar(&b, '/');
  }
  ok = ok && CxStringBuffAppendStr(&b, stem);
  if (ok && digits != nullptr) ok = CxStringBuffAppendStr(&b, digits);
  if (ok && generation != 0) {
    if (sep != nullptr) ok = CxStringBuffAppendStr(&b, sep);
    ok = ok && CxStringBuffAppendInt32(&b, generation);
  }
  if (ok && extension != nullptr) {
    ok = CxStringBuffAppendChar(&b, '.') && CxStringBuffAppendStr(&b, extension);
  }
  if (!ok || b.data == nullptr) {
    CxStringBuffDiscard(&b);
    return nullptr;
  }
  return CxStringBuffTakeStr(&b);
}

char *currentDirectory() {
  char cwd[kMaxName];
  if (lmx::failed(CxProcessGetCwd(cwd, sizeof cwd))) return nullptr;
  return BasStringDup(cwd);
}

}  // namespace

extern "C" {

unsigned char lmxGetNativePath(const char *name, char *buffer) {
  if (name == nullptr || buffer == nullptr) return 0;
  // A name that does not fit with its terminator is refused, not cut.
  return CxFileNameLocalize(name, buffer, CX_MAX_PATH) ? 1 : 0;
}

void lmxSetFileNameParts(char **out, const char *directory, const char *baseName, int32_t number,
                         const char *extension) {
  if (out == nullptr || baseName == nullptr) return;
  *out = buildName(directory, baseName, nullptr, nullptr, number, extension);
}

void lmxFHGetFileNameParts(const char *name, FileHandlerVars *vars) {
  if (vars == nullptr) return;
  freeText(vars->directory);
  freeText(vars->baseName);
  freeText(vars->extension);
  freeText(vars->numberText);
  vars->number = 0;
  if (name == nullptr || *name == '\0') {
    lmx::fileReport(vars, LMX_LEVEL_ERROR, lmx::MsgKey::PropertyValueMissing, LMX_PARM_STRING,
                    "fileName");
    return;
  }
  if (std::strlen(name) > kMaxName) {
    lmx::fileReport(vars, LMX_LEVEL_ERROR, lmx::MsgKey::PropertyTooLong, LMX_PARM_STRING,
                    "fileName", LMX_PARM_INT, static_cast<int>(kMaxName));
    return;
  }
  char native[CX_MAX_PATH];
  if (!lmxGetNativePath(name, native)) {
    lmx::fileReport(vars, LMX_LEVEL_ERROR, lmx::MsgKey::BadFilePath, LMX_PARM_STRING, "fileName",
                    LMX_PARM_STRING, name);
    return;
  }
  size_t end = std::strlen(native);
  if (char *dot = std::strrchr(native, '.')) {
    vars->extension = BasStringDup(dot + 1);
    end = static_cast<size_t>(dot - native);
  }
  size_t digits = end;
  while (digits > 0 && native[digits - 1] >= '0' && native[digits - 1] <= '9') --digits;
  if (digits < end) {
    vars->numberText = dupRange(native + digits, end - digits);
    // A run too long for the number reads as 0.
    int64_t value = 0;
    for (size_t i = digits; i < end && value <= INT32_MAX; ++i) value = value * 10 + (native[i] - '0');
    vars->number = value <= INT32_MAX ? static_cast<int32_t>(value) : 0;
    end = digits;
  }
  native[end] = '\0';
  char *sep = std::strrchr(native, '/');
  if (sep == nullptr) {
    vars->baseName = BasStringDup(native);
    vars->directory = currentDirectory();
    return;
  }
  vars->baseName = BasStringDup(sep + 1);
  if (sep == native) {
    vars->directory = BasStringDup("/");  // an absolute name directly under the root
  } else {
    *sep = '\0';
    vars->directory = BasStringDup(native);
  }
}

void lmxFileHandlerDoRollover(FileHandlerVars *vars) {
  if (vars == nullptr || vars->baseName == nullptr) return;
  int32_t n = vars->maxFiles - 1;
  auto reportUnlessMissing = [](CxStatus s) {
    if (s.kind != CX_STATUS_OK && s.code != ENOENT) LmxReportPlatformErr(s);
  };
  char *oldest = lmx::logGenerationName(vars, n);
  if (oldest != nullptr) reportUnlessMissing(CxFileNameRemove(oldest));
  char *to = oldest;
  for (int32_t i = n - 1; i >= 0; --i) {
    char *from = lmx::logGenerationName(vars, i);
    if (from != nullptr && to != nullptr) reportUnlessMissing(CxFileNameRename(from, to));
    BasMemoryFree(to);
    to = from;
  }
  BasMemoryFree(to);
}

}  // extern "C"

namespace lmx {

char *logGenerationName(const FileHandlerVars *vars, int32_t generation) {
  if (vars == nullptr || vars->baseName == nullptr) return nullptr;
  if (vars->numberText == nullptr) {
    char *name = nullptr;
    lmxSetFileNameParts(&name, vars->directory, vars->baseName, generation, vars->extension);
    return name;
  }
  return buildName(vars->directory, vars->baseName, vars->numberText, ".", generation,
                   vars->extension);
}

}  // namespace lmx
