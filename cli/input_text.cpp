// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/input_text.h"

#include <cerrno>
#include <fstream>
#include <vector>

#include "views/file_errors.h"
#include "views/input_encoding.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

CliError CannotRead(std::string_view name, int errnum) {
    return InputError(
        views::FileErrorText(views::FileAction::Read, name, errnum, views::Language::English));
}

// All of in, held whole: memory is now the input's size (the rows used to
// be read as a stream), which decoding needs: whether a file without a
// byte order mark is UTF-8 or GB18030 is known only after its last byte. A
// failed read is said with its errno.
Outcome<std::string> ReadAll(std::istream& in, std::string_view name) {
    std::string bytes;
    std::vector<char> chunk(kChunk);
    for (;;) {
        errno = 0;
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const int errnum = errno;
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (in.bad()) {
            return CannotRead(name, errnum);
        }
        if (!in) {
            return bytes;  // the end of the input
        }
    }
}

Outcome<std::string> ReadFile(const std::string& path) {
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
        notices << "veltrane-calc: " << input->notice << '\n';
    }
    return std::move(input->text);
}

}  // namespace veltrane::cli
