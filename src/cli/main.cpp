// kalvor-cli: drives kalvor's core from the command line.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_leftovers.h"
#include "cli/tag_choice.h"

namespace {

using kalvor::cli::CliCommand;

std::string UsageText() {
    auto commands = kalvor::cli::CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return std::string(a.name) < b.name; });
    std::string text =
        "usage: kalvor-cli [--no-tags] COMMAND ARGS...\n       kalvor-cli --help\n\n"
        "--no-tags  write the audio only: no tags of the source (as with KeepTags=0 in kalvor.ini)\n\ncommands:\n";
    for (const auto& c : commands) {
        std::string usage = c.usage;
        std::string indented;
        for (char ch : usage) indented += (ch == '\n') ? std::string("\n      ") : std::string(1, ch);
        text += "  " + indented + "\n";
    }
    text +=
        "\nTimes are seconds (90, 1.5), minutes'seconds (1'30, 001'30.500), minutes:seconds.fraction (1:30.5)\n"
        "or hours:minutes[:seconds] (1:30 is one hour thirty minutes).\n";
    return text;
}

int Usage(const std::string& message) {
    if (!message.empty()) std::fprintf(stderr, "kalvor-cli: %s\n", message.c_str());
    std::fputs(UsageText().c_str(), stderr);
    return 2;
}

}  // namespace

// The switch stands before the command or right after its name.
constexpr const char* kNoTags = "--no-tags";

int main(int argc, char** argv) {
    int first = 1;
    if (first < argc && std::string(argv[first]) == kNoTags) {
        kalvor::cli::SetNoTags();
        ++first;
    }
    if (argc <= first) return Usage("");
    const std::string name = argv[first];
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    const auto& commands = kalvor::cli::CliCommands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return name == c.name; });
    if (it == commands.end()) return Usage("unknown command: " + name);
    int words = first + 1;
    if (words < argc && std::string(argv[words]) == kNoTags) {
        kalvor::cli::SetNoTags();
        ++words;
    }
    const kalvor::cli::Args args(argv + words, argv + argc);
    const kalvor::cli::CliJournal journal;
    try {
        return it->run(args);
    } catch (const kalvor::cli::UsageError& e) {
        return Usage(e.message);
    }
}
