#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace kalvor::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path p = fs::temp_directory_path() / ("kalvor-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Read-only files and folders made by tests must not stop the clean-up.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
    return (path_ / name).string();
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

void AppendInPieces(const std::string& path, const Bytes& bytes, const std::vector<std::size_t>& pieceSizes) {
    std::size_t done = 0;
    for (std::size_t k = 0; done < bytes.size(); ++k) {
        const std::size_t n = std::min(pieceSizes[k % pieceSizes.size()], bytes.size() - done);
        {
            std::ofstream f(path, std::ios::binary | std::ios::app);
            f.write(reinterpret_cast<const char*>(bytes.data() + done), static_cast<std::streamsize>(n));
            if (!f) throw std::runtime_error("cannot append to " + path);
        }
        done += n;
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
}

Bytes ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

Bytes ReadRange(const std::string& path, std::size_t first, std::size_t count) {
    Bytes all = ReadFile(path);
    if (first >= all.size()) return {};
    const std::size_t end = std::min(all.size(), first + count);
    return Bytes(all.begin() + static_cast<std::ptrdiff_t>(first), all.begin() + static_cast<std::ptrdiff_t>(end));
}

std::string TestAudio(const std::string& name) {
    const char* dir = std::getenv("KALVOR_TEST_AUDIO");
    std::string path = std::string(dir ? dir : "testaudio") + "/" + name;
    if (!fs::exists(path)) ADD_FAILURE() << "test audio missing: " << path << " (run tools/make-test-audio.sh)";
    return path;
}

std::string SourceDir() {
    const char* dir = std::getenv("KALVOR_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string ShellQuote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CommandResult Run(const std::string& commandLine) {
    TempDir tmp;
    const std::string outPath = tmp.file("out"), errPath = tmp.file("err");
    const std::string full = "( " + commandLine + " ) >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath);
    CommandResult r;
    const int status = std::system(full.c_str());
    r.exitCode = (status == -1) ? -1 : WEXITSTATUS(status);
    auto slurp = [](const std::string& p) {
        std::ifstream f(p, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    };
    r.out = slurp(outPath);
    r.err = slurp(errPath);
    return r;
}

std::string CliPath() {
    const char* cli = std::getenv("KALVOR_CLI");
    return cli ? cli : "kalvor-cli";
}

}  // namespace kalvor::test
