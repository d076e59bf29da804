#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "ParserTestUtil.h"

namespace {

struct ExecuteCase {
  const char* name;
  std::string text;
  bool success;
  std::string data;
};

// Test listings show the case, not its bytes.
void PrintTo(const ExecuteCase& c, std::ostream* os) { *os << c.name; }

class ExecuteResultTest : public ::testing::TestWithParam<ExecuteCase> {};

TEST_P(ExecuteResultTest, OnlyAnExactFailIsAFailure) {
  CJsonParseUtil parser;
  std::string data = "left over from an earlier answer";
  LogCapture capture;
  EXPECT_EQ(parser.ParseExecuteResult(GetParam().text, data), GetParam().success);
  EXPECT_EQ(data, GetParam().data);
  EXPECT_EQ(capture.Messages(), std::vector<std::string>{""});  // the caller logs the verdict
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExecuteResultTest,
    ::testing::Values(
        ExecuteCase{"SampleSuccess", ReadTestData("execute/execute-success.json"), true,
                    R"({"installedVelkapId":"3f1c2a9e-6b1d-4f57-9a2e-0c5d8e71b4a1","status":"EXECUTED"})"},
        ExecuteCase{"SampleFailKeepsItsData", ReadTestData("execute/execute-fail.json"), false,
                    R"({"code":"DEVICE_OFFLINE","message":"Front door camera is offline"})"},
        ExecuteCase{"LowerCase", R"({"result":"fail","data":"d"})", true, "d"},
        ExecuteCase{"UpperCase", R"({"result":"FAIL"})", true, ""},
        ExecuteCase{"Failed", R"({"result":"Failed"})", true, ""},
        ExecuteCase{"LeadingBlank", R"({"result":" Fail"})", true, ""},
        ExecuteCase{"TrailingNul", R"({"result":"Fail\u0000"})", true, ""},
        ExecuteCase{"Error", R"({"result":"Error","data":"timeout"})", true, "timeout"},
        ExecuteCase{"NoResult", R"({"data":"d"})", true, "d"},
        ExecuteCase{"NotJson", "Fail", true, ""},
        ExecuteCase{"Empty", "", true, ""},
        ExecuteCase{"CommentedFail", "/* framework */ {\"result\":\"Fail\" // why\n}", false, ""}),
    [](const ::testing::TestParamInfo<ExecuteCase>& param) { return std::string(param.param.name); });

INSTANTIATE_TEST_SUITE_P(
    WrongTypes, ExecuteResultTest,
    ::testing::Values(ExecuteCase{"ResultIsAnArray", R"({"result":["Fail"],"data":"d"})", true, "d"},
                      ExecuteCase{"ResultIsAnObject", R"({"result":{"Fail":1}})", true, ""},
                      ExecuteCase{"ResultIsANumber", R"({"result":0})", true, ""},
                      ExecuteCase{"DataIsAnObject", R"({"result":"Fail","data":{"code":1}})", false, ""},
                      ExecuteCase{"DataIsANumber", R"({"result":"Success","data":111})", true, ""},
                      ExecuteCase{"RootIsAnArray", R"([{"result":"Fail"}])", true, ""},
                      ExecuteCase{"RootIsAString", R"("Fail")", true, ""},
                      ExecuteCase{"DeepNesting", Nested(100000, "[", "", "]"), true, ""}),
    [](const ::testing::TestParamInfo<ExecuteCase>& param) { return std::string(param.param.name); });

}  // namespace
