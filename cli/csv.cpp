#include "csv.h"

namespace veltrane::cli {

CsvReader::CsvReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
        pos_ = 3;
    }
}

bool CsvReader::Next(std::vector<std::string>& fields, std::size_t& count, bool& unterminated) {
    unterminated = false;
    count = 0;
    if (pos_ >= text_.size()) {
        return false;
    }
    recordLine_ = line_;
    auto field = [&]() -> std::string& {
        if (count == fields.size()) {
            fields.emplace_back();
        }
        std::string& f = fields[count++];
        f.clear();
        return f;
    };
    std::string* current = &field();
    bool quoted = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (quoted) {
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    *current += '"';
                    ++pos_;
                } else {
                    quoted = false;
                }
            } else {
                line_ += c == '\n' ? 1 : 0;
                *current += c;
            }
        } else if (c == '"' && current->empty()) {
            quoted = true;
        } else if (c == ',') {
            current = &field();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
                ++pos_;
            }
            ++line_;
            return true;
        } else {
            *current += c;  // also text after a closing quote, kept rather than lost
        }
    }
    unterminated = quoted;
    return true;
}

void AppendCsvField(std::string& out, std::string_view field) {
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
