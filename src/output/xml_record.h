// The pieces of an XML record, written through a checked writer. The
// exported lmxPDXMLEmit... operations and the formatter share them.
#pragma once

#include <cstdint>

#include "output/xml_writer.h"

struct Event;

namespace lmx {

// The text of an event property as the event holds it (not a copy), or null
// when the event does not have it.
const char *eventPropText(const Event *event, const char *key);

// Server, ProductId, Component, ProductInstance: each when its flag is true
// and the event has the property.
void xmlProductInfo(XmlWriter &w, const Event *event, bool component, bool product,
                    bool productInstance, bool server);
void xmlLevel(XmlWriter &w, int32_t level);
bool xmlSource(XmlWriter &w, const Event *event);
void xmlTranslationInfo(XmlWriter &w, const Event *event, const char *catalog);
// The LogAttribs element of the free attributes, if there are any.
void xmlFreeAttributes(XmlWriter &w, const Event *event);

}  // namespace lmx
