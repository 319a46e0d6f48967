// SPDX-License-Identifier: GPL-3.0-or-later
// Every command makes sure that what it wrote reached its output.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli/process.h"

namespace veltrane::cli::test {
namespace {

struct FullCase {
    const char* name;
    const char* args;
    const char* input = "";  // a shell command whose output is piped in
};

void PrintTo(const FullCase& c, std::ostream* os) {
    *os << c.name;
}

class FullOutput : public ::testing::TestWithParam<FullCase> {};

TEST_P(FullOutput, SaysSoAndExits3) {
    const ProcessResult r = RunCalc(GetParam().args, ">/dev/full", GetParam().input);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "veltrane-calc: cannot write standard output: No space left on device\n");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FullOutput,
    ::testing::Values(FullCase{"Report", "U60 0.25 500 0.017 1.0"},
                      FullCase{"Json", "--json U60 0.25 500 0.017 1.0"},
                      FullCase{"Fit", "fit 0.25 500 0.017 1.2"},
                      FullCase{"Table", "table U140 500 0.017 --step 0.0001"},
                      FullCase{"Batch", "--batch -",
                               "printf 'size,discharge,slope,roughness,factor\\nU60,0.25,500,"
                               "0.017,1.0\\n' |"},
                      FullCase{"Help", "--help"}, FullCase{"Version", "--version"}),
    [](const auto& info) { return std::string(info.param.name); });

// A message goes to stderr; nothing is lost on stdout, so the status stays 1.
TEST(FullOutput, AMessageAloneIsNotAWriteError) {
    const ProcessResult r = RunCalc("U60 0.3 500 0.017 1.0", ">/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "设计水深已大于渠深,请选用其他U形渠道构件。\n");
}

TEST(ClosedOutput, SaysWhy) {
    const ProcessResult r = RunCalc("U60 0.25 500 0.017 1.0", ">&-");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "veltrane-calc: cannot write standard output: Bad file descriptor\n");
}

}  // namespace
}  // namespace veltrane::cli::test
