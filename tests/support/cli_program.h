#pragma once
#include <string>

namespace kalvor::test {

// The kalvor-cli under test: CliPath() when KALVOR_CLI is set, else the
// kalvor-cli of the build tree this test program belongs to (the test
// programs live in <build>/tests, kalvor-cli in <build>).
std::string CliProgram();

}  // namespace kalvor::test
