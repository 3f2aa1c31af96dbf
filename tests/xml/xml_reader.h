// Reads XML records back with expat: the records of a destination are
// concatenated without an enclosing element, so they are parsed inside one
// wrapping root element.
#pragma once

#include <expat.h>

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
    for (const auto &a : attributes) {
      if (a.first == key) return a.second;
    }
    return "<absent>";
  }
  // The first child of that name, or null.
  const Element *child(const std::string &childName) const {
    for (const Element &c : children) {
      if (c.name == childName) return &c;
    }
    return nullptr;
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
  struct State {
    std::vector<Element *> open;
    Parsed result;
  } state;
  state.open.push_back(&state.result.root);
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &state);
  XML_SetElementHandler(
      parser,
      [](void *data, const XML_Char *name, const XML_Char **attrs) {
        auto *st = static_cast<State *>(data);
        Element e;
        e.name = name;
        for (int i = 0; attrs[i] != nullptr; i += 2) e.attributes.emplace_back(attrs[i], attrs[i + 1]);
        st->open.back()->children.push_back(std::move(e));
        st->open.push_back(&st->open.back()->children.back());
      },
      [](void *data, const XML_Char *) { static_cast<State *>(data)->open.pop_back(); });
  XML_SetCharacterDataHandler(parser, [](void *data, const XML_Char *s, int len) {
    static_cast<State *>(data)->open.back()->text.append(s, static_cast<size_t>(len));
  });
  std::string doc = "<records>" + records + "</records>";
  if (XML_Parse(parser, doc.data(), static_cast<int>(doc.size()), 1) == XML_STATUS_OK) {
    state.result.ok = true;
    Element records = std::move(state.result.root.children.at(0));
    state.result.root = std::move(records);
  } else {
    state.result.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                         std::to_string(XML_GetCurrentLineNumber(parser)) + " in:\n" + records;
  }
  XML_ParserFree(parser);
  return state.result;
}

}  // namespace xmltest
