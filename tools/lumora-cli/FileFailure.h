// A file that could not be read, analysed or written: the outcome keyword (for the JSON
// error object) and the message for people. The other files of a batch go on.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace lumcli {

class FileFailure : public std::runtime_error {
  public:
    FileFailure(std::string keyword, const std::string& message)
        : std::runtime_error(message), keyword_(std::move(keyword)) {}
    const std::string& keyword() const { return keyword_; }

  private:
    std::string keyword_;
};

}  // namespace lumcli
