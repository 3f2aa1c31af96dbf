// Lumex for C++: a header-only front over the C interface (C++17).
//
//   lumex::Toolkit toolkit("app.properties");     // opens; closes at scope end
//   lumex::Logger log("app.db");
//   log.info("appmsg", 1, 20, "Opened %1$s in %2$d ms", path, ms);
//   log.warn("appmsg", 1, 21, "Retry %1$d", n, lumex::prop("table", name));
//   log.text("plain text", lumex::Level::Error);    // a level item changes the level
//   LUMEX_DEBUG_MIN(log, "row %1$d", row);          // with file, function and line
//
// Arguments become the tagged parameter list of the C calls at compile time:
// bool, char, integers, float, double, const char *, std::string and
// std::string_view each map to their tag, lumex::prop(name, value) makes a
// named event property and a lumex::Level item sets the event's level. The
// toolkit's integer parameters are 32 bits wide: integers that always fit
// travel as int parameters, wider ones (64-bit, unsigned 32-bit) as their
// decimal text, so no digit is lost. A type without a tag does not compile.
// Nothing of C++ crosses the library's boundary.
#ifndef LUMEX_LUMEX_HPP
#define LUMEX_LUMEX_HPP

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "lumex.h"

namespace lumex {

enum class Level : int32_t {
  None = LMX_LEVEL_NONE,
  DebugMax = LMX_LEVEL_DEBUG_MAX,
  DebugMid = LMX_LEVEL_DEBUG_MID,
  DebugMin = LMX_LEVEL_DEBUG_MIN,
  Info = LMX_LEVEL_INFO,
  Warn = LMX_LEVEL_WARN,
  Error = LMX_LEVEL_ERROR,
  Fatal = LMX_LEVEL_FATAL,
  Off = LMX_LEVEL_OFF,
};

template <typename V>
struct Prop {
  const char *name;
  const V &value;
};

// A named event property: lumex::prop("table", name).
template <typename V>
Prop<V> prop(const char *name, const V &value) {
  return Prop<V>{name, value};
}

namespace detail {

template <typename T>
using Bare = std::remove_cv_t<std::remove_reference_t<T>>;

template <typename T>
constexpr bool kNarrowInt = std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                            !std::is_same_v<T, char> &&
                            (std::is_signed_v<T> ? sizeof(T) <= 4 : sizeof(T) <= 2);
template <typename T>
constexpr bool kWideInt = std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                          !std::is_same_v<T, char> && !kNarrowInt<T>;
template <typename T>
constexpr bool kText = std::is_same_v<T, const char *> || std::is_same_v<T, char *> ||
                       std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view> ||
                       (std::is_array_v<T> && std::is_same_v<std::remove_extent_t<T>, char>) ||
                       (std::is_array_v<T> && std::is_same_v<std::remove_extent_t<T>, const char>);

template <typename T>
constexpr bool kHasTag = std::is_same_v<T, bool> || std::is_same_v<T, char> ||
                         std::is_same_v<T, float> || std::is_same_v<T, double> || kNarrowInt<T> ||
                         kWideInt<T> || kText<T>;

template <typename T>
struct AlwaysFalse : std::false_type {};

// One value: its tag and its word(s), with any text it needs kept alive
// for the duration of the call.
template <typename T, typename Enable = void>
struct Value {
  static_assert(AlwaysFalse<T>::value,
                "lumex: this type has no parameter tag (use bool, char, an integer, float, "
                "double, a text, lumex::prop or lumex::Level)");
};

template <>
struct Value<bool> {
  int word;
  explicit Value(bool v) : word(v ? 1 : 0) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_BOOL}, word); }
};

template <>
struct Value<char> {
  int word;
  explicit Value(char v) : word(v) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_CHAR}, word); }
};

template <typename T>
struct Value<T, std::enable_if_t<kNarrowInt<T>>> {
  int word;
  explicit Value(T v) : word(static_cast<int>(v)) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_INT}, word); }
};

template <typename T>
struct Value<T, std::enable_if_t<kWideInt<T>>> {
  std::string text;
  explicit Value(T v) : text(std::to_string(v)) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_STRING}, text.c_str()); }
};

template <>
struct Value<float> {
  double word;  // a float travels as a double, as variable arguments pass it
  explicit Value(float v) : word(v) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_FLOAT}, word); }
};

template <>
struct Value<double> {
  double word;
  explicit Value(double v) : word(v) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_DOUBLE}, word); }
};

template <typename T>
struct Value<T, std::enable_if_t<kText<T>>> {
  std::string copy;  // only for views, which need not end in a zero byte
  const char *text;
  explicit Value(const char *v) : text(v) {}
  explicit Value(const std::string &v) : text(v.c_str()) {}
  explicit Value(std::string_view v) : copy(v), text(copy.c_str()) {}
  auto words() const { return std::make_tuple(int{LMX_PARM_STRING}, text); }
};

// One argument of a log call: a value, a named property or a level.
template <typename A>
struct Item {
  Value<Bare<A>> value;
  explicit Item(const A &a) : value(a) {}
  auto words() const { return value.words(); }
};

template <typename V>
struct Item<Prop<V>> {
  const char *name;
  Value<Bare<V>> value;
  explicit Item(const Prop<V> &p) : name(p.name), value(p.value) {}
  auto words() const {
    return std::tuple_cat(std::make_tuple(int{LMX_NAMED_PROP}, name), value.words());
  }
};

template <>
struct Item<Level> {
  int word;
  explicit Item(Level l) : word(static_cast<int>(l)) {}
  auto words() const { return std::make_tuple(word); }
};

// Calls `call` with the words of every item and the closing 0.
template <typename Call, typename... A>
void withList(Call &&call, const A &...args) {
  const std::tuple<Item<A>...> items(args...);
  std::apply(
      [&](const auto &...item) {
        std::apply([&](auto... w) { call(w..., 0); }, std::tuple_cat(item.words()...));
      },
      items);
}

}  // namespace detail

// Opens the toolkit (with a properties file, or none) and closes it when it
// goes out of scope. ok() says whether opening succeeded.
class Toolkit {
 public:
  explicit Toolkit(const char *properties = nullptr) : ok_(LmxOpenToolkit(properties) != 0) {}
  explicit Toolkit(const std::string &properties) : Toolkit(properties.c_str()) {}
  ~Toolkit() { LmxCloseToolkit(); }
  Toolkit(const Toolkit &) = delete;
  Toolkit &operator=(const Toolkit &) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// A counted reference to a logger: copies acquire, the destructor releases.
// A logger that could not be obtained is empty and logs nothing.
class Logger {
 public:
  Logger() = default;
  explicit Logger(const char *name, const char *className = nullptr)
      : object_(LmxGetObject(name, className)) {}
  explicit Logger(const std::string &name) : Logger(name.c_str()) {}
  // Takes over a reference the caller already holds.
  static Logger adopt(Object *object) {
    Logger l;
    l.object_ = object;
    return l;
  }
  Logger(const Logger &o) : object_(LmxAcquireObject(o.object_)) {}
  Logger(Logger &&o) noexcept : object_(std::exchange(o.object_, nullptr)) {}
  Logger &operator=(Logger o) noexcept {
    std::swap(object_, o.object_);
    return *this;
  }
  ~Logger() {
    if (object_ != nullptr) LmxReleaseObject(object_);
  }

  Object *get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  bool isLoggable(Level level) const {
    return object_ != nullptr && LmxIsLoggable(object_, static_cast<int32_t>(level)) != 0;
  }

  template <typename... A>
  void msg(const char *catalog, int32_t set, int32_t key, const char *text, const A &...a) const {
    detail::withList([&](auto... w) { LmxLogMsg(object_, catalog, set, key, text, w...); }, a...);
  }
  template <typename... A>
  void info(const char *catalog, int32_t set, int32_t key, const char *text, const A &...a) const {
    detail::withList([&](auto... w) { LmxLogInfo(object_, catalog, set, key, text, w...); }, a...);
  }
  template <typename... A>
  void warn(const char *catalog, int32_t set, int32_t key, const char *text, const A &...a) const {
    detail::withList([&](auto... w) { LmxLogWarn(object_, catalog, set, key, text, w...); }, a...);
  }
  template <typename... A>
  void error(const char *catalog, int32_t set, int32_t key, const char *text,
             const A &...a) const {
    detail::withList([&](auto... w) { LmxLogError(object_, catalog, set, key, text, w...); },
                     a...);
  }
  template <typename... A>
  void fatal(const char *catalog, int32_t set, int32_t key, const char *text,
             const A &...a) const {
    detail::withList([&](auto... w) { LmxLogFatal(object_, catalog, set, key, text, w...); },
                     a...);
  }
  template <typename... A>
  void text(const char *text, const A &...a) const {
    detail::withList([&](auto... w) { LmxLogText(object_, text, w...); }, a...);
  }
  template <typename... A>
  void debugMin(const char *file, const char *function, int32_t line, const char *text,
                const A &...a) const {
    detail::withList(
        [&](auto... w) { LmxLogDebugMin(object_, file, function, line, text, w...); }, a...);
  }
  template <typename... A>
  void debugMid(const char *file, const char *function, int32_t line, const char *text,
                const A &...a) const {
    detail::withList(
        [&](auto... w) { LmxLogDebugMid(object_, file, function, line, text, w...); }, a...);
  }
  template <typename... A>
  void debugMax(const char *file, const char *function, int32_t line, const char *text,
                const A &...a) const {
    detail::withList(
        [&](auto... w) { LmxLogDebugMax(object_, file, function, line, text, w...); }, a...);
  }

 private:
  Object *object_ = nullptr;
};

}  // namespace lumex

// Debug traces with the caller's source file, function and line.
#define LUMEX_DEBUG_MIN(logger, ...) (logger).debugMin(__FILE__, __func__, __LINE__, __VA_ARGS__)
#define LUMEX_DEBUG_MID(logger, ...) (logger).debugMid(__FILE__, __func__, __LINE__, __VA_ARGS__)
#define LUMEX_DEBUG_MAX(logger, ...) (logger).debugMax(__FILE__, __func__, __LINE__, __VA_ARGS__)

#endif
