// Reading XPG message source.
//
//   $set n [comment]     following messages go to set n (before any $set: set 1)
//   $delset n [comment]  removes set n
//   $ comment            (a "$" followed by a blank, or alone)
//   $quote c             texts may be enclosed in c; "$quote" alone: no quoting
//   n text               message n; "n " alone is the empty text, "n" alone
//                        removes message n
// Escapes: \n \t \v \b \r \f \\ \ddd (octal) and \c for the quote character;
// a backslash at the end of a message line continues it on the next line.
#include "msg_source.h"

#include <cctype>
#include <utility>
#include <vector>

namespace lmxgencat {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a decimal number from 1 to INT32_MAX at the start of s.
bool readNumber(std::string_view &s, int32_t &out) {
  size_t i = 0;
  int64_t v = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    v = v * 10 + (s[i] - '0');
    if (v > INT32_MAX) return false;
    ++i;
  }
  if (i == 0 || v < 1) return false;
  s.remove_prefix(i);
  out = static_cast<int32_t>(v);
  return true;
}

// The offset of the first byte that does not begin a well-formed UTF-8
// character, or npos.
size_t firstInvalidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07;
    } else {
      return i;
    }
    if (s.size() - i <= n) return i;
    for (size_t k = 1; k <= n; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (cc & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
    i += n + 1;
  }
  return std::string_view::npos;
}

class Parser {
 public:
  Parser(const std::string &file, Messages &msgs, SourceError &err) : file_(file), msgs_(msgs), err_(err) {}

  bool run(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
      std::string logical;
      const long first = ++line_;
      // Join continued lines: an odd number of trailing backslashes.
      for (;;) {
        size_t nl = text.find('\n', pos);
        std::string_view phys = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        if (!phys.empty() && phys.back() == '\r') phys.remove_suffix(1);
        size_t slashes = 0;
        while (slashes < phys.size() && phys[phys.size() - 1 - slashes] == '\\') ++slashes;
        const bool message = !phys.empty() && std::isdigit(static_cast<unsigned char>(logical.empty() ? phys[0] : logical[0]));
        segments_.emplace_back(logical.size(), line_);
        if (message && slashes % 2 == 1 && pos < text.size()) {
          logical.append(phys.substr(0, phys.size() - 1));
          ++line_;
          continue;
        }
        logical.append(phys);
        break;
      }
      logical_ = logical.data();
      const bool ok = line(logical, first);
      segments_.clear();
      if (!ok) return false;
    }
    return true;
  }

 private:
  // The physical line of a byte of the current logical line.
  long lineOf(const char *p) const {
    const size_t off = static_cast<size_t>(p - logical_);
    long ln = segments_.empty() ? line_ : segments_.front().second;
    for (const auto &[start, physLine] : segments_)
      if (start <= off) ln = physLine;
    return ln;
  }

  bool fail(long line, std::string msg) {
    err_.file = file_;
    err_.line = line;
    err_.message = std::move(msg);
    return false;
  }

  bool line(std::string_view s, long ln) {
    if (s.empty()) return true;
    if (s[0] == '$') return directive(s.substr(1), ln);
    if (std::isdigit(static_cast<unsigned char>(s[0]))) return message(s, ln);
    return fail(ln, "expected a message number, a $ directive or an empty line");
  }

  bool directive(std::string_view s, long ln) {
    if (s.empty() || isBlank(s[0])) return true;  // comment
    size_t w = 0;
    while (w < s.size() && !isBlank(s[w])) ++w;
    const std::string_view word = s.substr(0, w);
    std::string_view rest = s.substr(w);
    while (!rest.empty() && isBlank(rest[0])) rest.remove_prefix(1);
    if (word == "set" || word == "delset") {
      int32_t n;
      if (!readNumber(rest, n) || (!rest.empty() && !isBlank(rest[0])))
        return fail(ln, "$" + std::string(word) + " needs a set number from 1 to 2147483647");
      if (word == "set") {
        set_ = n;
      } else {
        msgs_.erase(n);
      }
      return true;
    }
    if (word == "quote") {
      size_t len = 0;
      while (len < rest.size() && !isBlank(rest[len])) ++len;
      if (len > 1 || (len == 1 && static_cast<unsigned char>(rest[0]) >= 0x80))
        return fail(ln, "the quote character must be a single byte");
      quote_ = len == 0 ? '\0' : rest[0];
      if (quote_ == '\\') return fail(ln, "the backslash cannot be the quote character");
      return true;
    }
    return fail(ln, "unknown directive $" + std::string(word));
  }

  bool message(std::string_view s, long ln) {
    int32_t n;
    if (!readNumber(s, n)) return fail(ln, "message number must be from 1 to 2147483647");
    if (s.empty()) {  // number alone: delete
      auto it = msgs_.find(set_);
      if (it != msgs_.end()) it->second.erase(n);
      return true;
    }
    if (!isBlank(s[0])) return fail(ln, "expected a blank after the message number");
    s.remove_prefix(1);
    std::string text;
    std::vector<const char *> origin;  // where each byte of text came from
    if (!unescape(s, text, origin)) return false;
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) return fail(lineOf(origin[nul]), "message text contains a NUL byte");
    const size_t bad = firstInvalidUtf8(text);
    if (bad != std::string_view::npos) return fail(lineOf(origin[bad]), "message text is not valid UTF-8");
    msgs_[set_][n] = std::move(text);
    return true;
  }

  bool unescape(std::string_view s, std::string &out, std::vector<const char *> &origin) {
    const bool quoted = quote_ && !s.empty() && s[0] == quote_;
    size_t i = quoted ? 1 : 0;
    bool closed = false;
    size_t from = 0;  // where the character being written begins
    auto put = [&](char c) {
      out.push_back(c);
      origin.push_back(s.data() + from);
    };
    for (; i < s.size(); ++i) {
      char c = s[i];
      from = i;
      if (quoted && c == quote_) {
        closed = true;
        ++i;
        break;
      }
      if (c != '\\') {
        put(c);
        continue;
      }
      if (++i == s.size()) return fail(lineOf(s.data() + from), "backslash at the end of the text");
      c = s[i];
      switch (c) {
        case 'n': put('\n'); break;
        case 't': put('\t'); break;
        case 'v': put('\v'); break;
        case 'b': put('\b'); break;
        case 'r': put('\r'); break;
        case 'f': put('\f'); break;
        case '\\': put('\\'); break;
        default:
          if (c >= '0' && c <= '7') {
            int v = 0, k = 0;
            for (; k < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++k, ++i) v = v * 8 + (s[i] - '0');
            --i;
            if (v == 0) return fail(lineOf(s.data() + from), "\\0 would end the message text");
            if (v > 255) return fail(lineOf(s.data() + from), "octal escape above \\377");
            put(static_cast<char>(v));
          } else if (quote_ && c == quote_) {
            put(c);
          } else {
            return fail(lineOf(s.data() + from), std::string("unknown escape \\") + c);
          }
      }
    }
    if (quoted && !closed) return fail(lineOf(s.data() + s.size()), std::string("missing closing ") + quote_);
    for (; i < s.size(); ++i)
      if (!isBlank(s[i])) return fail(lineOf(s.data() + i), "text after the closing quote");
    return true;
  }

  const std::string &file_;
  Messages &msgs_;
  SourceError &err_;
  long line_ = 0;
  const char *logical_ = nullptr;                  // the logical line being read
  std::vector<std::pair<size_t, long>> segments_;  // its physical lines by offset
  int32_t set_ = 1;
  char quote_ = '\0';
};

}  // namespace

bool validUtf8(std::string_view text) { return firstInvalidUtf8(text) == std::string_view::npos; }

bool parseSource(std::string_view text, const std::string &file, Messages &msgs, SourceError &err) {
  return Parser(file, msgs, err).run(text);
}

std::string escapeText(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\v': out += "\\v"; break;
      case '\b': out += "\\b"; break;
      case '\r': out += "\\r"; break;
      case '\f': out += "\\f"; break;
      default:
        if (u < 0x20 || u == 0x7F) {
          const char oct[] = {'\\', char('0' + (u >> 6)), char('0' + ((u >> 3) & 7)), char('0' + (u & 7)), 0};
          out += oct;
        } else {
          out.push_back(c);
        }
    }
  }
  return out;
}

}  // namespace lmxgencat
