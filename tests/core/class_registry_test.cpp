// Class registration: built-in order, defaults, duplicates, unknown kinds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collections/collections_intl.h"
#include "core/class_registry.h"
#include "messages/i18msg.h"

namespace {

std::vector<std::string> names(LmxLink *node) {
  std::vector<std::string> out;
  for (; node != nullptr; node = lmxIntlStringGroupIterNext(node)) {
    char *text = lmxIntlStringGroupIterGet(node);
    out.emplace_back(text);
    BasMemoryFree(text);
  }
  return out;
}

void myProcess(Object *, Event *) {}

struct Registry : ::testing::Test {
  void TearDown() override { lmx::freeClassRegistry(); }
};

TEST_F(Registry, FirstAddRegistersBuiltinsInOrderThenTheNewClass) {
  LmxAddHandlerClass("app_handler", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  const struct { int32_t kind; std::vector<std::string> expected; } rows[] = {
      {LMX_KIND_LOGGER, {"lmx_basiclogger", "lmx_pdlogger"}},
      {LMX_KIND_FILTER, {"lmx_levelfilter"}},
      {LMX_KIND_HANDLER,
       {"lmx_consolehandler", "lmx_filehandler", "lmx_multiproc_filehandler", "lmx_sysloghandler",
        "app_handler"}},
      {LMX_KIND_FORMATTER, {"lmx_basicformatter", "lmx_xmlformatter"}},
      {105, {}},
      {100, {}},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(names(lmxToolkitFetchClassnames(row.kind)), row.expected) << row.kind;
  }
  EXPECT_EQ(names(LmxGetFilterClasses()), rows[1].expected);
}

TEST_F(Registry, NullSlotsTakeDefaultsAndSecondNameIsIgnored) {
  LmxAddHandlerClass("h", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  LmxAddHandlerClass("h", nullptr, nullptr, nullptr, nullptr, myProcess, nullptr, nullptr);
  LmxAddHandlerClass(nullptr, nullptr, nullptr, nullptr, nullptr, myProcess, nullptr, nullptr);
  ObjClass *cls = lmxToolkitGetClassDef("h");
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->kind, LMX_KIND_HANDLER);
  EXPECT_EQ(cls->ops.handler.process, &LmxBasicHandlerFProcess);
  EXPECT_EQ(cls->ops.handler.open, &LmxBasicHandlerFOpen);
  EXPECT_EQ(cls->ops.handler.close, &LmxBasicHandlerFClose);
  EXPECT_EQ(cls->allocVars, nullptr);
  EXPECT_EQ(cls->freeVars, nullptr);
  EXPECT_EQ(cls->cfgChange, nullptr);
  EXPECT_EQ(cls->description, nullptr);
  EXPECT_EQ(names(LmxGetHandlerClasses()).size(), 5u);
}

TEST_F(Registry, DescriptionsAreCopiesAndBuiltinsCarryTheirKeys) {
  I18Msg *desc = lmxIntlAllocI18Msg(nullptr, 1, 7, "mine");
  LmxAddFormatterClass("f", desc, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  lmxIntlFreeI18Msg(desc);
  ObjClass *f = lmxToolkitGetClassDef("f");
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->description, nullptr);
  EXPECT_STREQ(f->description->text, "mine");
  EXPECT_EQ(f->ops.formatter.bindMsg, &lmxIntlBindI18Msg);
  EXPECT_EQ(f->ops.formatter.getHeader, &LmxBasicFormatterFGetHeader);
  const struct {
    const char *name;
    int32_t key;  // 0: no description
  } rows[] = {{"lmx_basiclogger", 100}, {"lmx_levelfilter", 110}, {"lmx_filehandler", 121},
              {"lmx_multiproc_filehandler", 0}, {"lmx_xmlformatter", 131}};
  for (const auto &row : rows) {
    ObjClass *cls = lmxToolkitGetClassDef(row.name);
    ASSERT_NE(cls, nullptr) << row.name;
    if (row.key == 0) {
      EXPECT_EQ(cls->description, nullptr) << row.name;
    } else {
      ASSERT_NE(cls->description, nullptr) << row.name;
      EXPECT_EQ(cls->description->key, row.key) << row.name;
    }
  }
  EXPECT_EQ(lmxToolkitGetClassDef("nope"), nullptr);
}

}  // namespace
