// Downloads from Debian's nginx, which answers as a CDN does: requests after
// the first reuse the first connection, an unchanged file is answered 304
// with the list already made, and a download that fails is answered with
// the last good list of its own language, never of the other.
#include <gtest/gtest.h>
#include <vconf_sim.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "Contents.h"
#include "ContentsConnection.h"
#include "ContentsHost.h"
#include "ContentsTestUtil.h"
#include "ContentsUrl.h"
#include "LogCapture.h"
#include "NginxHost.h"
#include "Recorder.h"

namespace {

constexpr char kLanguageKey[] = "db/menu_widget/language";
constexpr char kGeneralFile[] = "service-quorvel-app.json";
constexpr char kKoreanFile[] = "kr/service-quorvel-app.json";

class NginxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vconf_sim::SetStr(kLanguageKey, "en_US.utf8");
    ASSERT_TRUE(nginx_.Start());
    SetContentsOrigin(nginx_.Origin());
    ContentsDownloadSettings settings;
    settings.connectTimeoutSeconds = 5;
    settings.lowSpeedSeconds = 1;
    SetDownloadSettings(settings);
    contents_.RegisterCallback(Recorder::Callback, &deliveries_);
  }

  void TearDown() override {
    SetContentsOrigin("");
    SetDownloadSettings(ContentsDownloadSettings());
  }

  std::string RequestOnce() { return ::RequestOnce(contents_, deliveries_); }

  NginxHost nginx_{{VARNIO_NGINX_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()}};
  Recorder deliveries_;
  CContents contents_;
};

TEST_F(NginxTest, RequestsShareOneConnectionAndAnUnchangedFileIsNotParsedAgain) {
  EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));
  {
    LogCapture capture;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));
    EXPECT_TRUE(capture.Messages("ParseContentsList").empty());
  }
  // Another version of the file (another size, so another ETag) comes whole.
  std::filesystem::copy_file(nginx_.FilePath(kKoreanFile), nginx_.FilePath(kGeneralFile),
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(RequestOnce(), ExpectedTiles("kr"));

  std::vector<int> statuses;
  std::set<long> connections;
  for (const NginxHost::Request& request : nginx_.WaitForRequests(5)) {
    statuses.push_back(request.status);
    connections.insert(request.connection);
  }
  EXPECT_EQ(statuses, (std::vector<int>{200, 304, 304, 304, 200}));
  EXPECT_EQ(connections.size(), 1U) << "one TLS handshake for every download";
}

TEST_F(NginxTest, FailedDownloadIsAnsweredWithTheLastGoodListOfItsLanguage) {
  NginxHost rejecting({VARNIO_NGINX_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir(), true});
  const std::vector<std::pair<const char*, std::function<void()>>> faults = {
      {"no connection", [&] { nginx_.Stop(); }},
      {"TLS handshake rejected",
       [&] {
         nginx_.Stop();
         ASSERT_TRUE(rejecting.Start());
       }},
      {"HTTP error status",
       [&] {
         for (const char* file : {kGeneralFile, kKoreanFile}) std::filesystem::remove(nginx_.FilePath(file));
       }},
      {"no contents file",
       [&] {
         for (const char* file : {kGeneralFile, kKoreanFile}) std::ofstream(nginx_.FilePath(file)) << "<html>moved</html>";
       }},
  };
  EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));
  for (const auto& [name, breakHost] : faults) {
    SCOPED_TRACE(name);
    breakHost();
    vconf_sim::SetStr(kLanguageKey, "ko_KR.utf8");
    EXPECT_EQ(RequestOnce(), ExpectedTiles("empty"));
    vconf_sim::SetStr(kLanguageKey, "en_US.utf8");
    LogCapture capture;
    EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));
    EXPECT_TRUE(AnsweredWithLastGoodList(capture));
    rejecting.Stop();
    nginx_.Stop();
    ASSERT_TRUE(nginx_.Start());
  }
}

// After a download the process holds the kept connection and libcurl's own
// sockets. A program the home screen then starts (system(), posix_spawn)
// inherits none of them.
TEST_F(NginxTest, AProgramStartedAfterADownloadInheritsNoSocket) {
  EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));
  const ChildOutcome child = RunProgram({"sh", "-c", "ls -l /proc/$$/fd >&2"}, ChildOptions());
  ASSERT_TRUE(child.Succeeded()) << child.stderrText;
  EXPECT_EQ(child.stderrText.find("socket:"), std::string::npos) << child.stderrText;
}

// A host that closes idle connections soon, over HTTP/2: a request sent as
// it closes finds its kept connection gone before any answer, and must be
// asked again on a new one rather than answered with the last good list.
// Requests follow each other at about the idle timeout, and the file
// changes before each, so that only a fresh answer is right.
TEST_F(NginxTest, RequestOnAConnectionTheHostIsClosingStillGetsTheCurrentFile) {
  constexpr std::chrono::milliseconds kIdle{40};
  constexpr int kRequests = 150;
  nginx_.Stop();
  NginxHost closing({VARNIO_NGINX_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir(), false, true, kIdle});
  ASSERT_TRUE(closing.Start());
  const std::string versions[] = {closing.FilePath(kKoreanFile), closing.FilePath("general.json")};
  std::filesystem::copy_file(closing.FilePath(kGeneralFile), versions[1]);
  std::mt19937 random(20);
  std::uniform_int_distribution<int> aroundIdle(-1500, 1500);
  for (int i = 0; i < kRequests; ++i) {
    std::this_thread::sleep_for(kIdle + std::chrono::microseconds(aroundIdle(random)));
    std::filesystem::copy_file(versions[i % 2], closing.FilePath(kGeneralFile),
                               std::filesystem::copy_options::overwrite_existing);
    contents_.RequestContentsList();
    ASSERT_TRUE(deliveries_.WaitFor(static_cast<size_t>(i) + 1));
    ASSERT_EQ(deliveries_.Last(), ExpectedTiles(i % 2 == 0 ? "kr" : "general")) << "request " << i;
  }
}

}  // namespace
