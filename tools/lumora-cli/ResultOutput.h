// Where the results of a subcommand go: a table for people, CSV or JSON Lines for programs,
// failures to stderr (and, in JSON, as an error object in the stream), and the exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lumcli {

enum class OutputFormat { Table, Csv, Json };

class ResultOutput {
  public:
    ResultOutput(OutputFormat format, std::ostream& out, std::ostream& err);

    OutputFormat format() const { return format_; }

    // The CSV header (names for programs, the same as the JSON fields) and the table's
    // column titles (for people).
    void setColumns(std::vector<std::string> names, std::vector<std::string> titles);
    // One row; CSV rows are written at once, table rows when finish() aligns them.
    void addRow(std::vector<std::string> cells);
    // One complete JSON object (one line of JSON Lines).
    void addJsonLine(const std::string& object);

    // A file that could not be processed: the message on stderr, an error object
    // {path, error, message} in JSON; the exit status becomes 1.
    void fileFailed(const std::string& path, const std::string& keyword,
                    const std::string& message);
    // A file that was processed, whether or not it gave rows.
    void fileDone() { anyDone_ = true; }
    // A warning for people; never part of the result stream.
    void warn(const std::string& message);

    // Writes what is still buffered (the table), and the CSV header of an empty result
    // unless every file failed.
    void finish();

    bool anyFailed() const { return failed_; }
    int exitStatus() const { return failed_ ? 1 : 0; }

    static std::string csvField(const std::string& text);

  private:
    OutputFormat format_;
    std::ostream& out_;
    std::ostream& err_;
    std::vector<std::string> columns_;
    std::vector<std::string> titles_;
    std::vector<std::vector<std::string>> rows_;
    bool headerWritten_ = false;
    bool failed_ = false;
    bool anyDone_ = false;
};

}  // namespace lumcli
