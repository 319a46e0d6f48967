// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/csv.h"

#include <algorithm>
#include <cerrno>

#include "cli/output_file.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

// Splits CSV text into fields, fed a line at a time so that a quoted field
// may run on into the next line.
class FieldParser {
  public:
    FieldParser(std::vector<std::string>& fields, std::size_t& count)
        : fields_(fields), count_(count) {
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
            } else if (c == ',') {
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
    std::string* current_ = nullptr;
    bool quoted_ = false;
};

}  // namespace

CsvReader::CsvReader(std::istream& in, std::size_t recordLimit)
    : in_(in), limit_(recordLimit), buffer_(kChunk) {}

bool CsvReader::Fill() {
    if (atEnd_) {
        return false;
    }
    errno = 0;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    begin_ = 0;
    end_ = static_cast<std::size_t>(in_.gcount());
    if (in_.bad()) {
        error_ = LastErrorText();
        atEnd_ = true;
        return false;
    }
    if (in_.eof()) {
        atEnd_ = true;
    }
    return end_ > 0;
}

bool CsvReader::ReadLine(Line& line) {
    line.text.clear();
    line.ending.clear();
    line.tooLong = false;
    bool any = false;
    for (;;) {
        if (begin_ == end_ && !Fill()) {
            break;
        }
        any = true;
        const char* data = buffer_.data();
        std::size_t i = begin_;
        while (i < end_ && data[i] != '\n' && data[i] != '\r') {
            ++i;
        }
        const std::size_t room = line.text.size() < limit_ ? limit_ - line.text.size() : 0;
        const std::size_t take = std::min(i - begin_, room);
        line.text.append(data + begin_, take);
        line.tooLong = line.tooLong || take < i - begin_;
        begin_ = i;
        if (i == end_) {
            continue;
        }
        ++begin_;
        if (data[i] == '\n') {
            line.ending = "\n";
            break;
        }
        // CR, and an LF right after it, even in the next piece of input.
        if (begin_ == end_) {
            Fill();
        }
        if (begin_ < end_ && buffer_[begin_] == '\n') {
            ++begin_;
            line.ending = "\r\n";
        } else {
            line.ending = "\r";
        }
        break;
    }
    if (!any || failed()) {
        return false;
    }
    line.number = nextLine_++;
    if (first_) {
        first_ = false;
        if (line.text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            line.text.erase(0, 3);
        }
    }
    return true;
}

bool CsvReader::TakeLine(Line& line) {
    if (!pending_.empty()) {
        line = std::move(pending_.front());
        pending_.pop_front();
        return true;
    }
    return ReadLine(line);
}

bool CsvReader::Next(std::vector<std::string>& fields, std::size_t& count, Problem& problem) {
    problem = Problem::None;
    count = 0;
    Line first;
    if (!TakeLine(first)) {
        return false;
    }
    recordLine_ = first.number;
    if (first.tooLong) {
        problem = Problem::TooLong;
        return true;
    }
    FieldParser parser(fields, count);
    parser.Feed(first.text);
    if (!parser.quoted()) {
        return true;
    }

    // A quoted field runs on: take lines until it closes. When it does not
    // close within the limit, the first line stands alone as a bad record
    // and the lines taken after it are read again as records of their own.
    std::vector<Line> taken;
    std::size_t size = first.text.size();
    bool closed = false;
    std::string ending = first.ending;
    Line next;
    while (!ending.empty() && size <= limit_ && TakeLine(next)) {
        size += next.text.size() + next.ending.size();
        taken.push_back(std::move(next));
        const Line& l = taken.back();
        if (l.tooLong || size > limit_) {
            break;
        }
        parser.Feed(ending);
        parser.Feed(l.text);
        ending = l.ending;
        if (!parser.quoted()) {
            closed = true;
            break;
        }
    }
    if (closed || failed()) {
        return !failed();
    }
    problem = Problem::Unclosed;
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
        pending_.push_front(std::move(*it));
    }
    FieldParser alone(fields, count);
    alone.Feed(first.text);
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
