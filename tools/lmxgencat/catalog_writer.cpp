// Catalog image: header, all set records, then for each set its message
// records followed by its text block. Records are stored big-endian.
#include "catalog_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ilx/catalog.h"

namespace lmxgencat {
namespace {

template <typename Record>
void putRecord(std::string &image, Record r, void (*toNet)(Record *)) {
  toNet(&r);
  image.append(reinterpret_cast<const char *>(&r), sizeof r);
}

}  // namespace

bool buildCatalog(const Messages &msgs, std::string &image, std::string &err) {
  size_t numSets = 0;
  for (const auto &s : msgs) numSets += !s.second.empty();
  if (numSets == 0) {
    err = "no messages to write";
    return false;
  }
  // Lay out the offsets first.
  uint64_t off = sizeof(MCHeaderT) + numSets * sizeof(MCSetTDisk);
  std::string body;
  std::string records;
  for (const auto &[setNo, set] : msgs) {
    if (set.empty()) continue;
    const uint64_t msgOffset = off;
    off += set.size() * sizeof(MCMsgTDisk);
    const uint64_t textOffset = off;
    std::string texts;
    for (const auto &[msgNo, text] : set) {
      putRecord(body, MCMsgTDisk{msgNo, static_cast<int32_t>(texts.size()), 0}, hton_MCMsgTDisk);
      texts.append(text).push_back('\0');
      if (texts.size() > INT32_MAX) break;
    }
    off += texts.size();
    if (off > INT32_MAX) {
      err = "catalog would exceed 2 GiB";
      return false;
    }
    body += texts;
    const size_t index = records.size() / sizeof(MCSetTDisk);
    MCSetTDisk d{setNo, 0, static_cast<int32_t>(msgOffset), static_cast<int32_t>(textOffset),
                 static_cast<int32_t>(texts.size()), static_cast<int32_t>(set.size()), 0};
    d.nextSet = index + 1 == numSets ? 0 : static_cast<int32_t>(sizeof(MCHeaderT) + (index + 1) * sizeof d);
    putRecord(records, d, hton_MCSetTDisk);
  }
  MCHeaderT h{};
  std::memcpy(h.magic, MC_MAGIC, MC_MAGIC_LEN);
  h.version = MC_VERSION;
  h.numSets = static_cast<int32_t>(numSets);
  h.firstSet = sizeof(MCHeaderT);
  image.clear();
  putRecord(image, h, hton_MCHeaderT);
  image += records;
  image += body;
  return true;
}

namespace {

// The file a name finally stands for: symbolic links followed (relative
// targets from the link's own directory), so that writing a catalog through
// a link replaces the link's target and keeps the link.
bool resolveLinks(const std::string &path, std::string &out, std::string &err) {
  out = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(out.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(out.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) {
      err = "cannot read the link " + out + ": " + std::strerror(n < 0 ? errno : ENAMETOOLONG);
      return false;
    }
    target.resize(static_cast<size_t>(n));
    const size_t slash = out.rfind('/');
    if (target[0] != '/' && slash != std::string::npos) target = out.substr(0, slash + 1) + target;
    out = target;
  }
  err = "cannot write " + path + ": " + std::strerror(ELOOP);
  return false;
}

}  // namespace

bool writeFileAtomically(const std::string &path, const std::string &data, std::string &err) {
  std::string file;
  if (!resolveLinks(path, file, err)) return false;
  std::string tmp = file + ".XXXXXX";
  const int fd = mkstemp(tmp.data());
  if (fd < 0) {
    err = "cannot create a file beside " + file + ": " + std::strerror(errno);
    return false;
  }
  // A file that is replaced keeps its permissions (and, where allowed, its
  // owner); a new one gets the usual 0666 less the umask.
  struct stat old;
  bool ok;
  if (stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ok = fchmod(fd, old.st_mode & 07777) == 0;
    if (ok && fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not permitted for an ordinary user: the file becomes the writer's.
    }
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    ok = fchmod(fd, 0666 & ~mask) == 0;
  }
  for (size_t done = 0; ok && done < data.size();) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && fsync(fd) == 0;
  const int saved = errno;
  ok = close(fd) == 0 && ok;
  if (ok && rename(tmp.c_str(), file.c_str()) == 0) return true;
  err = "cannot write " + file + ": " + std::strerror(ok ? errno : saved);
  unlink(tmp.c_str());
  return false;
}

bool readCatalog(const std::string &path, Messages &msgs, std::string &err) {
  // A name without a slash would be searched along NLSPATH.
  const std::string p = path.find('/') == std::string::npos ? "./" + path : path;
  MCCatalogT *cat = ilx_catopen(p.c_str(), 0, nullptr);
  if (!cat) {
    err = path + ": not a readable message catalog";
    return false;
  }
  for (int32_t i = 0; i < cat->numSets; ++i) {
    MCSetT *set = ilx::catalogFindSet(cat, cat->sets[i].setNo);
    if (!set) continue;
    auto &out = msgs[set->setNo];
    for (int32_t k = 0; k < set->msgCount; ++k) out[set->msgs[k].msgNo] = msgUtf8(set, &set->msgs[k]);
  }
  ilx_catclose(cat);
  return true;
}

std::string formatSource(const Messages &msgs) {
  std::string out;
  for (const auto &[setNo, set] : msgs) {
    out += "$set " + std::to_string(setNo) + "\n";
    for (const auto &[msgNo, text] : set) out += std::to_string(msgNo) + " " + escapeText(text) + "\n";
  }
  return out;
}

}  // namespace lmxgencat
