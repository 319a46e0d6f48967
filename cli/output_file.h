// SPDX-License-Identifier: GPL-3.0-or-later
// Files that veltrane-calc writes: never replaced silently, never left
// half-written, never written through a link.
#pragma once

#include <string>
#include <string_view>

#include "cli/cli_error.h"

namespace veltrane::cli {

// Writes text to path. Without replace the file is created exclusively, so
// neither an existing file nor a symbolic link planted at path (even a
// dangling one) is followed or touched; an existing path is an input error
// ("F exists; add --force to replace it", exit 2). With replace the text
// goes to a new temporary file in the same folder, which is then renamed
// over path: path holds the old text or the whole new one, and a failure (a
// full disk) leaves no partial file behind; it is a write error ("cannot
// write F: No space left on device", exit 3).
Step WriteOutputFile(const std::string& path, std::string_view text, bool replace);

// "cannot write standard output: REASON" for the errno of the failed write.
CliError StandardOutputError(int errnum);

}  // namespace veltrane::cli
