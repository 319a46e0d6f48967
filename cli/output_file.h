// SPDX-License-Identifier: GPL-3.0-or-later
// Files that veltrane-calc writes: never replaced silently, never left
// half-written.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace veltrane::cli {

// Writes text to path. Without replace the file is created exclusively, so
// neither an existing file nor a symbolic link planted at path (even a
// dangling one) is followed or touched. With replace the text goes to a new
// temporary file in the same folder, which is then renamed over path: path
// holds the old text or the whole new one, and a failure (a full disk)
// leaves no partial file behind.
struct WriteFailure {
    bool exists = false;  // refused: path exists and replace was not asked for
    std::string text;     // "cannot write F: No space left on device", "F exists; …"
};
std::optional<WriteFailure> WriteOutputFile(const std::string& path, std::string_view text,
                                            bool replace);

// WriteOutputFile for an option's FILE: says on err what went wrong and
// returns the exit status for it (2 for an existing file, 3 for a failed
// write), or 0 when the file is written.
int SaveOutputFile(const std::string& path, std::string_view text, bool replace, std::ostream& err);

// The reason of the last failed system call, as the system words it.
std::string LastErrorText();

}  // namespace veltrane::cli
