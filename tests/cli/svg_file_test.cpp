// SPDX-License-Identifier: GPL-3.0-or-later
// --svg FILE never replaces a file silently and never leaves one half-written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kValues = " U60 0.25 500 0.017 1.0";

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

TEST(SvgFile, ANewFileIsWritten) {
    TempFolder folder;
    const ProcessResult r = RunCalc("--svg " + Quoted(folder / "u60.svg") + kValues);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(folder / "u60.svg").rfind("<?xml version=\"1.0\"", 0), 0u);
}

TEST(SvgFile, AnExistingFileIsKept) {
    TempFolder folder;
    Write(folder / "old.svg", "old");
    const ProcessResult r = RunCalc("--svg " + Quoted(folder / "old.svg") + kValues);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "veltrane-calc: " + (folder / "old.svg").string() +
                         " exists; add --force to replace it\n");
    EXPECT_EQ(ReadFile(folder / "old.svg"), "old");
}

// A link planted where the drawing goes is not followed, even when what it
// points to does not exist yet.
TEST(SvgFile, APlantedLinkIsNotFollowed) {
    TempFolder folder;
    fs::create_symlink(folder / "target.svg", folder / "link.svg");
    const ProcessResult r = RunCalc("--svg " + Quoted(folder / "link.svg") + kValues);
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(folder / "target.svg"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));
}

TEST(SvgFile, ForceReplacesTheWholeFile) {
    TempFolder folder;
    Write(folder / "old.svg", "old");
    const ProcessResult r = RunCalc("--force --svg " + Quoted(folder / "old.svg") + kValues);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(folder / "old.svg").substr(0, 5), "<?xml");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// The file size limit stands in for a full disk: the write fails half-way.
TEST(SvgFile, AFailedReplacementLeavesTheOldFileAndNoPartialOne) {
    TempFolder folder;
    Write(folder / "old.svg", "old");
    const ProcessResult r = RunCalc("--force --svg " + Quoted(folder / "old.svg") + kValues, "",
                                    "trap '' XFSZ; ulimit -f 1;");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "veltrane-calc: cannot write " + (folder / "old.svg").string() +
                         ": File too large\n");
    EXPECT_EQ(ReadFile(folder / "old.svg"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(SvgFile, AFailedNewFileIsRemoved) {
    TempFolder folder;
    const ProcessResult r =
        RunCalc("--svg " + Quoted(folder / "new.svg") + kValues, "", "trap '' XFSZ; ulimit -f 1;");
    EXPECT_EQ(r.status, 3);
    EXPECT_FALSE(fs::exists(folder / "new.svg"));
}

}  // namespace
}  // namespace veltrane::cli::test
