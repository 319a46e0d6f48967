// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/input_text.h"
#include "cli/terminal_text.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "cli/csv.h"
#include "views/file_errors.h"
#include "views/input_encoding.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

// A header is one CSV record: at most CsvReader::kRecordLimit bytes of
// UTF-8. Read as UTF-16 that is at most twice as many bytes after a 2-byte
// byte order mark, and its line break's CR or LF byte lies within 2 bytes
// more; in UTF-8 and GB18030 it comes sooner. An input with neither byte
// among this many is no CSV file, whatever its encoding.
constexpr std::size_t kHeaderBytes = 2 * CsvReader::kRecordLimit + 4;

CliError CannotRead(std::string_view name, int errnum) {
    return InputError(
        views::FileErrorText(views::FileAction::Read, name, errnum, views::Language::English));
}

CliError NoHeader(std::string_view name) {
    return InputError(std::string(name) + " is not a CSV file: its first line is longer than " +
                      std::to_string(CsvReader::kRecordLimit >> 20) + " MiB");
}

CliError TooLarge(std::string_view name) {
    return InputError(std::string(name) + " is larger than " + std::to_string(kInputLimit >> 20) +
                      " MiB; split it into smaller files");
}

// All of in, held whole: memory is now the input's size (the rows used to
// be read as a stream), which decoding needs: whether a file without a
// byte order mark is UTF-8 or GB18030 is known only after its last byte. A
// failed read is said with its errno; an input that is no CSV file, or too
// large, is refused once that is read, so that an endless one ends. The
// pieces are joined once, at the end: a string grown as they come would
// hold twice the input for a moment.
Outcome<std::string> ReadAll(std::istream& in, std::string_view name) {
    std::vector<std::string> pieces;
    std::size_t size = 0;
    bool lineBreak = false;  // among the first kHeaderBytes
    for (;;) {
        std::string piece(kChunk, '\0');
        errno = 0;
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const int errnum = errno;
        piece.resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad()) {
            return CannotRead(name, errnum);
        }
        if (!lineBreak && size < kHeaderBytes) {
            const std::string_view head = std::string_view(piece).substr(0, kHeaderBytes - size);
            lineBreak = head.find_first_of("\r\n") != std::string_view::npos;
        }
        size += piece.size();
        if (!lineBreak && size > kHeaderBytes) {
            return NoHeader(name);
        }
        if (size > kInputLimit) {
            return TooLarge(name);
        }
        pieces.push_back(std::move(piece));
        if (!in) {
            break;  // the end of the input
        }
    }
    std::string bytes;
    bytes.reserve(size);
    for (std::string& piece : pieces) {
        bytes += piece;
        std::string().swap(piece);
    }
    return bytes;
}

Outcome<std::string> ReadFile(const std::string& path) {
    // A file too large is known by its size, before a byte is read.
    std::error_code ec;
    if (const auto size = std::filesystem::file_size(path, ec); !ec && size > kInputLimit) {
        return TooLarge(path);
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return CannotRead(path, errno);
    }
    return ReadAll(file, path);
}

}  // namespace

std::string InputName(const std::string& path) {
    return path == "-" ? std::string("standard input") : path;
}

InputText DecodeInputText(std::string_view bytes, std::string_view name, views::Language language) {
    views::DecodedInput decoded = views::DecodeInput(bytes);
    std::string notice = views::EncodingNotice(decoded, name, language);
    return {.text = std::move(decoded.text), .notice = std::move(notice)};
}

Outcome<InputText> ReadInputText(const std::string& path, std::istream& in) {
    const std::string name = InputName(path);
    const Outcome<std::string> bytes = path == "-" ? ReadAll(in, name) : ReadFile(path);
    if (!bytes) {
        return bytes.error();
    }
    return DecodeInputText(*bytes, name, views::Language::English);
}

Outcome<std::string> ReadBatchInput(const std::string& path, std::istream& in,
                                    std::ostream& notices) {
    Outcome<InputText> input = ReadInputText(path, in);
    if (!input) {
        return std::move(input).error();
    }
    if (!input->notice.empty()) {
        notices << "veltrane-calc: " << TerminalText(input->notice) << '\n';
    }
    return std::move(input->text);
}

}  // namespace veltrane::cli
