// Reads XML records back with expat: the records of a destination are
// concatenated without an enclosing element, so they are parsed inside one
// wrapping root element.
#pragma once

#include <expat.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace xmltest {

struct Element {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;  // in document order
  std::string text;                                             // character data, CDATA included
  std::vector<Element> children;

  // The attribute's value, or "<absent>".
  std::string attr(const std::string &key) const {
    auto a = std::find_if(attributes.begin(), attributes.end(),
                          [&](const auto &p) { return p.first == key; });
    return a != attributes.end() ? a->second : "<absent>";
  }
  // The first child of that name, or null.
  const Element *child(const std::string &childName) const {
    auto c = std::find_if(children.begin(), children.end(),
                          [&](const Element &e) { return e.name == childName; });
    return c != children.end() ? &*c : nullptr;
  }
  std::vector<std::string> childNames() const {
    std::vector<std::string> names;
    for (const Element &c : children) names.push_back(c.name);
    return names;
  }
};

struct Parsed {
  bool ok = false;
  std::string error;
  Element root;  // the wrapping element; the records are its children
};

inline Parsed parseRecords(const std::string &records) {
  Parsed result;
  using Open = std::vector<Element *>;  // the elements not yet closed
  Open open{&result.root};               // the wrapper's own element lands in root
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &open);
  XML_SetElementHandler(
      parser,
      [](void *data, const XML_Char *name, const XML_Char **attrs) {
        auto &st = *static_cast<Open *>(data);
        st.back()->children.push_back({name, {}, {}, {}});
        for (int i = 0; attrs[i] != nullptr; i += 2) {
          st.back()->children.back().attributes.emplace_back(attrs[i], attrs[i + 1]);
        }
        st.push_back(&st.back()->children.back());
      },
      [](void *data, const XML_Char *) { static_cast<Open *>(data)->pop_back(); });
  XML_SetCharacterDataHandler(parser, [](void *data, const XML_Char *s, int len) {
    static_cast<Open *>(data)->back()->text.append(s, size_t(len));
  });
  const std::string doc = "<records>" + records + "</records>";
  if (XML_Parse(parser, doc.data(), static_cast<int>(doc.size()), 1) == XML_STATUS_OK) {
    result.ok = true;
    result.root = Element(std::move(result.root.children.at(0)));
  } else {
    result.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                   std::to_string(XML_GetCurrentLineNumber(parser)) + " in:\n" + records;
  }
  XML_ParserFree(parser);
  return result;
}

}  // namespace xmltest
