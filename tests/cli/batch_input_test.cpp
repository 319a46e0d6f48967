// SPDX-License-Identifier: GPL-3.0-or-later
// --batch reads its input whole: unreadable inputs are reported, and memory
// is the size of the input, a few times over at most.
#include <sys/resource.h>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace veltrane::cli::test
