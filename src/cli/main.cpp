// kalvor-cli: drives kalvor's core from the command line.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_language.h"
#include "cli/cli_leftovers.h"
#include "cli/output_choice.h"

namespace {

using kalvor::cli::CliCommand;

std::string UsageText() {
    auto commands = kalvor::cli::CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return std::string(a.name) < b.name; });
    std::string text =
        "usage: kalvor-cli [--lang ja|en] [--no-tags] [--exact-frames] COMMAND ARGS...\n"
        "       kalvor-cli --help\n\n"
        "--no-tags       write the audio only: no tags of the source (as with KeepTags=0 in kalvor.ini)\n"
        "--exact-frames  write the source's frames byte for byte: no repacking at joins,\n"
        "                no added Xing header, no gapless figures (as with ExactFrames=1)\n\ncommands:\n";
    for (const auto& c : commands) {
        std::string usage = c.usage;
        std::string indented;
        for (char ch : usage) indented += (ch == '\n') ? std::string("\n      ") : std::string(1, ch);
        text += "  " + indented + "\n";
    }
    text +=
        "\nTimes are seconds (90, 1.5), minutes'seconds (1'30, 001'30.500), minutes:seconds.fraction (1:30.5)\n"
        "or hours:minutes[:seconds] (1:30 is one hour thirty minutes).\n"
        "The document's messages are in the system's language (Japanese or English);\n"
        "--lang ja or --lang en, anywhere on the line, chooses one.\n";
    return text;
}

int Usage(const std::string& message) {
    if (!message.empty()) std::fprintf(stderr, "kalvor-cli: %s\n", message.c_str());
    std::fputs(UsageText().c_str(), stderr);
    return 2;
}

// The switch stands before the command or right after its name.
void TakeNoTagsSwitch(kalvor::cli::Args& words, std::size_t at) {
    if (words.size() <= at || words[at] != "--no-tags") return;
    kalvor::cli::SetNoTags();
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(at));
}

// The switch may come before the command or among its words.
void TakeExactFramesSwitch(kalvor::cli::Args& words) {
    const auto taken = std::remove(words.begin(), words.end(), std::string("--exact-frames"));
    kalvor::cli::FollowExactFrames(taken != words.end());
    words.erase(taken, words.end());
}

}  // namespace

int main(int argc, char** argv) {
    kalvor::cli::Args words(argv + 1, argv + argc);
    TakeExactFramesSwitch(words);
    try {
        const auto asked = kalvor::cli::TakeLanguageSwitch(words);
        const auto language = asked ? *asked : kalvor::ChooseUiLanguage("", kalvor::cli::SystemMessagesLocale());
        if (!kalvor::cli::SpeakLanguage(language) && asked)
            std::fputs("kalvor-cli: this build has no English texts; messages stay Japanese\n", stderr);
    } catch (const kalvor::cli::UsageError& e) {
        return Usage(e.message);
    }
    TakeNoTagsSwitch(words, 0);
    if (words.empty()) return Usage("");
    const std::string name = words.front();
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    const auto& commands = kalvor::cli::CliCommands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return name == c.name; });
    if (it == commands.end()) return Usage("unknown command: " + name);
    TakeNoTagsSwitch(words, 1);
    const kalvor::cli::Args args(words.begin() + 1, words.end());
    const kalvor::cli::CliJournal journal;
    try {
        return it->run(args);
    } catch (const kalvor::cli::UsageError& e) {
        return Usage(e.message);
    }
}
