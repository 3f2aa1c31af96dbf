// Byte order of catalog records: every 32-bit field is stored big-endian.
#include <arpa/inet.h>

#include "lumex/ilx.h"

namespace {

using Conv = uint32_t (*)(uint32_t);

uint32_t toNet(uint32_t v) { return htonl(v); }
uint32_t toHost(uint32_t v) { return ntohl(v); }

template <typename... Fields>
void convert(Conv conv, Fields &...fields) {
  ((fields = static_cast<int32_t>(conv(static_cast<uint32_t>(fields)))), ...);
}

void header(MCHeaderT *h, Conv c) {
  if (h) convert(c, h->version, h->reserved1, h->reserved2, h->numSets, h->firstSet);
}
void set(MCSetTDisk *s, Conv c) {
  if (s) convert(c, s->setNo, s->nextSet, s->msgOffset, s->textOffset, s->textLen, s->numMsgs, s->invalid);
}
void msg(MCMsgTDisk *m, Conv c) {
  if (m) convert(c, m->msgNo, m->textOffset, m->extra);
}

}  // namespace

extern "C" {

void hton_MCHeaderT(MCHeaderT *h) { header(h, toNet); }
void ntoh_MCHeaderT(MCHeaderT *h) { header(h, toHost); }
void hton_MCSetTDisk(MCSetTDisk *s) { set(s, toNet); }
void ntoh_MCSetTDisk(MCSetTDisk *s) { set(s, toHost); }
void hton_MCMsgTDisk(MCMsgTDisk *m) { msg(m, toNet); }
void ntoh_MCMsgTDisk(MCMsgTDisk *m) { msg(m, toHost); }

}  // extern "C"

static_assert(sizeof(MCHeaderT) == 28, "header record is 28 bytes on disk");
static_assert(sizeof(MCSetTDisk) == 28, "set record is 28 bytes on disk");
static_assert(sizeof(MCMsgTDisk) == 12, "message record is 12 bytes on disk");
