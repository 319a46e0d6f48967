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
