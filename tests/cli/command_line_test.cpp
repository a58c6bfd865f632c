#include "app/cli/command_line.h"

#include <gtest/gtest.h>

namespace valo::cli {
namespace {

TEST(CommandLineTest, ParsesCommandsAndOptions) {
  struct Case {
    std::vector<std::string> args;
    Command command;
    AutoAnswer answer;
    std::string method;
    std::vector<std::string> arguments;
    std::string scriptFile;
  };
  const Case cases[] = {
      {{"call", "getClientVersion"}, Command::kCall, AutoAnswer::kNone, "getClientVersion", {}, ""},
      {{"--yes", "call", "doLogin", "A1", "-"},
       Command::kCall,
       AutoAnswer::kYes,
       "doLogin",
       {"A1", "-"},
       ""},
      // After the method every word is an argument, options included.
      {{"--no", "call", "doTest", "--yes"},
       Command::kCall,
       AutoAnswer::kNo,
       "doTest",
       {"--yes"},
       ""},
      {{"call", "openFileManager", ""},
       Command::kCall,
       AutoAnswer::kNone,
       "openFileManager",
       {""},
       ""},
      {{"run"}, Command::kRun, AutoAnswer::kNone, "", {}, ""},
      {{"run", "-"}, Command::kRun, AutoAnswer::kNone, "", {}, "-"},
      {{"run", "calls.txt", "--yes"}, Command::kRun, AutoAnswer::kYes, "", {}, "calls.txt"},
      {{"--help"}, Command::kHelp, AutoAnswer::kNone, "", {}, ""},
      {{"call", "--help"}, Command::kHelp, AutoAnswer::kNone, "", {}, ""},
      {{"--version"}, Command::kVersion, AutoAnswer::kNone, "", {}, ""},
      // Help and version are answered even next to a mistake.
      {{"--bogus", "--version"}, Command::kVersion, AutoAnswer::kNone, "", {}, ""},
  };
  for (const Case& c : cases) {
    const ParseResult result = parseCommandLine(c.args);
    ASSERT_TRUE(result.ok) << ::testing::PrintToString(c.args) << ": " << result.error;
    const CommandLine& line = result.commandLine;
    EXPECT_EQ(line.command, c.command) << ::testing::PrintToString(c.args);
    if (c.command == Command::kHelp || c.command == Command::kVersion) continue;
    EXPECT_EQ(line.autoAnswer, c.answer) << ::testing::PrintToString(c.args);
    EXPECT_EQ(line.method, c.method);
    EXPECT_EQ(line.arguments, c.arguments);
    EXPECT_EQ(line.scriptFile, c.scriptFile);
  }
}

TEST(CommandLineTest, ReportsUsageErrors) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "no command given"},
      {{"--yes"}, "no command given"},
      {{"call"}, "call needs a method name"},
      {{"fly"}, "unknown command fly"},
      {{"--bogus", "call", "doTest", "x"}, "unknown option --bogus"},
      {{"run", "a.txt", "b.txt"}, "run takes at most one file"},
      {{"--yes", "--no", "run"}, "--yes and --no exclude each other"},
  };
  for (const auto& [args, error] : cases) {
    const ParseResult result = parseCommandLine(args);
    EXPECT_FALSE(result.ok) << ::testing::PrintToString(args);
    EXPECT_EQ(result.error, error) << ::testing::PrintToString(args);
  }
}

}  // namespace
}  // namespace valo::cli
