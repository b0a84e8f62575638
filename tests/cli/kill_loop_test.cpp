// kalvor-cli killed with SIGKILL at random points of a save, a save as, an
// overwrite, a split and a build: every file of the user's is whole, the old
// version or the new, and the next start removes what the killed run left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include "support/cli_program.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

struct Operation {
    const char* what;
    std::vector<std::string> args;     // after the program name; {} stands for the folder
    std::vector<std::string> targets;  // the files it writes
};

class KillLoop : public ::testing::Test {
   protected:
    void SetUp() override {
        tmp_ = dir_.file("tmp");
        fs::create_directory(tmp_);
        fs::copy_file(test::TestAudio("vbr.mp3"), dir_.file("src.mp3"));
    }

    std::vector<std::string> Argv(const Operation& op) const {
        std::vector<std::string> argv{test::CliProgram()};
        for (const std::string& a : op.args)
            argv.push_back(a.find('/') == 0 || a.find(".mp3") == std::string::npos ? a : dir_.file(a));
        return argv;
    }

    // Starts the program with its own temporary folder; its process id.
    pid_t Start(const std::vector<std::string>& argv) const {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("TMPDIR", tmp_.c_str(), 1);
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        return pid;
    }

    int Wait(pid_t pid) const {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }

    // Each target's bytes before the run, written afresh.
    void Reset(const Operation& op) const {
        for (const std::string& t : op.targets) {
            if (t == "orig.mp3")
                fs::copy_file(dir_.file("src.mp3"), dir_.file(t), fs::copy_options::overwrite_existing);
            else if (t == "new.mp3")
                fs::remove(dir_.file(t));
            else
                test::WriteFile(dir_.file(t), Bytes(1000, 0x41));
        }
    }

    // What a run that is not killed writes, and how long it takes.
    std::vector<Bytes> Expected(const Operation& op, std::chrono::microseconds& took) const {
        Reset(op);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Wait(Start(Argv(op))), 0) << op.what;
        took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        std::vector<Bytes> written;
        for (const std::string& t : op.targets) written.push_back(test::ReadFile(dir_.file(t)));
        return written;
    }

    // Names in the folders that only an unfinished run leaves.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(dir_.path())) {
            const std::string name = e.path().filename().string();
            if (name.find(".kalvor-") != std::string::npos || name.rfind("kalvor-edit-", 0) == 0 ||
                name.rfind("leftovers-", 0) == 0)
                found.push_back(e.path().string());
        }
        return found;
    }

    test::TempDir dir_;
    std::string tmp_;
};

TEST_F(KillLoop, FiftyKillsLoseNothing) {
    const std::vector<Operation> ops = {
        {"save", {"edit", "src.mp3", "new.mp3", "select", "2", "5", "delete"}, {"new.mp3"}},
        {"save as",
         {"edit", "src.mp3", "old.mp3", "select", "2", "5", "cut", "select", "9", "9", "paste"},
         {"old.mp3"}},
        {"overwrite", {"edit", "orig.mp3", "orig.mp3", "select", "2", "5", "delete"}, {"orig.mp3"}},
        {"split",
         {"split", "src.mp3", "p.mp3", "5", "10", "15"},
         {"p - 01.mp3", "p - 02.mp3", "p - 03.mp3", "p - 04.mp3"}},
        {"build", {"build", "src.mp3", "b.mp3", "1", "3", "6", "9", "12", "20"}, {"b.mp3"}},
    };
    std::mt19937 random(20261208);
    const Bytes source = test::ReadFile(dir_.file("src.mp3"));
    for (const Operation& op : ops) {
        std::chrono::microseconds took{};
        const std::vector<Bytes> expected = Expected(op, took);
        for (int kill = 0; kill < 10; ++kill) {
            Reset(op);
            std::vector<Bytes> before;
            for (const std::string& t : op.targets)
                before.push_back(fs::exists(dir_.file(t)) ? test::ReadFile(dir_.file(t)) : Bytes{});
            const pid_t pid = Start(Argv(op));
            std::this_thread::sleep_for(std::chrono::microseconds(random() % (took.count() + 1)));
            ::kill(pid, SIGKILL);
            Wait(pid);
            for (std::size_t i = 0; i < op.targets.size(); ++i) {
                const Bytes now =
                    fs::exists(dir_.file(op.targets[i])) ? test::ReadFile(dir_.file(op.targets[i])) : Bytes{};
                EXPECT_TRUE(now == before[i] || now == expected[i])
                    << op.what << ", kill " << kill << ": " << op.targets[i] << " holds " << now.size() << " bytes";
            }
            EXPECT_TRUE(test::ReadFile(dir_.file("src.mp3")) == source) << op.what;
            // The next start cleans up after the killed run.
            EXPECT_EQ(Wait(Start({test::CliProgram(), "info", dir_.file("src.mp3")})), 0);
            EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << op.what << ", kill " << kill;
        }
    }
}

}  // namespace
}  // namespace kalvor
