// SPDX-License-Identifier: GPL-3.0-or-later
// An output file written piece by piece: its path holds the old text, or
// nothing, until the whole new text is committed; a name taken while it was
// written is never replaced without --force; and nothing stays beside it.
#include "cli/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The race that an exclusive create alone would lose: the name is free when
// the file is opened, and taken, by a file or a dangling link, before the
// text is in place.
TEST(OutputFile, ANameTakenWhileWritingIsNeverReplaced) {
    TempFolder folder;
    const fs::path page = folder / "page.html";
    for (const bool link : {false, true}) {
        OutputFile file;
        ASSERT_TRUE(file.Open(page.string(), false).ok()) << link;
        ASSERT_TRUE(file.Write("<p>new</p>").ok());
        if (link) {
            fs::create_symlink(folder / "elsewhere.html", page);
        } else {
            Write(page, "planted");
        }
        const Step committed = file.Commit();
        ASSERT_FALSE(committed.ok()) << link;
        EXPECT_EQ(committed.error().status, kExitUsage);
        EXPECT_EQ(committed.error().message, page.string() + " exists; add --force to replace it");
        EXPECT_EQ(Names(folder.path()), std::set<std::string>{"page.html"}) << link;
        if (link) {
            EXPECT_TRUE(fs::is_symlink(page));
            EXPECT_FALSE(fs::exists(folder / "elsewhere.html"));
        } else {
            EXPECT_EQ(ReadFile(page), "planted");
        }
        fs::remove(page);
    }
}

// While the text is written the path shows the old file, or none; then the
// whole new text at once. With --force a file that came meanwhile is
// replaced, as --force says.
TEST(OutputFile, ThePathChangesOnlyAtCommit) {
    TempFolder folder;
    const fs::path fresh = folder / "fresh.html";
    const fs::path old = folder / "old.html";
    Write(old, "old");
    for (const bool replace : {false, true}) {
        const fs::path& page = replace ? old : fresh;
        OutputFile file;
        ASSERT_TRUE(file.Open(page.string(), replace).ok()) << replace;
        ASSERT_TRUE(file.Write("<p>one</p>").ok());
        ASSERT_TRUE(file.Write("<p>two</p>").ok());
        if (replace) {
            EXPECT_EQ(ReadFile(page), "old");
        } else {
            EXPECT_FALSE(fs::exists(page));
        }
        ASSERT_TRUE(file.Commit().ok()) << replace;
        EXPECT_EQ(ReadFile(page), "<p>one</p><p>two</p>");
    }
    EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"fresh.html", "old.html"}));
}

// A run that stops before Commit (an error, an exception) drops the file:
// nothing new stays, and a file it was to replace keeps its text.
TEST(OutputFile, AnUncommittedFileLeavesNothing) {
    TempFolder folder;
    const fs::path old = folder / "old.html";
    Write(old, "old");
    for (const bool replace : {false, true}) {
        const fs::path page = replace ? old : folder / "new.html";
        OutputFile file;
        ASSERT_TRUE(file.Open(page.string(), replace).ok()) << replace;
        ASSERT_TRUE(file.Write(std::string(200000, 'x')).ok());
        EXPECT_EQ(Names(folder.path()).size(), 2u) << "the file and its temporary one";
    }
    EXPECT_EQ(Names(folder.path()), std::set<std::string>{"old.html"});
    EXPECT_EQ(ReadFile(old), "old");
}

}  // namespace
}  // namespace veltrane::cli::test
