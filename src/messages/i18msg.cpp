// Internationalized messages: allocation, copies, parameters, binding.
#include "messages/i18msg.h"

#include "collections/collections_intl.h"
#include "cx/api_lock.h"

namespace {

// Replaces an owned text with a copy of `text` (null allowed).
void replaceText(char **slot, const char *text) {
  BasMemoryFree(*slot);
  *slot = text != nullptr ? BasStringDup(text) : nullptr;
}

// Appends a parameter built on local storage; the list keeps its own copy.
void addParm(I18Msg *msg, const Parm &parm) {
  ParmList *list = lmxGetI18MsgParmList(msg);
  if (list != nullptr) lmxIntlParmListAppend(list, &parm);
}

Parm makeParm(int32_t type) {
  Parm p{};
  p.type = type;
  return p;
}

}  // namespace

extern "C" {

I18Msg *lmxIntlAllocI18Msg(const char *catalog, int32_t set, int32_t key, const char *text) {
  auto *msg = static_cast<I18Msg *>(BasMemoryCalloc(1, sizeof(I18Msg)));
  if (msg == nullptr) return nullptr;
  msg->set = set;
  msg->key = key;
  msg->catalog = catalog != nullptr ? BasStringDup(catalog) : nullptr;
  msg->text = text != nullptr ? BasStringDup(text) : nullptr;
  if ((catalog != nullptr && msg->catalog == nullptr) || (text != nullptr && msg->text == nullptr)) {
    lmxIntlFreeI18Msg(msg);
    return nullptr;
  }
  return msg;
}

I18Msg *lmxIntlCopyI18Msg(const I18Msg *msg) {
  if (msg == nullptr) return nullptr;
  I18Msg *copy = lmxIntlAllocI18Msg(msg->catalog, msg->set, msg->key, msg->text);
  if (copy == nullptr || msg->parameters == nullptr) return copy;
  copy->parameters = lmxIntlCopyParmList(msg->parameters);
  if (copy->parameters == nullptr) {
    lmxIntlFreeI18Msg(copy);
    return nullptr;
  }
  return copy;
}

void lmxIntlFreeI18Msg(I18Msg *msg) {
  if (msg == nullptr) return;
  BasMemoryFree(msg->catalog);
  BasMemoryFree(msg->text);
  lmxIntlFreeParmList(msg->parameters);
  BasMemoryFree(msg);
}

ParmList *lmxGetI18MsgParmList(I18Msg *msg) {
  if (msg == nullptr) return nullptr;
  if (msg->parameters == nullptr) msg->parameters = lmxIntlAllocParmList();
  return msg->parameters;
}

void lmxIntlAddI18MsgParmBool(I18Msg *msg, unsigned char value) {
  Parm p = makeParm(LMX_PARM_BOOL);
  p.value.b = value;
  addParm(msg, p);
}

void lmxIntlAddI18MsgParmChar(I18Msg *msg, char value) {
  Parm p = makeParm(LMX_PARM_CHAR);
  p.value.c = value;
  addParm(msg, p);
}

void lmxIntlAddI18MsgParmInt(I18Msg *msg, int32_t value) {
  Parm p = makeParm(LMX_PARM_INT);
  p.value.i = value;
  addParm(msg, p);
}

void lmxIntlAddI18MsgParmLong(I18Msg *msg, int32_t value) {
  Parm p = makeParm(LMX_PARM_LONG);
  p.value.l = value;
  addParm(msg, p);
}

void lmxIntlAddI18MsgParmFloat(I18Msg *msg, float value) {
  Parm p = makeParm(LMX_PARM_FLOAT);
  p.value.f = value;
  addParm(msg, p);
}

void lmxIntlAddI18MsgParmDouble(I18Msg *msg, double value) {
  Parm p = makeParm(LMX_PARM_DOUBLE);
  p.value.d = value;
  addParm(msg, p);
}

void lmxIntlAddI18MsgParmString(I18Msg *msg, const char *value) {
  Parm p = makeParm(LMX_PARM_STRING);
  p.value.s = const_cast<char *>(value);
  addParm(msg, p);
}

// The catalog is opened for every binding: nothing is kept here.
char *lmxIntlBindI18Msg(I18Msg *msg) {
  if (msg == nullptr) return nullptr;
  char *result = nullptr;
  if (msg->catalog != nullptr) {
    MCCatalogT *cat = ilx_catopen(msg->catalog, 0, nullptr);
    const char *text = ilx_catgets(cat, msg->set, msg->key, msg->text, lmxI18GetCsUTF8());
    result = text != nullptr ? LmxAprintf(text, msg->parameters) : nullptr;
    if (cat != nullptr) ilx_catclose(cat);
  } else if (msg->text != nullptr) {
    result = LmxAprintf(msg->text, msg->parameters);
  }
  if (result == nullptr && msg->text != nullptr) result = BasStringDup(msg->text);
  return result;
}

void LmxSetI18MsgCat(I18Msg *msg, const char *catalog) {
  if (msg != nullptr) replaceText(&msg->catalog, catalog);
}

void LmxSetI18MsgSet(I18Msg *msg, int32_t set) {
  if (msg != nullptr) msg->set = set;
}

void LmxSetI18MsgKey(I18Msg *msg, int32_t key) {
  if (msg != nullptr) msg->key = key;
}

void LmxSetI18MsgTxt(I18Msg *msg, const char *text) {
  if (msg != nullptr) replaceText(&msg->text, text);
}

// Locked shells.
I18Msg *LmxAllocI18Msg(const char *catalog, int32_t set, int32_t key, const char *text) {
  return lmx::locked([&] { return lmxIntlAllocI18Msg(catalog, set, key, text); });
}
I18Msg *LmxCopyI18Msg(const I18Msg *msg) { return lmx::locked([&] { return lmxIntlCopyI18Msg(msg); }); }
void LmxFreeI18Msg(I18Msg *msg) { lmx::locked([&] { lmxIntlFreeI18Msg(msg); }); }
void LmxAddI18MsgParmBool(I18Msg *msg, unsigned char value) { lmx::locked([&] { lmxIntlAddI18MsgParmBool(msg, value); }); }
void LmxAddI18MsgParmChar(I18Msg *msg, char value) { lmx::locked([&] { lmxIntlAddI18MsgParmChar(msg, value); }); }
void LmxAddI18MsgParmInt(I18Msg *msg, int32_t value) { lmx::locked([&] { lmxIntlAddI18MsgParmInt(msg, value); }); }
void LmxAddI18MsgParmLong(I18Msg *msg, int32_t value) { lmx::locked([&] { lmxIntlAddI18MsgParmLong(msg, value); }); }
void LmxAddI18MsgParmFloat(I18Msg *msg, float value) { lmx::locked([&] { lmxIntlAddI18MsgParmFloat(msg, value); }); }
void LmxAddI18MsgParmDouble(I18Msg *msg, double value) { lmx::locked([&] { lmxIntlAddI18MsgParmDouble(msg, value); }); }
void LmxAddI18MsgParmString(I18Msg *msg, const char *value) { lmx::locked([&] { lmxIntlAddI18MsgParmString(msg, value); }); }
char *LmxBindI18Msg(I18Msg *msg) { return lmx::locked([&] { return lmxIntlBindI18Msg(msg); }); }

}  // extern "C"
