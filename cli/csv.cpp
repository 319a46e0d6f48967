// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/csv.h"

#include <algorithm>
#include <system_error>

#include "hydraulics/float_chars.h"

namespace veltrane::cli {

namespace {

// Splits CSV text into fields, fed a line at a time so that a quoted field
// may run on into the next line.
class FieldParser {
  public:
    FieldParser(std::vector<std::string>& fields, std::size_t& count, char separator)
        : fields_(fields), count_(count), separator_(separator) {
        count_ = 0;
        current_ = &NewField();
    }

    void Feed(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (quoted_) {
                if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    *current_ += '"';
                    ++i;
                } else if (c == '"') {
                    quoted_ = false;
                } else {
                    *current_ += c;
                }
            } else if (c == '"' && current_->empty()) {
                quoted_ = true;
            } else if (c == separator_) {
                current_ = &NewField();
            } else {
                *current_ += c;  // also text after a closing quote, kept rather than lost
            }
        }
    }

    bool quoted() const { return quoted_; }

  private:
    std::string& NewField() {
        if (count_ == fields_.size()) {
            fields_.emplace_back();
        }
        std::string& f = fields_[count_++];
        f.clear();
        return f;
    }

    std::vector<std::string>& fields_;
    std::size_t& count_;
    char separator_;
    std::string* current_ = nullptr;
    bool quoted_ = false;
};

}  // namespace

CsvReader::CsvReader(std::string_view text, std::size_t recordLimit, char separator)
    : text_(text), limit_(recordLimit), separator_(separator) {}

char CsvReader::SeparatorOf(std::string_view text) {
    const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
    const bool tabs = first.find('\t') != std::string_view::npos;
    return tabs && first.find(',') == std::string_view::npos ? '\t' : ',';
}

bool CsvReader::ReadLine(Line& line) {
    if (at_ == text_.size()) {
        return false;
    }
    const std::size_t end = std::min(text_.find_first_of("\r\n", at_), text_.size());
    line.text = text_.substr(at_, end - at_);
    std::size_t endingSize = end == text_.size() ? 0 : 1;
    if (endingSize == 1 && text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') {
        endingSize = 2;
    }
    line.ending = text_.substr(end, endingSize);
    at_ = end + endingSize;
    ++nextLine_;
    return true;
}

bool CsvReader::Next(std::vector<std::string>& fields, std::size_t& count, Problem& problem) {
    problem = Problem::None;
    count = 0;
    Line first;
    recordLine_ = nextLine_;
    if (!ReadLine(first)) {
        return false;
    }
    if (first.text.size() > limit_) {
        problem = Problem::TooLong;
        return true;
    }
    FieldParser parser(fields, count, separator_);
    parser.Feed(first.text);
    if (!parser.quoted()) {
        return true;
    }

    // A quoted field runs on: take lines until it closes. When it does not
    // close within the limit, the first line stands alone as a bad record
    // and the lines after it are read again as records of their own.
    const std::size_t resumeAt = at_;
    const std::size_t resumeLine = nextLine_;
    std::size_t size = first.text.size();
    std::string_view ending = first.ending;
    Line next;
    while (!ending.empty() && ReadLine(next)) {
        size += ending.size() + next.text.size();
        if (size > limit_) {
            break;
        }
        parser.Feed(ending);
        parser.Feed(next.text);
        ending = next.ending;
        if (!parser.quoted()) {
            return true;
        }
    }
    problem = Problem::Unclosed;
    at_ = resumeAt;
    nextLine_ = resumeLine;
    FieldParser alone(fields, count, separator_);
    alone.Feed(first.text);
    return true;
}

namespace {

// The whole field reads as one decimal number, with its sign: "-5", "+.5".
bool IsNumber(std::string_view field) {
    std::string_view digits = field;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits[0] == '+' || digits[0] == '-') {
        return false;
    }
    double value = 0;
    const char* end = digits.data() + digits.size();
    const auto parsed = FromChars(digits.data(), end, value);
    return parsed.ec == std::errc() && parsed.ptr == end;
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view field, CsvFor reader) {
    std::string guarded;
    if (reader == CsvFor::Spreadsheets && !field.empty() &&
        std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos && !IsNumber(field)) {
        guarded = "'" + std::string(field);
        field = guarded;
    }
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

}  // namespace veltrane::cli
