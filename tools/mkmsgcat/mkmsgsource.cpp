// mkmsgsource: writes the toolkit's message table (src/messages/msg_table.h)
// as message source for lmxgencat: catalog "lmxmsg", set 1, one line per
// key from 1 to 131, placeholders included, each text with its carriage
// return written as an escape.
//
//   mkmsgsource OUTPUT.msg
#include <cstdio>
#include <fstream>
#include <iostream>

#include "messages/msg_table.h"
#include "msg_source.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: mkmsgsource OUTPUT.msg\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << "$ The Lumex toolkit's own messages, generated from its message table.\n"
      << "$set " << lmx::kToolkitSet << "\n";
  for (int32_t key = 1; key <= lmx::kMsgTableSize; ++key)
    out << key << ' ' << lmxgencat::escapeText(lmx::msgText(key)) << '\n';
  out.close();
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
