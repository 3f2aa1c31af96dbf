// lmxgencat: compiles XPG message source into a binary message catalog, and
// dumps a catalog back to source.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "catalog_writer.h"
#include "msg_source.h"

namespace {

const char kHelp[] = R"(Usage: lmxgencat [-o] [-r|--replace] CATALOG SOURCE...
       lmxgencat -d|--dump CATALOG [OUTPUT]
       lmxgencat -h|--help

Compile message source files into the binary message catalog CATALOG, or
write a catalog back as message source (to OUTPUT, or standard output).

Compiling merges the SOURCE files, read in order ("-" is standard input),
into the messages CATALOG already holds: a message defined again replaces
the earlier text, the other messages of the catalog are kept, and $delset
and number-only lines remove sets and messages of the catalog too. With
-r or --replace the catalog is made from the sources alone. An existing
CATALOG that is not a message catalog is left alone (an empty file counts
as an empty catalog; --replace overwrites anything). The catalog is written
to a temporary file beside CATALOG that replaces CATALOG only when it is
complete: on any error CATALOG is left as it was and nothing else remains.
A replaced catalog keeps its permissions; when CATALOG is a symbolic link
the file it points to is replaced and the link stays.

Message source (UTF-8 text, one entry per line):
  $set N [comment]     the following messages belong to set N (1 to
                       2147483647); messages before the first $set go to set 1
  $delset N [comment]  remove set N and its messages defined so far
  $ comment            a "$" followed by a blank (or alone) is a comment
  $quote C             message texts may be enclosed in the character C
                       (the quotes are not part of the text, and C inside
                       the text is written \C); "$quote" alone turns it off
  N text               message N (1 to 2147483647) of the current set: the
                       text starts after the single blank following N
  N                    (number alone) remove message N of the current set
  empty lines are ignored; a trailing carriage return is dropped.
  The quote character is a single byte other than the backslash.
Escapes in texts: \n newline, \t tab, \v vertical tab, \b backspace,
  \r carriage return, \f form feed, \\ backslash, \ddd the byte with octal
  value ddd (1 to 3 digits, 1 to 377). A backslash at the end of a message
  line continues the text on the next line.

Errors are reported as FILE:LINE: message, and the exit status is 1: an
unknown directive or escape, a bad or missing number, a missing blank after
the message number, a missing closing quote or text after it, text that is
not valid UTF-8 (reported at the line that holds the bad byte), a text
containing a NUL byte, a source without messages.
Usage errors exit with status 2.

Catalog format: a 28-byte header ("*nazgul*", version 1, number of sets,
offset of the first set record), a chain of 28-byte set records in ascending
set order (number, next record, message records, text block offset and
length, message count, invalid mark), and per set its 12-byte message records
in ascending message order (number, text offset within the set's text block,
a word kept with the message) followed by the NUL-terminated texts. Every
integer is stored big-endian. Applications find catalogs with ilx_catopen
along NLSPATH (for instance NLSPATH=/usr/share/myapp/%L/%N.cat) and read
messages with ilx_catgets.

Dumping reads the catalog with the library's own checked reader and writes
one "$set N" block per set with every message escaped so that compiling the
output gives the same messages again. A catalog with a text that is not
UTF-8 (one made by another compiler from text in another code set) cannot
be written as source that compiles again: dumping it fails and names the
first such message.
)";

bool readAll(const std::string &name, std::string &out, std::string &err) {
  if (name == "-") {
    std::ostringstream ss;
    ss << std::cin.rdbuf();
    out = ss.str();
    return true;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    err = name + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) {
    err = name + ": read error";
    return false;
  }
  out = ss.str();
  return true;
}

int usage() {
  std::fputs("usage: lmxgencat [-o] [-r] CATALOG SOURCE... | --dump CATALOG [OUTPUT] | --help\n", stderr);
  return 2;
}

int fail(const std::string &msg) {
  std::fprintf(stderr, "lmxgencat: %s\n", msg.c_str());
  return 1;
}

int dump(const std::vector<std::string> &args) {
  if (args.empty() || args.size() > 2) return usage();
  lmxgencat::Messages msgs;
  std::string err;
  if (!lmxgencat::readCatalog(args[0], msgs, err)) return fail(err);
  for (const auto &[setNo, set] : msgs)
    for (const auto &[msgNo, text] : set)
      if (!lmxgencat::validUtf8(text))
        return fail(args[0] + ": message " + std::to_string(msgNo) + " of set " + std::to_string(setNo) +
                    " is not UTF-8 text; its source would not compile again");
  const std::string text = lmxgencat::formatSource(msgs);
  if (args.size() == 2) return lmxgencat::writeFileAtomically(args[1], text, err) ? 0 : fail(err);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : fail("cannot write standard output");
}

// The messages a catalog already holds: none when it does not exist or is
// empty; false when the file is something else.
bool loadExisting(const std::string &path, lmxgencat::Messages &msgs, std::string &err) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return true;
    err = path + ": " + std::strerror(errno);
    return false;
  }
  if (S_ISREG(st.st_mode) && st.st_size == 0) return true;
  if (lmxgencat::readCatalog(path, msgs, err)) return true;
  err = path + ": not a message catalog; it is left alone (--replace overwrites it)";
  return false;
}

int compile(const std::vector<std::string> &args, bool replace) {
  if (args.size() < 2) return usage();
  lmxgencat::Messages msgs;
  std::string err;
  if (!replace && !loadExisting(args[0], msgs, err)) return fail(err);
  for (size_t i = 1; i < args.size(); ++i) {
    std::string text;
    if (!readAll(args[i], text, err)) return fail(err);
    lmxgencat::SourceError se;
    if (!lmxgencat::parseSource(text, args[i] == "-" ? "<stdin>" : args[i], msgs, se)) {
      std::fprintf(stderr, "%s\n", se.str().c_str());
      return 1;
    }
  }
  std::string image;
  if (!lmxgencat::buildCatalog(msgs, image, err)) return fail(err);
  return lmxgencat::writeFileAtomically(args[0], image, err) ? 0 : fail(err);
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usage();
  const std::string first = args[0];
  if (first == "-h" || first == "--help") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (first == "-d" || first == "--dump") return dump({args.begin() + 1, args.end()});
  bool replace = false;
  while (!args.empty() && (args[0] == "-o" || args[0] == "-r" || args[0] == "--replace")) {
    replace = replace || args[0] != "-o";
    args.erase(args.begin());
  }
  if (!args.empty() && args[0].size() > 1 && args[0][0] == '-') return usage();
  return compile(args, replace);
}
