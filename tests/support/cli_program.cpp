#include "support/cli_program.h"

#include <cstdlib>
#include <filesystem>

#include "support/test_support.h"

namespace kalvor::test {

std::string CliProgram() {
    if (std::getenv("KALVOR_CLI")) return CliPath();
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto beside = self.parent_path().parent_path() / "kalvor-cli";
    if (!ec && std::filesystem::exists(beside)) return ShellQuote(beside.string());
    return CliPath();
}

}  // namespace kalvor::test
