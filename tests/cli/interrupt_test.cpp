// SPDX-License-Identifier: GPL-3.0-or-later
// A canal's page interrupted while it is written: nothing is left beside
// the target, a file that --force was to replace keeps its text and its
// mode, and the process ends of the signal, as the shell expects.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kMode0640 =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;

// veltrane-calc with args, started without a shell (a shell's background
// job ignores SIGINT), with the three signals at their default action
// whatever the test runner was started with; hangUpIgnored starts it as
// nohup does.
pid_t StartCalc(const std::vector<std::string>& args, bool hangUpIgnored = false) {
    std::vector<char*> argv;
    std::string program = VELTRANE_CALC;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    if (!hangUpIgnored) {
        sigaddset(&defaults, SIGHUP);
    }
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    // What the child inherits of SIGHUP is what it finds; ignored only for it.
    struct sigaction ignore {};
    struct sigaction saved {};
    ignore.sa_handler = SIG_IGN;
    if (hangUpIgnored) {
        sigaction(SIGHUP, &ignore, &saved);
    }
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &files, &attributes, argv.data(), environ) != 0) {
        pid = -1;
    }
    if (hangUpIgnored) {
        sigaction(SIGHUP, &saved, nullptr);
    }
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

// Waits until a temporary file beside the target holds part of the page.
// False when the process ended first (it is reaped then) or none came in
// two minutes (it is killed then).
bool AwaitPartOfThePage(const fs::path& folder, pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
            if (entry.path().filename().string().find(".tmp-") != std::string::npos &&
                fs::file_size(entry.path(), ec) > 0 && !ec) {
                return true;
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

// Reaches that all serve, so that the page, some 30 MB, is written soon
// after the start and for long enough to be caught at it.
void WriteCanal(const fs::path& path) {
    std::ofstream canal(path);
    canal << "size,discharge,slope,roughness,factor,name\n";
    for (int i = 0; i < 3000; ++i) {
        canal << "U80,0.4,500,0.017,1.2,支渠" << i << '\n';
    }
}

struct Interrupt {
    const char* name;
    int signal;
    bool force;  // a file stands at the target, replaced with --force
};

void PrintTo(const Interrupt& i, std::ostream* os) {
    *os << i.name;
}

class InterruptedPage : public ::testing::TestWithParam<Interrupt> {};

TEST_P(InterruptedPage, LeavesNothingBeside) {
    const Interrupt& c = GetParam();
    TempFolder folder;
    WriteCanal(folder / "canal.csv");
    const fs::path page = folder / "canal.html";
    std::vector<std::string> args = {"sheet", "--batch", (folder / "canal.csv").string(), "--html",
                                     page.string()};
    if (c.force) {
        std::ofstream(page) << "the old page";
        fs::permissions(page, kMode0640);
        args.push_back("--force");
    }
    const pid_t pid = StartCalc(args);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(AwaitPartOfThePage(folder.path(), pid)) << "no temporary file was written";
    ASSERT_EQ(kill(pid, c.signal), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    if (WIFSIGNALED(status)) {
        EXPECT_EQ(WTERMSIG(status), c.signal);
    }
    if (c.force) {
        EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"canal.csv", "canal.html"}));
        EXPECT_EQ(ReadFile(page), "the old page");
        EXPECT_EQ(fs::status(page).permissions(), kMode0640);
    } else {
        EXPECT_EQ(Names(folder.path()), std::set<std::string>{"canal.csv"});
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedPage,
                         ::testing::Values(Interrupt{"Int", SIGINT, false},
                                           Interrupt{"IntWithForce", SIGINT, true},
                                           Interrupt{"Term", SIGTERM, false},
                                           Interrupt{"HangUpWithForce", SIGHUP, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// nohup: a hang-up that the caller ignores does not stop the page.
TEST(InterruptedPage, AnIgnoredHangUpIsIgnored) {
    TempFolder folder;
    WriteCanal(folder / "canal.csv");
    const fs::path page = folder / "canal.html";
    const pid_t pid = StartCalc({"sheet", "--batch", (folder / "canal.csv").string(), "--date",
                                 "2026-03-01", "--html", page.string()},
                                true);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(AwaitPartOfThePage(folder.path(), pid));
    ASSERT_EQ(kill(pid, SIGHUP), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"canal.csv", "canal.html"}));
    // The whole page, as a run left alone writes it.
    const ProcessResult whole =
        RunCalc("sheet --batch '" + (folder / "canal.csv").string() +
                "' --date 2026-03-01 --html '" + (folder / "whole.html").string() + "'");
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_TRUE(ReadFile(page) == ReadFile(folder / "whole.html"));
}

}  // namespace
}  // namespace veltrane::cli::test
