// The lines every parser writes: "file:function(line)>" and the message, all
// at level 0 (dlog's debug priority) under the library's tag.
#include <dlog.h>
#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "TestData.h"

namespace {

TEST(ParserLogTest, EachParserWritesItsLinesAtDebugLevel) {
  const std::string routines = ReadTestData("routines/routine-list.json");
  const std::string devices = ReadTestData("devices/device-list.json");
  const std::string html = "<html><title>503 Service Unavailable</title></html>";
  const std::string answer = R"({"result":"Success","data":")" + html + R"("})";  // nothing in html to escape
  const std::string contents = R"({"sections":{"acceleratorout":{"header1":"H1"}}})";
  const std::string data = R"({"label":"Night"})";
  const std::string list = "ParseRoutineList>";
  const std::string device = "ParseDeviceList>";
  std::vector<stTileItem> tiles;
  std::string detail;
  // Each call and its lines, as "function>message".
  const std::pair<std::function<void(CJsonParseUtil&)>, std::vector<std::string>> cases[] = {
      {[](CJsonParseUtil&) { CJsonParseUtil constructed; }, {"m_AssignIcons>"}},
      {[&](CJsonParseUtil& p) { p.ParseRoutineList(routines, tiles); }, {list, list + "result : " + routines}},
      {[&](CJsonParseUtil& p) { p.ParseRoutineList(answer, tiles); },
       {list, list + "result : " + answer, list + "failed rspdata:" + html + "!"}},
      {[&](CJsonParseUtil& p) { p.ParseRoutineList("", tiles); },
       {list, list + "result : ", list + "failed rspdata:!"}},
      {[&](CJsonParseUtil& p) { p.ParseContentsList(contents, tiles); }, {"ParseContentsList>"}},
      {[&](CJsonParseUtil& p) { p.ParseContentsList(html, tiles); },
       {"ParseContentsList>", "ParseContentsList>failed rspdata : " + html + "!"}},
      {[&](CJsonParseUtil& p) { p.ParseDeviceList(devices, tiles); },
       {device, device + "result : " + devices, device + "device list size : 5",
        device + "strID : 6a3d9b1e-5f27-48c0-b9e4-1d8c7a2f6e35", device + "strName : Front door camera",
        device + "strID : f2b7c5a9-3e18-4d6b-8a01-9c4e7f3b2d56", device + "strName : 거실 카메라"}},
      {[&](CJsonParseUtil& p) { p.ParseDeviceList(html, tiles); },
       {device, device + "result : " + html, device + "device list size : 0"}},
      {[&](CJsonParseUtil& p) { p.ParseExecuteResult(R"({"result":"Fail"})", detail); }, {"ParseExecuteResult>"}},
      {[&](CJsonParseUtil& p) { p.AddRoutine("a", data, tiles); }, {"AddRoutine>strData : " + data}},
      {[&](CJsonParseUtil& p) { p.UpdateRoutine("a", data, tiles); }, {"UpdateRoutine>strData : " + data}},
      {[&](CJsonParseUtil& p) { p.DeleteRoutine("a", tiles); }, {}},
  };
  CJsonParseUtil parser;
  for (const auto& [call, expected] : cases) {
    LogCapture capture;
    call(parser);
    std::vector<std::string> lines;
    for (const LogLine& line : capture.Lines()) {
      EXPECT_EQ(line.priority, DLOG_DEBUG) << line.text;
      EXPECT_EQ(line.tag, "varnio") << line.text;
      EXPECT_THAT(line.file, testing::EndsWith(".cpp")) << line.text;  // a base name: the prefix has no '/'
      lines.push_back(line.function + ">" + line.message);
    }
    EXPECT_EQ(lines, expected);
  }
}

}  // namespace
