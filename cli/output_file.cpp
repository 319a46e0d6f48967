// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_file.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <random>
#include <system_error>
#include <utility>

#include "cli/file_system.h"
#include "cli/interrupt_cleanup.h"
#include "views/file_errors.h"

namespace veltrane::cli {

namespace {

std::ostream* standardOutput = nullptr;  // set by StandardOutputScope

// Bytes gathered before they go to the file, so that a document written in
// small pieces is not written by as many calls.
constexpr std::size_t kBufferSize = std::size_t{1} << 16;

// What stands at an output path, as far as writing there goes.
enum class Target {
    Absent,   // nothing
    Regular,  // a file, replaced only with --force
    Stream,   // a device, a FIFO or a socket, or a link to one: written into, never replaced
    Folder,   // refused
    Link,     // a link to anything else, or a dangling one: never followed
};

Target Classify(const std::string& path, std::filesystem::perms& mode) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status own = fs::symlink_status(path, ec);
    if (ec || !fs::exists(own)) {
        return Target::Absent;
    }
    const auto stream = [](const fs::file_status& s) {
        return fs::is_character_file(s) || fs::is_block_file(s) || fs::is_fifo(s) ||
               fs::is_socket(s);
    };
    if (fs::is_symlink(own)) {
        const fs::file_status target = fs::status(path, ec);
        return !ec && stream(target) ? Target::Stream : Target::Link;
    }
    if (fs::is_directory(own)) {
        return Target::Folder;
    }
    mode = own.permissions();
    return stream(own) ? Target::Stream : Target::Regular;
}

CliError CannotWrite(const std::string& path, int errnum) {
    return WriteError(
        views::FileErrorText(views::FileAction::Write, path, errnum, views::Language::English));
}

CliError Exists(const std::string& path) {
    return InputError(path + " exists; add --force to replace it");
}

// A name beside path that nothing uses yet, opened exclusively; nullptr
// with errno set when none can be made.
std::FILE* CreateTemporaryBeside(const std::string& path, bool ownerOnly, std::string& temporary) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp-" + std::to_string(random() % 1000000000000ULL);
        errno = 0;
        if (std::FILE* file = CreateExclusively(temporary, ownerOnly)) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    temporary.clear();
    return nullptr;
}

}  // namespace

OutputFile::~OutputFile() {
    Discard();
}

Step OutputFile::Open(const std::string& path, bool replace) {
    path_ = path;
    replace_ = replace;
    if (path == "-") {
        stream_ = standardOutput != nullptr ? standardOutput : &std::cout;
        return Done{};
    }
    std::filesystem::perms mode = std::filesystem::perms::unknown;
    switch (Classify(path, mode)) {
        case Target::Folder:
            return Fail(InputError(path + " is a folder; give a file name"));
        case Target::Link:
            if (replace) {
                return Fail(
                    InputError(path + " is a link; veltrane-calc does not write through links"));
            }
            return Fail(Exists(path));
        case Target::Regular:
            if (!replace) {
                return Fail(Exists(path));
            }
            break;
        case Target::Stream:
            // A device or a FIFO takes the text as a stream (/dev/full says
            // it is full); renaming a file over it would destroy it.
            errno = 0;
            file_ = std::fopen(path.c_str(), "wb");
            if (file_ == nullptr) {
                return Fail(CannotWrite(path, errno));
            }
            return Done{};
        case Target::Absent:
            break;
    }
    const bool keepMode = mode != std::filesystem::perms::unknown;
    {
        // Made and watched as one step: an interrupt in between would leave it.
        InterruptsHeld held;
        file_ = CreateTemporaryBeside(path, keepMode, temporary_);
        if (file_ == nullptr) {
            return Fail(CannotWrite(path, errno));
        }
        watch_ = WatchTemporary(temporary_);
    }
    if (watch_ < 0) {
        Discard();
        return Fail(CannotWrite(path, ENAMETOOLONG));
    }
    std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
    if (keepMode) {
        // The replaced file's permissions, so that a private file stays private.
        if (const int failed = SetMode(file_, temporary_, mode); failed != 0) {
            Discard();
            return Fail(CannotWrite(path, failed));
        }
    }
    return Done{};
}

Step OutputFile::Write(std::string_view bytes) {
    if (failure_) {
        return *failure_;
    }
    if (stream_ != nullptr) {
        errno = 0;
        if (!stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            return Fail(StandardOutputError(errno != 0 ? errno : EIO));
        }
        return Done{};
    }
    if (file_ == nullptr) {
        return Fail(CannotWrite(path_, EBADF));
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        const int failed = errno != 0 ? errno : EIO;
        Discard();
        return Fail(CannotWrite(path_, failed));
    }
    return Done{};
}

Step OutputFile::Commit() {
    if (failure_) {
        return *failure_;
    }
    if (stream_ != nullptr) {
        errno = 0;
        if (!stream_->flush()) {
            return Fail(StandardOutputError(errno != 0 ? errno : EIO));
        }
        return Done{};
    }
    if (file_ == nullptr) {
        return Fail(CannotWrite(path_, EBADF));
    }
    const bool stream = temporary_.empty();
    if (const int failed = FlushAndClose(std::exchange(file_, nullptr), !stream); failed != 0) {
        Discard();
        return Fail(CannotWrite(path_, failed));
    }
    if (stream) {
        return Done{};
    }
    int moved = 0;
    {
        InterruptsHeld held;
        moved =
            replace_ ? MoveReplacing(temporary_, path_) : MoveWithoutReplacing(temporary_, path_);
        if (moved != 0) {
            RemoveFile(temporary_);
        }
        ForgetTemporary(std::exchange(watch_, -1));
        temporary_.clear();
    }
    if (moved == EEXIST && !replace_) {
        return Fail(Exists(path_));
    }
    if (moved != 0) {
        return Fail(CannotWrite(path_, moved));
    }
    return Done{};
}

Step OutputFile::Fail(CliError error) {
    failure_ = error;
    return error;
}

void OutputFile::Discard() {
    if (file_ != nullptr) {
        std::fclose(std::exchange(file_, nullptr));
    }
    if (!temporary_.empty()) {
        InterruptsHeld held;
        RemoveFile(temporary_);
        ForgetTemporary(std::exchange(watch_, -1));
        temporary_.clear();
    }
}

Step WriteOutputFile(const std::string& path, std::string_view text, bool replace) {
    OutputFile file;
    if (Step opened = file.Open(path, replace); !opened) {
        return opened;
    }
    if (Step written = file.Write(text); !written) {
        return written;
    }
    return file.Commit();
}

StandardOutputScope::StandardOutputScope(std::ostream& out)
    : previous_(std::exchange(standardOutput, &out)) {}

StandardOutputScope::~StandardOutputScope() {
    standardOutput = previous_;
}

CliError StandardOutputError(int errnum) {
    return WriteError(
        "cannot write standard output: " +
        views::FileReason(errnum, views::FileAction::Write, views::Language::English));
}

}  // namespace veltrane::cli
