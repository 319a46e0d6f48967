// SPDX-License-Identifier: GPL-3.0-or-later
// What stands at an output path decides how it is written: a folder is
// refused, a device or a FIFO is written into and never replaced, a link is
// never followed, and a replaced file keeps its permissions. Every node is
// made in a folder of the test's own, never in the machine's /dev.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kValues = " U60 0.25 500 0.017 1.0";

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

TEST(OutputTarget, AFolderIsRefusedWithOrWithoutForce) {
    TempFolder folder;
    fs::create_directory(folder / "out.svg");
    for (const std::string force : {"", "--force "}) {
        const ProcessResult r = RunCalc(force + "--svg " + Quoted(folder / "out.svg") + kValues);
        EXPECT_EQ(r.status, 2) << force;
        EXPECT_EQ(r.err, "veltrane-calc: " + (folder / "out.svg").string() +
                             " is a folder; give a file name\n");
        EXPECT_TRUE(fs::is_directory(folder / "out.svg"));
        EXPECT_TRUE(fs::is_empty(folder / "out.svg"));
    }
}

// A reader takes the drawing from a FIFO; the FIFO is still one afterwards.
// The reader gives up after 20 s, so that a writer that never comes fails
// the test instead of holding it.
TEST(OutputTarget, AFifoIsWrittenIntoAndStaysAFifo) {
    TempFolder folder;
    const fs::path fifo = folder / "pipe.svg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string force : {"", "--force "}) {
        const fs::path received = folder / "received";
        const ProcessResult r =
            RunCalc(force + "--svg " + Quoted(fifo) + kValues, "; s=$?; wait; (exit $s)",
                    "timeout 20 cat " + Quoted(fifo) + " >" + Quoted(received) + " &");
        EXPECT_EQ(r.status, 0) << force << r.err;
        EXPECT_EQ(ReadFile(received).substr(0, 5), "<?xml") << force;
        EXPECT_TRUE(fs::is_fifo(fifo)) << force;
    }
}

// A full device, made as /dev/full is (character device 1, 7), says it is
// full and stays a device, also with --force. Only root may make one.
TEST(OutputTarget, ADeviceIsNeverReplaced) {
    TempFolder folder;
    const fs::path device = folder / "full";
    if (geteuid() != 0 || mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "making a device node needs root";
    }
    for (const std::string force : {"", "--force "}) {
        const ProcessResult r = RunCalc(force + "--svg " + Quoted(device) + kValues);
        EXPECT_EQ(r.status, 3) << force;
        EXPECT_EQ(r.err,
                  "veltrane-calc: cannot write " + device.string() + ": No space left on device\n");
        EXPECT_TRUE(fs::is_character_file(device)) << force;
    }
    // A link to the device is a way to the same device.
    fs::create_symlink(device, folder / "link.svg");
    EXPECT_EQ(RunCalc("--force --svg " + Quoted(folder / "link.svg") + kValues).status, 3);
    EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));
    EXPECT_TRUE(fs::is_character_file(device));
}

TEST(OutputTarget, ALinkToAFileIsRefusedEvenWithForce) {
    TempFolder folder;
    std::ofstream(folder / "victim.txt") << "private";
    fs::create_symlink(folder / "victim.txt", folder / "link.svg");
    const ProcessResult r = RunCalc("--force --svg " + Quoted(folder / "link.svg") + kValues);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "veltrane-calc: " + (folder / "link.svg").string() +
                         " is a link; veltrane-calc does not write through links\n");
    EXPECT_EQ(ReadFile(folder / "victim.txt"), "private");
    EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));
}

TEST(OutputTarget, AReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    const fs::path file = folder / "private.svg";
    std::ofstream(file) << "old";
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const ProcessResult r = RunCalc("--force --svg " + Quoted(file) + kValues);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(file).substr(0, 5), "<?xml");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A reader that stops early: the rest cannot be written, which is said.
TEST(OutputTarget, AClosedPipeIsSaidWithStatusThree) {
    TempFolder folder;
    std::ofstream rows(folder / "rows.csv");
    rows << "size,discharge,slope,roughness,factor\n";
    for (int i = 0; i < 20000; ++i) {
        rows << "U60,0.25,500,0.017,1.0\n";
    }
    rows.close();
    const fs::path status = folder / "status";
    const fs::path err = folder / "err";
    const std::string command = std::string("( ") + VELTRANE_CALC + " --batch " +
                                Quoted(folder / "rows.csv") + " 2>" + Quoted(err) + "; echo $? >" +
                                Quoted(status) + " ) | head -c 100 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(status), "3\n");
    EXPECT_EQ(ReadFile(err), "veltrane-calc: cannot write standard output: Broken pipe\n");
}

}  // namespace
}  // namespace veltrane::cli::test
