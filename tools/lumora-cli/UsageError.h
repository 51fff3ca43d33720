// A wrong command line: exit status 2, the message goes to stderr with a pointer to --help.
#pragma once

#include <stdexcept>

namespace lumcli {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace lumcli
