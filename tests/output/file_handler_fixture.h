// File handler objects for tests: made by hand with the handler classes'
// operations and a formatter whose record text is the event itself (tests
// pass the record's text in place of an event) and whose header and
// trailer are chosen by the test.
#pragma once

#include <string>

#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "file_fixture.h"
#include "lumex/output.h"

namespace test {

inline std::string gHeader, gTrailer;

inline char *textOrNull(const std::string &s) { return s.empty() ? nullptr : BasStringDup(s.c_str()); }
inline char *fmtRecord(Object *, struct Event *event) {
  return BasStringDup(reinterpret_cast<const char *>(event));
}
inline char *fmtHeader(Object *) { return textOrNull(gHeader); }
inline char *fmtTrailer(Object *) { return textOrNull(gTrailer); }

inline ObjClass fileClass(bool multiProcess) {
  ObjClass cls{};
  cls.kind = LMX_KIND_HANDLER;
  cls.name = const_cast<char *>(multiProcess ? "lmx_multiproc_filehandler" : "lmx_filehandler");
  cls.ops.handler.process = multiProcess ? LmxMultiProcFileHandlerFProcess : LmxFileHandlerFProcess;
  cls.ops.handler.open = multiProcess ? LmxMultiProcFileHandlerFOpen : LmxFileHandlerFOpen;
  cls.ops.handler.close = multiProcess ? LmxMultiProcFileHandlerFClose : LmxFileHandlerFClose;
  cls.allocVars = LmxFileHandlerFAllocVars;
  cls.freeVars = LmxFileHandlerFFreeVars;
  cls.cfgChange = LmxFileHandlerFCfgChange;
  return cls;
}

inline ObjClass formatterClass() {
  ObjClass cls{};
  cls.kind = LMX_KIND_FORMATTER;
  cls.name = const_cast<char *>("test_formatter");
  cls.ops.formatter.format = fmtRecord;
  cls.ops.formatter.getHeader = fmtHeader;
  cls.ops.formatter.getTrailer = fmtTrailer;
  return cls;
}

// One handler object with its formatter; freed (without a trailer, as the
// toolkit's close does) at the end of the scope unless closed first.
class Handler {
 public:
  Handler(ObjClass *cls, ObjClass *fmtCls, const char *name = "test.file") {
    formatter_.objClass = fmtCls;
    object_.objClass = cls;
    object_.name = BasStringDup(name);
    object_.enabled = 1;
    object_.b.formatter = &formatter_;
    object_.vars = cls->allocVars();
  }
  ~Handler() {
    object_.objClass->freeVars(object_.vars);
    lmxIntlFreeStringToStringMap(object_.properties);
    BasMemoryFree(object_.name);
  }
  Handler(const Handler &) = delete;
  Handler &operator=(const Handler &) = delete;

  // Sets (or, with null, removes) a property and tells the handler.
  void set(const char *key, const char *value) {
    if (object_.properties == nullptr) object_.properties = lmxIntlAllocStringToStringMap();
    if (value != nullptr) {
      lmxIntlStringToStringMapPut(object_.properties, key, value);
    } else {
      lmxIntlStringToStringMapRem(object_.properties, key);
    }
    object_.objClass->cfgChange(&object_, key);
  }
  void log(const char *text) {
    object_.objClass->ops.handler.process(&object_, reinterpret_cast<struct Event *>(const_cast<char *>(text)));
  }
  void open() { object_.objClass->ops.handler.open(&object_); }
  void close() { object_.objClass->ops.handler.close(&object_); }
  Object *object() { return &object_; }
  FileHandlerVars *vars() { return static_cast<FileHandlerVars *>(object_.vars); }

 private:
  Object formatter_{};
  Object object_{};
};

}  // namespace test
