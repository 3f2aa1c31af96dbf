// XML records are read by other programs: whatever bytes arrive as message
// text, parameters, identifiers, property names and values, every record
// must parse, with exactly one record element, and the single product
// elements only in front of it.
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../xml/xml_reader.h"
#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "logging/event.h"
#include "lumex/logging.h"
#include "lumex/output.h"
#include "messages/i18msg.h"

namespace {

// The input's fields, split at zero bytes.
std::vector<std::string> fields(const uint8_t *data, size_t size) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      out.emplace_back();
    } else {
      out.back() += static_cast<char>(data[i]);
    }
  }
  return out;
}

Event *newEvent(int32_t level, const char *catalog, const char *text, ...) {
  va_list args;
  va_start(args, text);
  Event *e = LmxVaAllocEvent(level, catalog, 1, 2, text, args);
  va_end(args);
  return e;
}

void configure(Object *fmt, const char *key, bool on) {
  lmxIntlStringToStringMapPut(fmt->properties, key, on ? "true" : "false");
  LmxPDXMLFormatterFCfgChange(fmt, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  unsigned flags = size > 0 ? data[0] : 0;
  std::vector<std::string> f = fields(size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
  while (f.size() < 4) f.emplace_back();

  ObjClass cls{};
  cls.kind = LMX_KIND_FORMATTER;
  Object fmt{};
  fmt.objClass = &cls;
  fmt.vars = LmxPDXMLFormatterFAllocVars();
  fmt.properties = lmxIntlAllocStringToStringMap();
  const char *keys[] = {"forceAsMessage", "forceAsTrace", "singleServer", "singleProduct",
                        "singleComponent", "singleProductId"};
  for (int i = 0; i < 6; ++i) configure(&fmt, keys[i], (flags >> i) & 1);
  fmt.b.dateTimeFormat = BasStringDup(f[3].c_str());

  // Fields: catalog, text, message identifier, time format, then parameter,
  // property name and value by turns.
  Event *e = newEvent(static_cast<int32_t>(flags * 37) - 1000, f[0].c_str(), f[1].c_str(), 0);
  LmxSetEventIsMessage(e, (flags >> 6) & 1);
  if ((flags >> 7) & 1) LmxSetEventMessageId(e, f[2].c_str());
  static const char *placed[] = {"server", "product", "component", "productInstance",
                                 LMX_PROP_SRCFILE, LMX_PROP_SRCFUNCTION, "correlationId",
                                 "client", "serverFormat"};
  for (size_t i = 4; i < f.size(); i += 3) {
    lmxIntlAddI18MsgParmString(e->message, f[i].c_str());
    if (i + 1 < f.size()) {
      std::string key = f[i + 1].size() == 1 ? placed[static_cast<unsigned char>(f[i + 1][0]) % 9] : f[i + 1];
      LmxSetEventProp(e, key.c_str(), i + 2 < f.size() ? f[i + 2].c_str() : "");
    }
  }

  std::string out;
  for (int round = 0; round < 2; ++round) {
    char *record = LmxPDXMLFormatterFFormat(&fmt, e);
    if (record == nullptr) __builtin_trap();
    out += record;
    BasMemoryFree(record);
  }
  xmltest::Parsed p = xmltest::parseRecords(out);
  if (!p.ok) __builtin_trap();
  size_t records = 0;
  for (const xmltest::Element &c : p.root.children) {
    bool record = c.name == "Message" || c.name == "Trace";
    if (record) ++records;
    if (!record && records > 0) __builtin_trap();  // product elements only before the first
  }
  if (records != 2) __builtin_trap();

  LmxFreeEvent(e);
  LmxPDXMLFormatterFFreeVars(fmt.vars);
  lmxIntlFreeStringToStringMap(fmt.properties);
  BasMemoryFree(fmt.b.dateTimeFormat);
  return 0;
}
