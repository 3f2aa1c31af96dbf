// Level names, the level configuration of loggers and filters, and the
// level filter.
#include <cstring>

#include "core/object.h"
#include "logging/log_path.h"

namespace {

struct LevelName {
  int32_t value;
  const char *name;  // compared over its own length, ignoring case
};

// In the order in which a text is tried against them.
constexpr LevelName kLevelNames[] = {
    {LMX_LEVEL_OFF, "OFF"},             {LMX_LEVEL_FATAL, "FATAL"},
    {LMX_LEVEL_ERROR, "ERROR"},         {LMX_LEVEL_WARN, "WARN"},
    {LMX_LEVEL_INFO, "INFO"},           {LMX_LEVEL_DEBUG_MIN, "DEBUG_MIN"},
    {LMX_LEVEL_DEBUG_MID, "DEBUG_MID"}, {LMX_LEVEL_DEBUG_MAX, "DEBUG_MAX"},
    {LMX_LEVEL_ALL, "ALL"},
};

}  // namespace

extern "C" {

int32_t LmxGetLevelFromString(const char *text) {
  if (text == nullptr) return LMX_LEVEL_NONE;
  for (const LevelName &row : kLevelNames) {
    if (BasStringNICmp(text, row.name, std::strlen(row.name)) == 0) return row.value;
  }
  return LMX_LEVEL_NONE;
}

void LmxBasicLoggerFCfgChange(Object *object, const char *key) {
  if (object == nullptr || key == nullptr) return;
  if (std::strcmp(key, "level") != 0) {
    LmxBasicObjectFCfgChange(object, key);
    return;
  }
  char *value = lmxIntlGetObjProp(object, "level", nullptr);
  lmx::setLevel(object, LmxGetLevelFromString(value));
  BasMemoryFree(value);
}

// The level filter's configuration is the logger's, under its own name.
#if defined(__clang__)
void LmxLevelFilterFCfgChange(Object *object, const char *key)
    __attribute__((alias("LmxBasicLoggerFCfgChange")));
#else
void LmxLevelFilterFCfgChange(Object *object, const char *key)
    __attribute__((alias("LmxBasicLoggerFCfgChange"), nothrow));
#endif

void LmxBasicFilterFProcess(Object *filter, Event *event) {
  if (filter == nullptr || !lmx::enabledOf(filter) || filter->objClass == nullptr) return;
  const ObjClass *cls = filter->objClass;
  if (cls->kind != LMX_KIND_FILTER) return;
  if (cls->ops.filter.isLoggable == nullptr || cls->ops.filter.log == nullptr) return;
  if (cls->ops.filter.isLoggable(filter, event)) cls->ops.filter.log(filter, event);
}

unsigned char LmxLevelFilterFIsLoggable(Object *filter, Event *event) {
  if (filter == nullptr || event == nullptr) return 0;
  const int32_t threshold = lmx::levelOf(filter);
  const int32_t level = LmxGetEventLevel(event);
  return threshold == LMX_LEVEL_ALL || level == LMX_LEVEL_NONE || level >= threshold;
}

}  // extern "C"
