#include <string>

#include "ParserTest.h"

namespace {

struct ExecuteCase {
  std::string text;
  bool success;
  std::string data;
};

TEST(ExecuteResultTest, OnlyAnExactFailIsAFailureAndDataIsAlwaysTaken) {
  const ExecuteCase cases[] = {
      {ReadTestData("execute/execute-success.json"), true,
       R"({"installedVelkapId":"3f1c2a9e-6b1d-4f57-9a2e-0c5d8e71b4a1","status":"EXECUTED"})"},
      {ReadTestData("execute/execute-fail.json"), false,
       R"({"code":"DEVICE_OFFLINE","message":"Front door camera is offline"})"},
      {R"({"result":"fail","data":"d"})", true, "d"},
      {R"({"result":"Failed"})", true, ""},
      {R"({"result":" Fail"})", true, ""},
      {R"({"result":"Fail\u0000"})", true, ""},
      {R"({"result":"Error","data":"timeout"})", true, "timeout"},
      {R"({"data":"d"})", true, "d"},
      {"Fail", true, ""},
      {"", true, ""},
      {"/* framework */ {\"result\":\"Fail\" // why\n}", false, ""},
      // Values of other types count as missing.
      {R"({"result":["Fail"],"data":"d"})", true, "d"},
      {R"({"result":{"Fail":1}})", true, ""},
      {R"({"result":"Fail","data":{"code":1}})", false, ""},
      {R"({"result":"Success","data":111})", true, ""},
      {R"([{"result":"Fail"}])", true, ""},
      {R"("Fail")", true, ""},
  };
  CJsonParseUtil parser;
  for (const ExecuteCase& c : cases) {
    std::string data = "left over from an earlier answer";
    EXPECT_EQ(parser.ParseExecuteResult(c.text, data), c.success) << c.text;
    EXPECT_EQ(data, c.data) << c.text;
  }
}

}  // namespace
