// No line database could be found: a subcommand that needs it cannot run at all (exit
// status 1), whatever files it was given.
#pragma once

#include <stdexcept>

namespace lumcli {

class DatabaseMissing : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace lumcli
