// The contents URL, the before-sign-in writer, and a request's registration.
// No contents host listens here: every download fails fast.
#include "Contents.h"

#include <gtest/gtest.h>
#include <vconf_sim.h>

#include <chrono>
#include <thread>
#include <utility>

#include "ContentsTestUtil.h"
#include "LogCapture.h"
#include "Recorder.h"

TEST(ContentsTest, UrlFollowsTheLanguage) {
  // A language setting (null: none) and whether it names the Korean file.
  const std::pair<const char*, bool> cases[] = {
      {"ko_KR.utf8", true}, {"ko_KR", false}, {"KO_KR.UTF8", false}, {"en_US.utf8", false}, {nullptr, false}};
  for (const auto& [language, korean] : cases) {
    language != nullptr ? vconf_sim::SetStr("db/menu_widget/language", language)
                        : vconf_sim::Unset("db/menu_widget/language");
    LogCapture capture;
    const std::string url = CContents::GetURL();
    EXPECT_EQ(url, std::string(VARNIO_CONTENTS_BASE_URL) + "/quorvel-plax/tv/" + (korean ? "kr/" : "") +
                       "service-quorvel-app.json");
    EXPECT_EQ(capture.Contains(std::string("Current lang : ") + (language ? language : "")), language != nullptr);
    EXPECT_TRUE(capture.Contains(" URL : " + url));
  }
}

TEST(ContentsTest, WriterSelectsSectionsAndTitles) {
  std::vector<stTileItem> tiles(5);
  tiles[0] = {"IOT_TILE_VIDEO", "v1", "never written", "a.png", "", "", "444", "first"};
  tiles[1] = {"IOT_TILE_APP", "how", "How", "b.png", "x", "5", "444", "Apps"};
  tiles[2] = {"iot_tile_app", "lower", "", "", "", "", "", "ignored"};
  tiles[3] = {"IOT_TILE_ROUTINE", "r", "", "", "", "", "", "ignored"};
  tiles[4] = {"IOT_TILE_VIDEO", "v2", "", "c.png", "", "", "444", "second"};
  const std::string json = CContents::t_MakeContentsToJson(tiles);
  EXPECT_EQ(json.find("never written"), std::string::npos);
  EXPECT_EQ(json.find("lower"), std::string::npos);
  EXPECT_NE(json.find("\"title\" : \"second\""), std::string::npos);
  EXPECT_EQ(json.find("\"title\" : \"first\""), std::string::npos);
  EXPECT_LT(json.find("\"v1\""), json.find("\"v2\""));

  EXPECT_EQ(CContents::t_MakeContentsToJson({}),
            "[\n   {\n      \"data\" : []\n   },\n   {\n      \"data\" : []\n   }\n]\n");
  std::string out = "old";
  EXPECT_TRUE(CContents::GetContentsJson("", out));
  EXPECT_EQ(out, ExpectedTiles("empty"));
}

TEST(ContentsTest, RequestKeepsTheRegistrationItStartedWith) {
  Recorder first;
  Recorder second;
  CContents contents;
  contents.RegisterCallback(Recorder::Callback, &first);
  contents.RequestContentsList();
  contents.RegisterCallback(Recorder::Callback, &second);
  contents.UnregisterCallback();
  contents.RequestContentsList();  // nothing registered: skipped
  ASSERT_TRUE(first.WaitFor(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(first.Count(), 1U);
  EXPECT_EQ(second.Count(), 0U);
}
