#include "cli/cli_command.h"

#include <cstdio>

namespace kalvor::cli {

std::vector<CliCommand>& Registry() {
    static std::vector<CliCommand> commands;
    return commands;
}

bool RegisterCliCommand(const CliCommand& command) {
    Registry().push_back(command);
    return true;
}

const std::vector<CliCommand>& CliCommands() {
    return Registry();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kalvor-cli: %s\n", message.c_str());
    return 1;
}

}  // namespace kalvor::cli
