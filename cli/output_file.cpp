// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "views/file_errors.h"

namespace veltrane::cli {

namespace {

// Opens path for writing only if no file, directory or link stands there
// ("x": O_CREAT | O_EXCL, which does not follow links). C11; MSVC has it too.
std::FILE* CreateExclusively(const std::string& path) {
    return std::fopen(path.c_str(), "wbx");
}

// What stands at an output path, as far as writing there goes.
enum class Target {
    Absent,   // nothing, or a dangling link (see Link)
    Regular,  // a file, replaced only with --force
    Stream,   // a device, a FIFO or a socket, or a link to one: written into, never replaced
    Folder,   // refused
    Link,     // a link to anything else: refused, and never followed
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

// Writes and closes file; returns 0, or on failure the errno of the failed
// call (0 when it did not say), with the file closed either way.
std::optional<int> WriteAndClose(std::FILE* file, std::string_view text) {
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    std::optional<int> failure;
    if (!written) {
        failure = errno;
    }
    errno = 0;
    if (std::fclose(file) != 0 && !failure) {
        failure = errno;
    }
    return failure;
}

// A name beside path that nothing uses yet, opened exclusively.
std::FILE* CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp-" + std::to_string(random() % 1000000000000ULL);
        errno = 0;
        if (std::FILE* file = CreateExclusively(temporary)) {
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

Step WriteOutputFile(const std::string& path, std::string_view text, bool replace) {
    // What stands there decides; a race with another writer between this
    // look and the write below is met by the exclusive create and the
    // rename, which never follow a link.
    std::filesystem::perms mode = std::filesystem::perms::unknown;
    switch (Classify(path, mode)) {
        case Target::Folder:
            return InputError(path + " is a folder; give a file name");
        case Target::Link:
            if (replace) {
                return InputError(path + " is a link; veltrane-calc does not write through links");
            }
            break;
        case Target::Stream: {
            // A device or a FIFO takes the text as a stream (/dev/full says
            // it is full); renaming a file over it would destroy it.
            errno = 0;
            std::FILE* file = std::fopen(path.c_str(), "wb");
            if (file == nullptr) {
                return CannotWrite(path, errno);
            }
            if (const auto failure = WriteAndClose(file, text)) {
                return CannotWrite(path, *failure);
            }
            return Done{};
        }
        case Target::Absent:
        case Target::Regular:
            break;
    }
    if (!replace) {
        errno = 0;
        std::FILE* file = CreateExclusively(path);
        if (file == nullptr) {
            if (errno == EEXIST) {
                return InputError(path + " exists; add --force to replace it");
            }
            return CannotWrite(path, errno);
        }
        if (const auto failure = WriteAndClose(file, text)) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
            return CannotWrite(path, *failure);
        }
        return Done{};
    }
    std::string temporary;
    std::FILE* file = CreateTemporaryBeside(path, temporary);
    if (file == nullptr) {
        return CannotWrite(path, errno);
    }
    std::error_code ec;
    if (const auto failure = WriteAndClose(file, text)) {
        std::filesystem::remove(temporary, ec);
        return CannotWrite(path, *failure);
    }
    if (mode != std::filesystem::perms::unknown) {
        // The replaced file's permissions, so that a private file stays private.
        std::filesystem::permissions(temporary, mode, ec);
        if (ec) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return CannotWrite(path, ec.default_error_condition().value());
        }
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return CannotWrite(path, ec.default_error_condition().value());
    }
    return Done{};
}

CliError StandardOutputError(int errnum) {
    return WriteError(
        "cannot write standard output: " +
        views::FileReason(errnum, views::FileAction::Write, views::Language::English));
}

}  // namespace veltrane::cli
