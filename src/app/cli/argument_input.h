#ifndef VALO_APP_CLI_ARGUMENT_INPUT_H_
#define VALO_APP_CLI_ARGUMENT_INPUT_H_

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace valo::cli {

// Reads the value of an argument given as "-": the next line of `in` without its line
// end (a trailing carriage return included); nullopt at the end of the input. When
// `fd` (the descriptor behind `in`) is a terminal, `prompt` is written to `out` first
// and the terminal does not echo while the line is typed; echo comes back on every path,
// an interrupt or termination signal during the read included.
std::optional<std::string> readArgumentLine(std::istream& in, int fd, std::ostream& out,
                                            const std::string& prompt);

}  // namespace valo::cli

#endif  // VALO_APP_CLI_ARGUMENT_INPUT_H_
