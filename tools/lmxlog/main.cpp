// lmxlog: logs one record (the words of the command line) or one record a
// line of standard input through a logger of a properties file, so that a
// script writes into the same log files as the application, with the same
// format and rollover.
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "lumex/lumex.h"

namespace {

const char kUsage[] =
    "usage: lmxlog [-c PROPERTIES] [-l LOGGER] [-p LEVEL] [-m CATALOG:SET:KEY]\n"
    "              [-P NAME=VALUE]... [TEXT...]\n"
    "Logs TEXT as one record through LOGGER, or each line of standard input as\n"
    "a record when no TEXT is given.\n"
    "  -c PROPERTIES      properties file configuring the logger; without one the\n"
    "                     record goes to the console\n"
    "  -l LOGGER          logger name (default \"lmxlog\")\n"
    "  -p LEVEL           OFF, FATAL, ERROR, WARN, INFO, DEBUG_MIN, DEBUG_MID,\n"
    "                     DEBUG_MAX or NONE (default INFO); a record below the\n"
    "                     logger's level is dropped\n"
    "  -m CATALOG:SET:KEY log a catalog message: the first TEXT word (or the line)\n"
    "                     is its default text, further words its parameters\n"
    "                     %1$s, %2$s, ...\n"
    "  -P NAME=VALUE      add a named property to every record (repeatable)\n"
    "  -h, --help         show this help\n"
    "  -V, --version      show the version\n"
    "Exit status: 0 logged, 1 the toolkit or the input failed, 2 bad usage or\n"
    "configuration.\n";

// A list item is logged as (tag, text) pairs, so that one fixed call shape
// serves any number of them: a property takes two pairs, a parameter one.
struct Pair {
  int tag;
  const char *text;
};
constexpr size_t kMaxPairs = 60;  // with the level item, within 63 list items

struct Options {
  const char *properties = nullptr;
  const char *logger = "lmxlog";
  int32_t level = LMX_LEVEL_INFO;
  bool message = false;
  std::string catalog;
  int32_t set = 0;
  int32_t key = 0;
  std::vector<std::pair<std::string, std::string>> props;
  std::vector<const char *> words;
};

int usageError(const char *what, const char *arg) {
  std::fprintf(stderr, "lmxlog: %s '%s'\n(lmxlog --help shows the usage)\n", what, arg);
  return 2;
}

bool parseInt(const std::string &text, int32_t *out) {
  if (text.empty()) return false;
  errno = 0;
  char *end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

bool parseLevel(const char *text, int32_t *out) {
  const std::string t(text);
  if (t == "NONE" || t == "none") {
    *out = LMX_LEVEL_NONE;
    return true;
  }
  *out = LmxGetLevelFromString(text);
  return *out != LMX_LEVEL_NONE;
}

// CATALOG:SET:KEY, the catalog possibly a path with colons of its own.
bool parseMessage(const std::string &spec, Options *o) {
  const size_t k = spec.rfind(':');
  if (k == std::string::npos || k == 0) return false;
  const size_t s = spec.rfind(':', k - 1);
  if (s == std::string::npos || s == 0) return false;
  o->catalog = spec.substr(0, s);
  o->message = true;
  return parseInt(spec.substr(s + 1, k - s - 1), &o->set) && parseInt(spec.substr(k + 1), &o->key);
}

// Returns -1 to go on, else the exit status.
int parseArgs(int argc, char **argv, Options *o) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == "-V" || a == "--version") {
      std::printf("lmxlog (Lumex) %s\n", LUMEX_VERSION);
      return 0;
    }
    if (a.size() != 2 || std::strchr("clpmP", a[1]) == nullptr)
      return usageError("unknown option", argv[i]);
    if (i + 1 >= argc) return usageError("missing value for", argv[i]);
    const char *v = argv[++i];
    switch (a[1]) {
      case 'c':
        o->properties = v;
        break;
      case 'l':
        o->logger = v;
        break;
      case 'p':
        if (!parseLevel(v, &o->level)) return usageError("bad level", v);
        break;
      case 'm':
        if (!parseMessage(v, o)) return usageError("bad message (CATALOG:SET:KEY)", v);
        break;
      case 'P': {
        const char *eq = std::strchr(v, '=');
        if (eq == nullptr || eq == v) return usageError("bad property (NAME=VALUE)", v);
        o->props.emplace_back(std::string(v, eq), std::string(eq + 1));
        break;
      }
    }
  }
  for (; i < argc; ++i) o->words.push_back(argv[i]);
  return -1;
}

// Word J of the pair list: the tag of pair J / 2 or its text.
template <size_t J>
auto word(const Pair *p) {
  if constexpr (J % 2 == 0)
    return p[J / 2].tag;
  else
    return p[J / 2].text;
}

template <size_t... J>
void callWithWords(Object *logger, const Options &o, const char *text,
                   [[maybe_unused]] const Pair *p, std::index_sequence<J...>) {
  if (o.message)
    LmxLogMsg(logger, o.catalog.c_str(), o.set, o.key, text, o.level, word<J>(p)..., 0);
  else
    LmxLogText(logger, text, o.level, word<J>(p)..., 0);
}

// One entry per pair count, so a record costs one indirect call.
template <size_t... N>
constexpr auto makeCallers(std::index_sequence<N...>) {
  using Caller = void (*)(Object *, const Options &, const char *, const Pair *);
  return std::array<Caller, sizeof...(N)>{
      {[](Object *l, const Options &o, const char *t, const Pair *p) {
        callWithWords(l, o, t, p, std::make_index_sequence<2 * N>());
      }...}};
}
constexpr auto kCallers = makeCallers(std::make_index_sequence<kMaxPairs + 1>());

// A record with LMX_LEVEL_NONE always passes; any other is tested against
// the logger's level as the level calls do.
void logRecord(Object *logger, const Options &o, const char *text,
               const std::vector<const char *> &parms) {
  if (o.level != LMX_LEVEL_NONE && !LmxIsLoggable(logger, o.level)) return;
  Pair pairs[kMaxPairs];
  size_t n = 0;
  for (const auto &prop : o.props) {
    pairs[n++] = {LMX_NAMED_PROP, prop.first.c_str()};
    pairs[n++] = {LMX_PARM_STRING, prop.second.c_str()};
  }
  for (const char *parm : parms) pairs[n++] = {LMX_PARM_STRING, parm};
  kCallers[n](logger, o, text, pairs);
}

bool fileReadable(const char *path) {
  struct stat st;
  std::FILE *f = std::fopen(path, "rb");
  const bool ok = f != nullptr && ::fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
  if (f != nullptr) std::fclose(f);
  return ok;
}

// The logger of the configuration, or one on the console without one.
Object *openLogger(const Options &o) {
  if (o.properties == nullptr) {
    Object *logger = LmxGetObject(o.logger, "lmx_basiclogger");
    Object *console = LmxGetObject("lumex.defaultConsole", nullptr);
    if (logger != nullptr && console != nullptr && LmxGetListeners(logger) == nullptr)
      LmxAddListener(logger, console);
    LmxReleaseObject(console);
    return logger;
  }
  if (!LmxLogMgrHasCfg(o.logger)) {
    std::fprintf(stderr, "lmxlog: no logger '%s' is configured in '%s'\n", o.logger, o.properties);
    return nullptr;
  }
  Object *logger = LmxGetObject(o.logger, nullptr);
  if (logger == nullptr) {
    std::fprintf(stderr, "lmxlog: logger '%s' of '%s' cannot be made (check its className)\n",
                 o.logger, o.properties);
  } else if (LmxLoggerGetFLog(logger) == nullptr) {
    std::fprintf(stderr, "lmxlog: '%s' of '%s' is not an enabled logger\n", o.logger, o.properties);
    LmxReleaseObject(logger);
    logger = nullptr;
  }
  return logger;
}

int run(const Options &o) {
  const size_t perRecord =
      2 * o.props.size() + (o.message && !o.words.empty() ? o.words.size() - 1 : 0);
  if (perRecord > kMaxPairs) {
    std::fprintf(stderr, "lmxlog: too many properties and parameters (at most %zu items)\n",
                 kMaxPairs / 2);
    return 2;
  }
  if (o.properties != nullptr && !fileReadable(o.properties)) {
    std::fprintf(stderr, "lmxlog: cannot read the properties file '%s': %s\n", o.properties,
                 std::strerror(errno != 0 ? errno : ENOENT));
    return 2;
  }
  if (!LmxOpenToolkit(o.properties)) {
    std::fprintf(stderr, "lmxlog: the toolkit could not be opened\n");
    return 1;
  }
  Object *logger = openLogger(o);
  int status = logger != nullptr ? 0 : 2;
  if (logger != nullptr && !o.words.empty()) {
    std::vector<const char *> parms;
    std::string text;
    if (o.message) {
      text = o.words[0];
      parms.assign(o.words.begin() + 1, o.words.end());
    } else {
      for (size_t i = 0; i < o.words.size(); ++i) text += (i ? " " : "") + std::string(o.words[i]);
    }
    logRecord(logger, o, text.c_str(), parms);
  } else if (logger != nullptr) {
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
      if (c != '\n') {
        line += static_cast<char>(c);
        continue;
      }
      if (!line.empty() && line.back() == '\r') line.pop_back();
      logRecord(logger, o, line.c_str(), {});
      line.clear();
    }
    if (!line.empty()) logRecord(logger, o, line.c_str(), {});
    if (std::ferror(stdin)) {
      std::fprintf(stderr, "lmxlog: reading standard input failed\n");
      status = 1;
    }
  }
  LmxReleaseObject(logger);
  LmxCloseToolkit();
  return status;
}

}  // namespace

int main(int argc, char **argv) {
  Options o;
  const int status = parseArgs(argc, argv, &o);
  return status >= 0 ? status : run(o);
}
