// XML records are read by other programs: whatever bytes arrive as message
// text, parameters, identifiers, property names and values, every record must
// parse, with one record element and the single product elements before it.
#include <cstdarg>

#include "../xml/xml_reader.h"
#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "fuzz_common.h"
#include "logging/event.h"
#include "lumex/logging.h"
#include "lumex/output.h"
#include "messages/i18msg.h"

static Event *newEvent(int32_t level, const char *catalog, const char *text, ...) {
  va_list args;
  va_start(args, text);
  Event *e = LmxVaAllocEvent(level, catalog, 1, 2, text, args);
  va_end(args);
  return e;
}

FUZZ_TARGET(in) {
  const auto flags = static_cast<unsigned>(in.next(1));
  // Zero-separated fields: catalog, text, id, time format, then parameter, name, value by turns.
  std::vector<std::string> f;
  for (bool more = true; more;) f.push_back(in.until(0, &more).str());
  while (f.size() < 4) f.emplace_back();

  ObjClass cls{};
  cls.kind = LMX_KIND_FORMATTER;
  Object fmt{};
  fmt.objClass = &cls;
  fmt.vars = LmxPDXMLFormatterFAllocVars();
  fmt.properties = lmxIntlAllocStringToStringMap();
  const char *keys[] = {"forceAsMessage", "forceAsTrace", "singleServer", "singleProduct",
                        "singleComponent", "singleProductId"};
  for (int i = 0; i < 6; ++i) {
    lmxIntlStringToStringMapPut(fmt.properties, keys[i], (flags >> i) & 1 ? "true" : "false");
    LmxPDXMLFormatterFCfgChange(&fmt, keys[i]);
  }
  fmt.b.dateTimeFormat = BasStringDup(f[3].c_str());

  Event *e = newEvent(static_cast<int32_t>(flags * 37) - 1000, f[0].c_str(), f[1].c_str(), 0);
  LmxSetEventIsMessage(e, (flags >> 6) & 1);
  if ((flags >> 7) & 1) LmxSetEventMessageId(e, f[2].c_str());
  static const char *placed[] = {"server", "product", "component", "productInstance",
                                 LMX_PROP_SRCFILE, LMX_PROP_SRCFUNCTION, "correlationId",
                                 "client", "serverFormat"};
  for (size_t i = 4; i < f.size(); i += 3) {
    lmxIntlAddI18MsgParmString(e->message, f[i].c_str());
    if (i + 1 < f.size()) {
      const std::string &name = f[i + 1];
      const std::string key = name.size() == 1 ? placed[static_cast<uint8_t>(name[0]) % 9] : name;
      LmxSetEventProp(e, key.c_str(), i + 2 < f.size() ? f[i + 2].c_str() : "");
    }
  }

  std::string out;
  for (int round = 0; round < 2; ++round) {
    char *record = LmxPDXMLFormatterFFormat(&fmt, e);
    fuzz::require(record != nullptr);
    out += record;
    BasMemoryFree(record);
  }
  xmltest::Parsed p = xmltest::parseRecords(out);
  fuzz::require(p.ok);
  size_t records = 0;
  for (const xmltest::Element &c : p.root.children) {
    const bool record = c.name == "Message" || c.name == "Trace";
    records += record;
    fuzz::require(record || records == 0);  // product elements only before the first
  }
  fuzz::require(records == 2);

  LmxFreeEvent(e);
  LmxPDXMLFormatterFFreeVars(fmt.vars);
  lmxIntlFreeStringToStringMap(fmt.properties);
  BasMemoryFree(fmt.b.dateTimeFormat);
}
