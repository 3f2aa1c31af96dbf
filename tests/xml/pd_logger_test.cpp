// The problem-data logger through the toolkit: what it stamps on the events
// its listeners see, with and without configuration, and the message
// identifiers it caches.
#include <gtest/gtest.h>

#include "../common/helpers.h"
#include "../common/texts.h"
#include "logging/event.h"
#include "lumex/lumex.h"

namespace {

// Each event a listener saw: the stamped properties and the identifier.
std::vector<std::string> gSeen;

void capture(Object *, Event *event) {
  std::string s;
  for (const char *name : {"organization", "product", "component", "client", "server",
                           "serverFormat", "productInstance", "processId", "threadId"}) {
    unsigned char found = 0;
    char *v = LmxGetEventProp(event, name, &found);
    if (found) s += std::string(name) + "=" + v + ";";
    BasMemoryFree(v);
  }
  s += "id=" + test::take(LmxGetEventMessageId(event));
  gSeen.push_back(s);
}

class PDLogger : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LmxOpenToolkit(nullptr));
    LmxAddHandlerClass("test_pdcapture", nullptr, nullptr, nullptr, nullptr, capture, nullptr,
                       nullptr);
    cap = LmxGetObject("pd.capture", "test_pdcapture");
    ASSERT_NE(pd = LmxGetObject("pd", "lmx_pdlogger"), nullptr);
    LmxAddListener(pd, cap);
    char name[256];
    ASSERT_EQ(CxSystemGetFQHostname(name, sizeof name).kind, '-');
    host = name;
    ids = "processId=" + std::to_string(CxProcessGetCurrentID()) +
          ";threadId=" + std::to_string(CxThreadGetCurrentID()) + ";";
    base = "server=" + host + ";serverFormat=IP;" + ids;
  }
  void TearDown() override {
    gSeen.clear();
    LmxReleaseObject(pd);
    LmxReleaseObject(cap);
    LmxCloseToolkit();
  }
  Object *cap = nullptr, *pd = nullptr;
  std::string host, base, ids;
};

TEST_F(PDLogger, StampsHostProcessThreadAndIdentifiers) {
  LmxLogError(pd, "nocat", 1, 20, "LMXBC0020E Out of memory.", 0);
  LmxLogText(pd, "disk full", 0);
  LmxLogInfo(pd, "nocat", 1, 2, nullptr, 0);  // binds to nothing
  Event *e = test::newEvent("LMXBC0020E text", 0);  // an event's own identifier is kept
  LmxSetEventMessageId(e, "APP0001I");
  LmxPDLoggerFLog(pd, e);
  LmxFreeEvent(e);
  EXPECT_EQ(gSeen, (std::vector<std::string>{base + "id=LMXBC0020E", base + "id=None",
                                             base + "id=", base + "id=APP0001I"}));
}

TEST_F(PDLogger, ConfiguredFieldsAreStampedUntilRemoved) {
  // A null value takes the key out; expect: the properties before the process and thread.
  const struct { const char *key, *value; std::string expect; } rows[] = {
      {"product", "Inv", "product=Inv;server=@;serverFormat=IP;"},
      {"organization", "ACME", "organization=ACME;product=Inv;server=@;serverFormat=IP;"},
      {"server", "db1.org", "organization=ACME;product=Inv;server=db1.org;serverFormat=IP;"},
      {"serverFormat", "FQDN", "organization=ACME;product=Inv;server=db1.org;serverFormat=FQDN;"},
      {"product", nullptr, "organization=ACME;server=db1.org;serverFormat=FQDN;"},
      {"server", nullptr, "organization=ACME;serverFormat=FQDN;"},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(std::string(row.key) + "=" + (row.value ? row.value : "(removed)"));
    test::setProp(pd, row.key, row.value);
    gSeen.clear();
    LmxLogText(pd, "x", 0);
    ASSERT_EQ(gSeen.size(), 1u);
    std::string expect = row.expect;
    if (const size_t at = expect.find('@'); at != std::string::npos) expect.replace(at, 1, host);
    EXPECT_EQ(gSeen[0], expect + ids + "id=None");
  }
}

}  // namespace
