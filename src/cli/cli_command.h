#pragma once
// The commands of kalvor-cli. Each command lives in its own cmd_<name>.cpp and
// registers itself with a static KALVOR_CLI_COMMAND(...) line; main() only
// dispatches. Exit codes: 0 done, 1 failed (a reason on stderr), 2 bad usage.
#include <string>
#include <vector>

namespace kalvor::cli {

using Args = std::vector<std::string>;  // the words after the command name

struct CliCommand {
    const char* name;   // "info"
    const char* usage;  // "info FILE" (lines of help may follow after '\n')
    int (*run)(const Args& args);
};

// Thrown by a command whose words are off: main prints the usage, exit 2.
struct UsageError {
    std::string message;
};

bool RegisterCliCommand(const CliCommand& command);
const std::vector<CliCommand>& CliCommands();

// Prints "kalvor-cli: " + message on stderr and returns 1.
int Fail(const std::string& message);

}  // namespace kalvor::cli

#define KALVOR_CLI_COMMAND_CAT2(a, b) a##b
#define KALVOR_CLI_COMMAND_CAT(a, b) KALVOR_CLI_COMMAND_CAT2(a, b)
#define KALVOR_CLI_COMMAND(...)                                                                 \
    static const bool KALVOR_CLI_COMMAND_CAT(kalvorCliRegistered_, __LINE__) [[maybe_unused]] = \
        ::kalvor::cli::RegisterCliCommand(::kalvor::cli::CliCommand{__VA_ARGS__})
