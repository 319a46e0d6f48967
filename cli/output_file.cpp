// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "cli/command_line.h"

namespace veltrane::cli {

namespace {

// Opens path for writing only if no file, directory or link stands there
// ("x": O_CREAT | O_EXCL, which does not follow links). C11; MSVC has it too.
std::FILE* CreateExclusively(const std::string& path) {
    return std::fopen(path.c_str(), "wbx");
}

// Writes and closes file; on failure returns the reason, with the file closed.
std::string WriteAndClose(std::FILE* file, std::string_view text) {
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    std::string reason = written ? std::string() : LastErrorText();
    errno = 0;
    if (std::fclose(file) != 0 && reason.empty()) {
        reason = LastErrorText();
    }
    return reason;
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

std::string LastErrorText() {
    const int code = errno;
    if (code == 0) {
        return "input/output error";
    }
    return std::error_code(code, std::generic_category()).message();
}

std::optional<WriteFailure> WriteOutputFile(const std::string& path, std::string_view text,
                                            bool replace) {
    const std::string cannot = "cannot write " + path + ": ";
    if (!replace) {
        errno = 0;
        std::FILE* file = CreateExclusively(path);
        if (file == nullptr) {
            if (errno == EEXIST) {
                return WriteFailure{.exists = true,
                                    .text = path + " exists; add --force to replace it"};
            }
            return WriteFailure{.text = cannot + LastErrorText()};
        }
        if (std::string reason = WriteAndClose(file, text); !reason.empty()) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
            return WriteFailure{.text = cannot + reason};
        }
        return std::nullopt;
    }
    std::string temporary;
    std::FILE* file = CreateTemporaryBeside(path, temporary);
    if (file == nullptr) {
        return WriteFailure{.text = cannot + LastErrorText()};
    }
    std::error_code ec;
    if (std::string reason = WriteAndClose(file, text); !reason.empty()) {
        std::filesystem::remove(temporary, ec);
        return WriteFailure{.text = cannot + reason};
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return WriteFailure{.text = cannot + ec.message()};
    }
    return std::nullopt;
}

int SaveOutputFile(const std::string& path, std::string_view text, bool replace,
                   std::ostream& err) {
    const auto failure = WriteOutputFile(path, text, replace);
    if (!failure) {
        return kExitReport;
    }
    err << "veltrane-calc: " << failure->text << '\n';
    return failure->exists ? kExitUsage : kExitWrite;
}

}  // namespace veltrane::cli
