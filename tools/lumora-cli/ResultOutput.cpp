// Table, CSV and JSON Lines output; see ResultOutput.h.
#include "ResultOutput.h"

#include <algorithm>
#include <ostream>

#include "JsonWriter.h"

namespace lumcli {

namespace {

// Width on a terminal: one column per UTF-8 character.
std::size_t displayWidth(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

ResultOutput::ResultOutput(OutputFormat format, std::ostream& out, std::ostream& err)
    : format_(format), out_(out), err_(err) {}

void ResultOutput::setColumns(std::vector<std::string> names, std::vector<std::string> titles) {
    columns_ = std::move(names);
    titles_ = std::move(titles);
}

std::string ResultOutput::csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string q = "\"";
    for (char c : text) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

void ResultOutput::addRow(std::vector<std::string> cells) {
    if (format_ == OutputFormat::Table) {
        rows_.push_back(std::move(cells));
        return;
    }
    if (format_ != OutputFormat::Csv) return;
    auto writeLine = [this](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i) out_ << ',';
            out_ << csvField(fields[i]);
        }
        out_ << '\n';
    };
    if (!headerWritten_) {
        writeLine(columns_);
        headerWritten_ = true;
    }
    writeLine(cells);
    // Pipelines see every file's rows as soon as the file is done.
    out_.flush();
}

void ResultOutput::addJsonLine(const std::string& object) {
    if (format_ != OutputFormat::Json) return;
    out_ << object << '\n';
    out_.flush();
}

void ResultOutput::fileFailed(const std::string& path, const std::string& keyword,
                              const std::string& message) {
    failed_ = true;
    err_ << "lumora-cli: " << path << ": " << message << '\n';
    err_.flush();
    if (format_ == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject()
            .key("path")
            .string(path)
            .key("error")
            .string(keyword)
            .key("message")
            .string(message)
            .endObject();
        addJsonLine(j.text());
    }
}

void ResultOutput::warn(const std::string& message) {
    err_ << "lumora-cli: Warnung: " << message << '\n';
    err_.flush();
}

void ResultOutput::finish() {
    if (format_ == OutputFormat::Csv && !headerWritten_ && !columns_.empty() &&
        (anyDone_ || !failed_)) {
        // An empty result still tells a program which columns it would have had; when
        // every file failed there is no result at all.
        for (std::size_t i = 0; i < columns_.size(); ++i)
            out_ << (i ? "," : "") << csvField(columns_[i]);
        out_ << '\n';
        headerWritten_ = true;
    }
    if (format_ != OutputFormat::Table || columns_.empty()) {
        out_.flush();
        return;
    }
    const std::vector<std::string>& header = titles_.size() == columns_.size() ? titles_ : columns_;
    std::vector<std::size_t> widths(header.size(), 0);
    for (std::size_t c = 0; c < header.size(); ++c) widths[c] = displayWidth(header[c]);
    for (const auto& row : rows_)
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(row[c]));
    auto writeLine = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            line += cells[c];
            if (c + 1 < cells.size())
                line += std::string(widths[c] - displayWidth(cells[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out_ << line << '\n';
    };
    writeLine(header);
    std::vector<std::string> rule;
    for (std::size_t w : widths) rule.push_back(std::string(w, '-'));
    writeLine(rule);
    for (const auto& row : rows_) writeLine(row);
    rows_.clear();
    out_.flush();
}

}  // namespace lumcli
