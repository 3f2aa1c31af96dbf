// The texts of the toolkit's message table, placeholders made by rule.
#include "messages/msg_table.h"

#include <cstddef>

namespace lmx {
namespace {

struct Row {
  int32_t key;
  const char *text;
};

constexpr Row kRows[] = {
#define LMX_MSG_ROW(key, name, text) {key, text "\r"},
    LMX_MESSAGE_TABLE(LMX_MSG_ROW)
#undef LMX_MSG_ROW
};

constexpr bool rowsAscendAndFit() {
  int32_t last = 0;
  for (const Row &r : kRows) {
    if (r.key <= last || r.key > kMsgTableSize) return false;
    last = r.key;
  }
  return true;
}
static_assert(rowsAscendAndFit(), "message table keys must ascend within the table");

constexpr size_t kRowCount = sizeof kRows / sizeof kRows[0];
constexpr size_t kPlaceholders = kMsgTableSize - kRowCount;
static_assert(kPlaceholders == 98, "the table holds 98 placeholders");

// For each key: its row (slot >= 0) or its placeholder (slot -1 - n holds
// "unusedNNN\r" with NNN = n), numbered in ascending key order.
struct Table {
  char unused[kPlaceholders][11];
  int16_t slot[kMsgTableSize + 1];
};

constexpr Table makeTable() {
  Table t{};
  size_t row = 0, n = 0;
  for (int32_t key = 1; key <= kMsgTableSize; ++key) {
    if (row < kRowCount && kRows[row].key == key) {
      t.slot[key] = static_cast<int16_t>(row++);
      continue;
    }
    char *p = t.unused[n];
    const char word[] = "unused";
    for (int i = 0; i < 6; ++i) p[i] = word[i];
    p[6] = static_cast<char>('0' + n / 100);
    p[7] = static_cast<char>('0' + n / 10 % 10);
    p[8] = static_cast<char>('0' + n % 10);
    p[9] = '\r';
    p[10] = '\0';
    t.slot[key] = static_cast<int16_t>(-1 - static_cast<int>(n++));
  }
  return t;
}

constexpr Table kTable = makeTable();

}  // namespace

const char *msgText(int32_t key) {
  if (key < 1 || key > kMsgTableSize) return nullptr;
  int slot = kTable.slot[key];
  return slot >= 0 ? kRows[slot].text : kTable.unused[-1 - slot];
}

}  // namespace lmx
