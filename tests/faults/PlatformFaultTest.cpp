// The platform failing the service: a settings store without the language
// or that cannot be read, hostile language values, and subscriptions to the
// language and to wake-ups that fail at start.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <functional>

#include "ContentsHost.h"
#include "FaultTest.h"
#include "TestData.h"

namespace {

constexpr char kLanguageKey[] = "db/menu_widget/language";

std::string ExpectedList(const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(TestDataPath("contents/expected/" + name + "-tiles.json"), bytes));
  return bytes;
}

struct LanguageCase {
  const char* name;
  std::function<void()> apply;
  const char* file;   // the contents file the next tile request must get
  int downloads;      // host requests from the change and the tile request
};

}  // namespace

class PlatformFaultTest : public FaultTest {
 protected:
  void SetUp() override {
    FaultTest::SetUp();
    ASSERT_TRUE(host_.Start());
  }
  ContentsHost host_{{VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()}};
};

TEST_F(PlatformFaultTest, LanguageMissingUnreadableOrHostile) {
  const std::vector<LanguageCase> cases = {
      {"key without a value", [] { vconf_sim::Unset(kLanguageKey); }, "general", 1},
      {"store that cannot be read",
       [] {
         vconf_sim::SetStr(kLanguageKey, "ko_KR.utf8");
         vconf_sim::SetGetFails(true);
       },
       "general", 2},
      {"empty value", [] { vconf_sim::SetStr(kLanguageKey, ""); }, "general", 2},
      {"1 MiB value", [] { vconf_sim::SetStr(kLanguageKey, std::string(1 << 20, 'k')); }, "general", 2},
      {"format directives", [] { vconf_sim::SetStr(kLanguageKey, "%s%n%s%n%99999999d"); }, "general", 2},
      {"another key changing", [] { vconf_sim::SetStr("db/menu_widget/other", "ko_KR.utf8"); }, "general", 1},
      {"readable Korean again", [] { vconf_sim::SetStr(kLanguageKey, "ko_KR.utf8"); }, "kr", 2},
  };
  StartService();
  for (const LanguageCase& c : cases) {
    SCOPED_TRACE(c.name);
    vconf_sim::SetGetFails(false);
    const int hostBefore = host_.Requests();
    c.apply();
    Settle();
    ExpectNoThreadLeft();  // a change's own download is done, and dropped
    EXPECT_EQ(results_.Count(), 0U);
    ExpectContentsTiles();
    EXPECT_EQ(results_.Last(), ExpectedList(c.file));
    EXPECT_EQ(host_.Requests() - hostBefore, c.downloads);
    results_.Clear();
  }
  vconf_sim::SetGetFails(false);
}

namespace {

struct SubscriptionCase {
  const char* name;
  bool languageFails;
  bool wakeUpFails;
};

void PrintTo(const SubscriptionCase& c, std::ostream* out) { *out << c.name; }

}  // namespace

class SubscriptionFaultTest : public PlatformFaultTest, public ::testing::WithParamInterface<SubscriptionCase> {};

// The service runs without the source it could not subscribe to, and
// everything else works as ever.
TEST_P(SubscriptionFaultTest, ServiceWorksWithoutTheSource) {
  const SubscriptionCase& c = GetParam();
  vconf_sim::SetNotifyFails(c.languageFails);
  power_sim::SetSubscribeFails(c.wakeUpFails);
  StartSignedIn(kTwo);
  vconf_sim::SetNotifyFails(false);
  power_sim::SetSubscribeFails(false);
  ExpectRoutineTiles({"a1", "b2"});

  iotfw_sim::ClearRequests();
  power_sim::TriggerWakeup();
  Settle();
  EXPECT_EQ(iotfw_sim::CountRequests(102), c.wakeUpFails ? 0 : 1);

  iotfw_sim::ClearRequests();
  vconf_sim::SetStr(kLanguageKey, "ko_KR.utf8");
  Settle();
  ExpectNoThreadLeft();
  EXPECT_EQ(iotfw_sim::CountRequests(107), c.languageFails ? 0 : 1);
  ExpectRoutineTiles({"a1", "b2"});

  // Signed out: the contents follow the language read at download time,
  // and exactly one list arrives whether or not the change was heard.
  iotfw_sim::InjectEvent(1001, "");
  Settle();
  ExpectContentsTiles();
  EXPECT_EQ(results_.Last(), ExpectedList("kr"));
}

INSTANTIATE_TEST_SUITE_P(Faults, SubscriptionFaultTest,
                         ::testing::Values(SubscriptionCase{"LanguageFails", true, false},
                                           SubscriptionCase{"WakeUpFails", false, true},
                                           SubscriptionCase{"BothFail", true, true}),
                         [](const ::testing::TestParamInfo<SubscriptionCase>& param) {
                           return std::string(param.param.name);
                         });
