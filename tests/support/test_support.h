#pragma once
// Helpers shared by the tests: temporary folders, files of given bytes, the
// audio made at test time, and running programs.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvor::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
   public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Full path of a file name inside the folder, as text.
    std::string file(const std::string& name) const;

   private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& path, const Bytes& bytes);
// Appends bytes to the file in pieces, their sizes taken in turn from pieceSizes,
// pausing a moment after each: a writer that a reader of the file must keep pace with.
void AppendInPieces(const std::string& path, const Bytes& bytes, const std::vector<std::size_t>& pieceSizes);
Bytes ReadFile(const std::string& path);
// bytes[first, first + count) of a file, 0-based.
Bytes ReadRange(const std::string& path, std::size_t first, std::size_t count);

// Path of a file made by tools/make-test-audio.sh; fails the test when missing.
std::string TestAudio(const std::string& name);
// The source tree (for samples/ and tools/).
std::string SourceDir();

struct CommandResult {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};
// Runs a shell command line and collects its output.
CommandResult Run(const std::string& commandLine);
// Quotes one argument for the shell.
std::string ShellQuote(const std::string& arg);
// The kalvor-cli program under test.
std::string CliPath();

}  // namespace kalvor::test
