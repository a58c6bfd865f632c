// The real valo-cli program, run as a separate process.

#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "support/temp_home.h"
#include "support/test_util.h"

namespace valo::test {
namespace {

constexpr char kVersionReply[] = "{'errCode':'0','errMsg':'','clientVersion':'1.3'}\n";

class ValoCliTest : public ::testing::Test {
 protected:
  CliRun cli(const std::vector<std::string>& args, const std::string& input = "") {
    return runCli(home_.tmp(), args, input);
  }

  TempHome home_;
};

TEST_F(ValoCliTest, VersionAndHelp) {
  CliRun run = cli({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "1.3\n");

  run = cli({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: valo-cli", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("bare -"), std::string::npos);
}

TEST_F(ValoCliTest, CallPrintsTheReplyText) {
  const CliRun run = cli({"call", "getClientVersion"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kVersionReply);
  EXPECT_EQ(run.err, "");
}

TEST_F(ValoCliTest, UsageErrorsExitWithTwoAndSayWhatIsExpected) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"call", "getClientVersion", "extra"}, "getClientVersion takes 0 arguments, 1 given"},
      {{"call", "doLogin", "A123456789"}, "doLogin takes 2 arguments, 1 given"},
      {{"call", "getFnStatus"}, "getFnStatus takes 1 argument, 0 given"},
      {{"call", "noSuchMethod"}, "unknown method noSuchMethod"},
      {{}, "no command given"},
      {{"--yes", "--no", "call", "getClientVersion"}, "--yes and --no exclude each other"},
  };
  for (const Case& c : cases) {
    const CliRun run = cli(c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << c.message;
  }
}

TEST_F(ValoCliTest, RunPrintsRepliesInOrderAndStopsAtCloseApp) {
  const std::string script =
      "# replies come one per line\n"
      "\n"
      "getClientVersion\r\n"
      "   doTest 'A1 23'\n"
      "doTest x\n"
      "GETCLIENTVERSION\n"
      "closeApp\n"
      "noSuchMethod after the close\n";
  writeTextFile(home_.path("calls.txt"), script);
  const std::string expected = std::string(kVersionReply) + kVersionReply;

  CliRun run = cli({"run", home_.path("calls.txt")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.err, "");

  for (const std::vector<std::string>& args : {std::vector<std::string>{"run"}, {"run", "-"}}) {
    run = cli(args, script);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
  }
}

TEST_F(ValoCliTest, RunStopsAtABadLineNamingIt) {
  writeTextFile(home_.path("bad.txt"),
                "getClientVersion\n# fine so far\ndoTest 'unclosed\ngetClientVersion\n");
  CliRun run = cli({"run", home_.path("bad.txt")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, kVersionReply);
  EXPECT_NE(run.err.find("bad.txt:3: unterminated single quote"), std::string::npos) << run.err;

  run = cli({"run"}, "getClientVersion\ngetFnStatus\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, kVersionReply);
  EXPECT_NE(run.err.find("<stdin>:2: getFnStatus takes 1 argument, 0 given"), std::string::npos)
      << run.err;

  run = cli({"run", home_.path("missing.txt")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.txt"), std::string::npos);
}

TEST_F(ValoCliTest, ADashArgumentTakesTheNextInputLine) {
  CliRun run = cli({"call", "doTest", "-"}, "secret\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");  // no prompt when the input is not a terminal

  run = cli({"call", "doTest", "-"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no input line left for doTest argument 1"), std::string::npos);

  // In a script read from standard input the value is the line after the call, so it is
  // not run as a call; a quoted dash is a plain argument.
  run = cli({"run"}, "doTest -\ngetClientVersion\ngetClientVersion\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kVersionReply);
  run = cli({"run"}, "doTest '-'\ngetClientVersion\ngetClientVersion\n");
  EXPECT_EQ(run.out, std::string(kVersionReply) + kVersionReply);
}

}  // namespace
}  // namespace valo::test
