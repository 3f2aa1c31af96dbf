// The pieces of an XML record: product identity, level names, source,
// catalog coordinates with the parameters, free attributes.
#include "output/xml_record.h"

#include <cstring>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "logging/event.h"
#include "lumex/output.h"
#include "messages/parm_format.h"

namespace {

struct LevelName {
  int32_t level;
  const char *name;
};
// Both FATAL and ERROR are written "ERROR"; any other level "OTHER".
constexpr LevelName kLevelNames[] = {
    {LMX_LEVEL_DEBUG_MAX, "MAX"}, {LMX_LEVEL_DEBUG_MID, "MID"}, {LMX_LEVEL_DEBUG_MIN, "MIN"},
    {LMX_LEVEL_INFO, "INFO"},     {LMX_LEVEL_WARN, "WARN"},     {LMX_LEVEL_ERROR, "ERROR"},
    {LMX_LEVEL_FATAL, "ERROR"},
};

// Properties that have a place of their own in the record.
constexpr const char *kPlacedProperties[] = {
    "server",           "serverFormat",     "product",
    "component",        "productInstance",  LMX_PROP_SRCFILE,
    LMX_PROP_SRCFUNCTION, LMX_PROP_SRCLINE, "threadId",
    "processId",        "correlationId",    "client",
};

// One product element: blank, <Tag>value</Tag>, line feed.
void productElement(lmx::XmlWriter &w, const Event *event, const char *key, const char *tag) {
  const char *value = lmx::eventPropText(event, key);
  if (value == nullptr) return;
  w.raw(" <").raw(tag).raw(">").escaped(value).raw("</").raw(tag).raw(">\n");
}

}  // namespace

namespace lmx {

const char *eventPropText(const Event *event, const char *key) {
  if (event == nullptr || key == nullptr) return nullptr;
  LmxLink *entry = lmxIntlStringToStringMapGetNode(event->properties, key);
  return entry != nullptr ? static_cast<const char *>(mapEntry(entry)->value) : nullptr;
}

void xmlProductInfo(XmlWriter &w, const Event *event, bool component, bool product,
                    bool productInstance, bool server) {
  const char *host = server ? eventPropText(event, "server") : nullptr;
  if (host != nullptr) {
    w.raw(" <Server Format=\"").escaped(eventPropText(event, "serverFormat")).raw("\">");
    w.escaped(host).raw("</Server>\n");
  }
  if (product) productElement(w, event, "product", "ProductId");
  if (component) productElement(w, event, "component", "Component");
  if (productInstance) productElement(w, event, "productInstance", "ProductInstance");
}

void xmlLevel(XmlWriter &w, int32_t level) {
  for (const LevelName &row : kLevelNames) {
    if (row.level == level) {
      w.raw(row.name);
      return;
    }
  }
  w.raw("OTHER");
}

bool xmlSource(XmlWriter &w, const Event *event) {
  const char *file = eventPropText(event, LMX_PROP_SRCFILE);
  if (file == nullptr) return false;
  w.raw(" <Source FileName=\"").escaped(file);
  const char *method = eventPropText(event, LMX_PROP_SRCFUNCTION);
  if (method != nullptr) w.raw("\" Method=\"").escaped(method);
  unsigned char found = 0;
  int32_t line = LmxGetEventPropInt(event, LMX_PROP_SRCLINE, &found);
  if (found) w.raw("\" Line=\"").number(line);
  w.raw("\"/>\n");
  return true;
}

void xmlTranslationInfo(XmlWriter &w, const Event *event, const char *catalog) {
  if (event == nullptr || event->message == nullptr) return;
  const I18Msg *msg = event->message;
  w.raw(" <TranslationInfo Type=\"XPG4\" Catalog=\"").escaped(catalog);
  w.raw("\" MsgKey=\"").number(msg->key).raw("\" SetId=\"").number(msg->set).raw("\">");
  for (LmxLink *at = lmxIntlParmListIterator(msg->parameters); at != nullptr;
       at = lmxIntlParmListIterNext(at)) {
    char *text = lmxParmToUTF8Str(nullptr, static_cast<const Parm *>(at->item));
    w.raw("<Param><![CDATA[").section(text).raw("]]></Param>");
    BasMemoryFree(text);
  }
  w.raw("</TranslationInfo>\n");
}

void xmlFreeAttributes(XmlWriter &w, const Event *event) {
  bool any = false;
  for (LmxLink *at = lmxIntlStringToStringMapIterator(event->properties); at != nullptr;
       at = lmxIntlStringToStringMapIterNext(at)) {
    const char *key = static_cast<const char *>(at->item);
    if (!lmxPDXMLCheckKey(key)) continue;
    if (!any) w.raw(" <LogAttribs>");
    any = true;
    w.raw("<Key>").escaped(key).raw("</Key><Value>");
    w.escaped(static_cast<const char *>(mapEntry(at)->value)).raw("</Value>");
  }
  if (any) w.raw("</LogAttribs>\n");
}

}  // namespace lmx

extern "C" {

unsigned char lmxPDXMLCheckKey(const char *name) {
  if (name == nullptr) return 0;
  for (const char *placed : kPlacedProperties) {
    if (std::strcmp(name, placed) == 0) return 0;
  }
  return 1;
}

void lmxPDXMLEmitProductInfo(CxStringBuff *buff, Event *event, unsigned char component,
                             unsigned char product, unsigned char productInstance,
                             unsigned char server) {
  if (buff == nullptr) return;
  lmx::XmlWriter w{buff};
  lmx::xmlProductInfo(w, event, component, product, productInstance, server);
}

void lmxPDXMLEmitLevel(CxStringBuff *buff, int32_t level) {
  if (buff == nullptr) return;
  lmx::XmlWriter w{buff};
  lmx::xmlLevel(w, level);
}

unsigned char lmxPDXMLEmitSource(CxStringBuff *buff, Event *event) {
  if (buff == nullptr) return 0;
  lmx::XmlWriter w{buff};
  return lmx::xmlSource(w, event);
}

void lmxPDXMLEmitTranslationInfo(CxStringBuff *buff, Event *event, const char *catalog) {
  if (buff == nullptr) return;
  lmx::XmlWriter w{buff};
  lmx::xmlTranslationInfo(w, event, catalog);
}

}  // extern "C"
