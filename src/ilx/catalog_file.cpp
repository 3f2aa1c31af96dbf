// Reading catalog files: the header and set chain when a catalog is opened,
// and a set's messages on its first look-up.
//
// Everything read is checked against the file and the set's text block, so a
// damaged or hostile file can only make sets or messages missing. Rules
// enforced beyond the record layout, each making the offending record missing:
// - sets along the chain carry ascending, non-negative numbers; a set record
//   reaches outside the file;
// - messages of a set carry ascending numbers of at least 1; a message text
//   starts outside the text block or has no NUL inside it; the converted
//   copies of the texts (2n + 1 bytes each) would not fit their areas, which
//   happens only when texts overlap.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "ilx/catalog.h"

namespace ilx {
namespace {

constexpr int64_t kSetSize = sizeof(MCSetTDisk);
constexpr int64_t kMsgSize = sizeof(MCMsgTDisk);

// Reads exactly n bytes at offset off; false on a short read or error.
bool readAt(int fd, void *buf, size_t n, int64_t off) {
  if (off < 0) return false;
  auto *p = static_cast<char *>(buf);
  while (n > 0) {
    ssize_t got = pread(fd, p, n, static_cast<off_t>(off));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    off += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

// True when [off, off + len) lies inside a file of `size` bytes.
bool inFile(int64_t off, int64_t len, int64_t size) {
  return off >= 0 && len >= 0 && off <= size && len <= size - off;
}

// A set record that may be kept after `prevSetNo` (-1 before the first).
bool usableSet(const MCSetTDisk &d, int32_t prevSetNo, int64_t size) {
  return d.invalid == 0 && d.setNo >= 0 && d.setNo > prevSetNo &&
         inFile(d.textOffset, d.textLen, size) && d.numMsgs >= 0 &&
         inFile(d.msgOffset, kMsgSize * d.numMsgs, size);
}

void freeSets(MCCatalogT *cat) {
  for (int32_t i = 0; i < cat->numSets; ++i) {
    BasMemoryFree(cat->sets[i].block);
    BasMemoryFree(cat->sets[i].index.slots);
  }
  BasMemoryFree(cat->sets);
  BasMemoryFree(cat->setIndex.slots);
}

}  // namespace

MCCatalogT *catalogRead(int fd, int32_t flags) {
  struct stat st;
  MCHeaderT h;
  if (fstat(fd, &st) != 0 || !readAt(fd, &h, sizeof h, 0)) {
    close(fd);
    return nullptr;
  }
  ntoh_MCHeaderT(&h);
  const int64_t size = st.st_size;
  // Every counted set needs a record of its own inside the file.
  if (std::memcmp(h.magic, MC_MAGIC, MC_MAGIC_LEN) != 0 || h.version != MC_VERSION ||
      h.numSets < 1 || h.numSets > size / kSetSize) {
    close(fd);
    return nullptr;
  }
  auto *cat = allocateZeroed<MCCatalogT>(1);
  auto *sets = allocateZeroed<MCSetT>(static_cast<size_t>(h.numSets));
  if (!cat || !sets) {
    BasMemoryFree(cat);
    BasMemoryFree(sets);
    close(fd);
    return nullptr;
  }
  // A chain longer than the number of places a record can start has a cycle.
  int64_t budget = size - kSetSize + 1;
  int32_t found = 0;
  int32_t prev = -1;
  int64_t off = h.firstSet;
  while (found < h.numSets) {
    MCSetTDisk d;
    if (budget-- <= 0 || !readAt(fd, &d, sizeof d, off)) {
      BasMemoryFree(sets);
      BasMemoryFree(cat);
      close(fd);
      return nullptr;
    }
    ntoh_MCSetTDisk(&d);
    if (usableSet(d, prev, size)) {
      MCSetT &s = sets[found++];
      s.setNo = d.setNo;
      s.nextSet = d.nextSet;
      s.msgOffset = d.msgOffset;
      s.textOffset = d.textOffset;
      s.textLen = d.textLen;
      s.numMsgs = d.numMsgs;
      s.loadState = -1;
      prev = d.setNo;
    }
    off = d.nextSet;
  }
  if (!indexBuild(&cat->setIndex, sets, h.numSets, &MCSetT::setNo)) {
    BasMemoryFree(sets);
    BasMemoryFree(cat);
    close(fd);
    return nullptr;
  }
  cat->flags = flags;
  cat->fd = fd;
  cat->numSets = h.numSets;
  cat->sets = sets;
  return cat;
}

void catalogFree(MCCatalogT *cat) {
  if (!cat) return;
  close(cat->fd);
  freeSets(cat);
  BasMemoryFree(cat);
}

bool catalogLoadSet(MCCatalogT *cat, MCSetT *set) {
  const size_t count = static_cast<size_t>(set->numMsgs);
  const size_t textLen = static_cast<size_t>(set->textLen);
  const size_t area = 2 * textLen;
  // Layout: message array | text block | default-code-set area | scratch area;
  // a message's scratch text lies `area` bytes after its default-code-set text.
  auto *block = allocate<char>(count * sizeof(MCMsgT) + textLen + 2 * area + 1);
  auto *disk = allocate<MCMsgTDisk>(count + 1);  // one more: an empty set still gets a block
  const size_t textAt = count * sizeof(MCMsgT);
  if (!block || !disk || !readAt(cat->fd, block + textAt, textLen, set->textOffset) ||
      !readAt(cat->fd, disk, count * sizeof(MCMsgTDisk), set->msgOffset)) {
    BasMemoryFree(block);
    BasMemoryFree(disk);
    return false;
  }
  auto *msgs = reinterpret_cast<MCMsgT *>(block);
  const char *text = block + textAt;
  char *local = block + textAt + textLen;
  size_t used = 0;  // running offset in the two conversion areas
  int32_t kept = 0;
  int32_t prev = 0;
  for (size_t i = 0; i < count; ++i) {
    MCMsgTDisk d = disk[i];
    ntoh_MCMsgTDisk(&d);
    if (d.msgNo <= prev || d.textOffset < 0 || static_cast<size_t>(d.textOffset) >= textLen) continue;
    const char *t = text + d.textOffset;
    const void *nul = std::memchr(t, '\0', textLen - static_cast<size_t>(d.textOffset));
    if (!nul) continue;
    const size_t n = static_cast<size_t>(static_cast<const char *>(nul) - t);
    if (2 * n + 1 > area - used) continue;
    MCMsgT &m = msgs[kept++];
    m.msgNo = d.msgNo;
    m.textOffset = d.textOffset;
    m.localOffset = static_cast<uint32_t>(used);
    m.extra = d.extra;
    const size_t cap = 2 * n + 1;
    ilx_from_utf8(nullptr, t, -1, local + used, cap > INT32_MAX ? INT32_MAX : static_cast<int32_t>(cap));
    used += 2 * n + 1;
    prev = d.msgNo;
  }
  BasMemoryFree(disk);
  if (!indexBuild(&set->index, msgs, kept, &MCMsgT::msgNo)) {
    BasMemoryFree(block);
    return false;
  }
  set->block = block;
  set->msgs = msgs;
  set->text = text;
  set->local = local;
  set->msgCount = kept;
  set->loadState = 0;
  return true;
}

}  // namespace ilx
