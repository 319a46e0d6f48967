// SPDX-License-Identifier: GPL-3.0-or-later
// Files that veltrane-calc writes: never replaced silently, never left
// half-written, never written through a link.
#pragma once

#include <cstdio>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_error.h"

namespace veltrane::cli {

// An output file written piece by piece, so that a large document need not
// be held whole. What stands at the path decides, when it is opened:
// - nothing: the text goes to a temporary file beside it (PATH.tmp-NNN),
//   which takes the name at Commit only if the name is still free; a file,
//   a link (even a dangling one) or a folder that came there since is left
//   as it is ("PATH exists; add --force to replace it", exit 2);
// - a file: refused the same way, or with replace written to a temporary
//   file that is renamed over it at Commit, in one step, keeping the old
//   file's permissions;
// - a device, a FIFO or a socket, or a link to one: written into as a
//   stream, never replaced (/dev/stdout, /dev/full);
// - a folder: refused; a link to anything else: refused with replace (it is
//   never followed), and as an existing file without it.
// - "-": standard output (see StandardOutputScope), written as a stream.
// Until Commit the path holds what it held before; a failed write (a full
// disk: "cannot write PATH: No space left on device", exit 3), an
// interrupt (see interrupt_cleanup.h) or an OutputFile dropped uncommitted
// removes the temporary file. After a failure every call gives that error.
class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    Step Open(const std::string& path, bool replace);
    Step Write(std::string_view bytes);
    Step Commit();

  private:
    Step Fail(CliError error);
    void Discard();

    std::string path_;
    std::string temporary_;  // "" for a stream, and once moved or removed
    std::FILE* file_ = nullptr;
    std::ostream* stream_ = nullptr;  // for "-"
    bool replace_ = false;
    int watch_ = -1;  // the interrupt handler's record of temporary_
    std::optional<CliError> failure_;
};

// Writes text to path as one OutputFile: Open, Write and Commit.
Step WriteOutputFile(const std::string& path, std::string_view text, bool replace);

// Where an output FILE of "-" goes for as long as the scope lives: the
// command line's standard output (a test's stream in the tests). Without a
// scope, std::cout.
class StandardOutputScope {
  public:
    explicit StandardOutputScope(std::ostream& out);
    ~StandardOutputScope();
    StandardOutputScope(const StandardOutputScope&) = delete;
    StandardOutputScope& operator=(const StandardOutputScope&) = delete;

  private:
    std::ostream* previous_;
};

// "cannot write standard output: REASON" for the errno of the failed write.
CliError StandardOutputError(int errnum);

}  // namespace veltrane::cli
