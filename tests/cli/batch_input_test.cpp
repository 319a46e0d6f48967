// SPDX-License-Identifier: GPL-3.0-or-later
// --batch reads its input whole: unreadable inputs are reported, memory is
// the size of the input, a few times over at most, and an endless or huge
// input is refused before it fills the memory.
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

constexpr std::string_view kHeader =
    "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,check_depth,"
    "velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,message\n";

constexpr std::string_view kU60Row =
    "U60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,45.034,\n";

TEST(BatchInput, ADirectoryCannotBeRead) {
    TempFolder folder;
    const ProcessResult r = RunCalc("--batch '" + folder.path().string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "veltrane-calc: cannot read " + folder.path().string() + ": Is a directory\n");
}

TEST(BatchInput, AMissingFileCannotBeRead) {
    const ProcessResult r = RunCalc("--batch /nonexistent/rows.csv");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "veltrane-calc: cannot read /nonexistent/rows.csv: No such file or directory\n");
}

// 64 MB on one line: the line becomes an error row, the row after it is
// calculated, and the process holds the input no more than three times over
// (the bytes read, and the decoded text).
TEST(BatchInput, AnEndlessLineIsAnErrorRowInMemoryOfTheInputsSize) {
    const ProcessResult r =
        RunCalc("--batch -", "",
                "{ printf 'size,discharge,slope,roughness,factor\\n'; head -c 64000000 /dev/zero; "
                "printf '\\nU60,0.25,500,0.017,1.0\\n'; } |");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kHeader) +
                         ",,,,,error,,,,,,,,,,line 2: longer than 1048576 bytes\n" +
                         std::string(kU60Row));
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's shadow memory and quarantine make the peak its own.
    GTEST_SKIP() << "memory is measured without AddressSanitizer";
#else
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 3 * 64000) << "kB at the peak";
#endif
}

// Zeros without end (a gigabyte stands for it): no line within twice the
// record limit, so no CSV header; or a header and then more than 256 MiB.
// Each ends at once with exit 2; timeout makes a run that reads on fail
// instead of hanging.
struct EndlessCase {
    const char* name;
    const char* input;  // a shell command whose output is piped in
    const char* args;
    const char* err;
};

void PrintTo(const EndlessCase& c, std::ostream* os) {
    *os << c.name;
}

class EndlessInput : public ::testing::TestWithParam<EndlessCase> {};

TEST_P(EndlessInput, IsRefusedWithExit2) {
    const EndlessCase& c = GetParam();
    const ProcessResult r = RunCalc(c.args, "", std::string(c.input) + " | timeout 60");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
}

constexpr const char* kNoHeader =
    "veltrane-calc: standard input is not a CSV file: its first line is longer than 1 MiB\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs, EndlessInput,
    ::testing::Values(
        EndlessCase{"Zeros", "head -c 1073741824 /dev/zero", "--batch -", kNoHeader},
        EndlessCase{"AHeaderThenZeros",
                    "{ printf 'size,discharge,slope,roughness,factor\\n'; "
                    "head -c 1073741824 /dev/zero; }",
                    "--batch -",
                    "veltrane-calc: standard input is larger than 256 MiB; split it into smaller "
                    "files\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A named FIFO, fed zeros, reads as /dev/zero would; the sheet it was to
// become is never started.
TEST(EndlessInput, AFifoOfZerosIsNoCanal) {
    TempFolder folder;
    const std::filesystem::path fifo = folder / "canal.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const ProcessResult r = RunCalc(
        "sheet --batch '" + fifo.string() + "' --html '" + (folder / "canal.html").string() + "'",
        "; s=$?; wait; (exit $s)",
        "head -c 1073741824 /dev/zero >'" + fifo.string() + "' & timeout 60");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "veltrane-calc: " + fifo.string() +
                         " is not a CSV file: its first line is longer than 1 MiB\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "canal.html"));
}

// A file larger than the limit is refused by its size, before it is read;
// the file here is sparse and takes no room on the disk.
TEST(BatchInput, AFileLargerThan256MiBIsRefused) {
    TempFolder folder;
    const std::filesystem::path rows = folder / "rows.csv";
    std::ofstream(rows) << "size,discharge,slope,roughness,factor\n";
    std::filesystem::resize_file(rows, (std::uintmax_t{256} << 20) + 1);
    const ProcessResult r = RunCalc("--batch '" + rows.string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "veltrane-calc: " + rows.string() +
                         " is larger than 256 MiB; split it into smaller files\n");
}

}  // namespace
}  // namespace veltrane::cli::test
