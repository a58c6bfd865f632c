#include "app/cli/bridge_runner.h"

#include "app/cli/command_line.h"

namespace valo::cli {
namespace {

std::string argumentCountText(int count) {
  return std::to_string(count) + (count == 1 ? " argument" : " arguments");
}

bool isCommentOrBlank(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t\r");
  return first == std::string_view::npos || line[first] == '#';
}

}  // namespace

BridgeRunner::BridgeRunner(Context& context, TerminalUi& ui, ArgumentReader readArgument,
                           std::ostream& out, std::ostream& err)
    : ui_(ui),
      readArgument_(std::move(readArgument)),
      out_(out),
      err_(err),
      bridge_(context, [this] { closeRequested_ = true; }) {}

int BridgeRunner::usageError(const std::string& where, const std::string& message) {
  ui_.endProgressLine();
  err_ << "valo-cli: " << where << message << '\n' << std::flush;
  return kExitUsage;
}

int BridgeRunner::call(const std::string& method, const std::vector<std::string>& arguments) {
  std::vector<Word> words;
  words.reserve(arguments.size());
  // The shell has already removed any quotes, so a "-" here always asks for input.
  for (const std::string& argument : arguments) words.push_back({argument, false});
  return runCall(method, words, "");
}

int BridgeRunner::run(std::istream& script, const std::string& scriptName) {
  std::string line;
  for (int number = 1; !closeRequested_ && std::getline(script, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (isCommentOrBlank(line)) continue;
    const std::string where = scriptName + ":" + std::to_string(number) + ": ";
    SplitResult split = splitWords(line);
    if (!split.ok) return usageError(where, split.error);
    const Word method = split.words.front();
    split.words.erase(split.words.begin());
    const int status = runCall(method.text, split.words, where);
    if (status != kExitRan) return status;
  }
  if (script.bad()) {
    ui_.endProgressLine();
    err_ << "valo-cli: " << scriptName << ": read error\n" << std::flush;
    return kExitFailed;
  }
  return kExitRan;
}

int BridgeRunner::runCall(std::string_view method, const std::vector<Word>& arguments,
                          const std::string& where) {
  const BridgeMethod* known = findBridgeMethod(method);
  if (known == nullptr) return usageError(where, "unknown method " + std::string(method));
  const int given = static_cast<int>(arguments.size());
  if (given != known->parameterCount) {
    return usageError(where, std::string(known->name) + " takes " +
                                 argumentCountText(known->parameterCount) + ", " +
                                 std::to_string(given) + " given");
  }

  std::vector<std::string> values;
  values.reserve(arguments.size());
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i].quoted || arguments[i].text != "-") {
      values.push_back(arguments[i].text);
      continue;
    }
    ui_.endProgressLine();
    const std::string which = std::string(known->name) + " argument " + std::to_string(i + 1);
    std::optional<std::string> value = readArgument_ ? readArgument_(which + ": ") : std::nullopt;
    if (!value) return usageError(where, "no input line left for " + which);
    values.push_back(std::move(*value));
  }

  const std::optional<BridgeReply> reply = bridge_.call(known->name, values);
  if (!reply) return usageError(where, "cannot call " + std::string(known->name));
  ui_.endProgressLine();
  switch (reply->kind) {
    case BridgeReturn::kText:
      out_ << reply->text << '\n';
      break;
    case BridgeReturn::kShort:
      out_ << reply->number << '\n';
      break;
    case BridgeReturn::kNothing:
      break;
  }
  out_ << std::flush;
  return kExitRan;
}

}  // namespace valo::cli
