// The outcome keywords with which reading or writing a spectrum fails. The program maps
// the keyword to its own message; "CancelOpenFile" means the user was already told.
#pragma once

#include <stdexcept>
#include <string>

#include "lumio/lumio_export.h"

namespace lumio {

namespace keyword {
inline constexpr const char* NoFile = "NoFile";
inline constexpr const char* NullFile = "NullFile";
inline constexpr const char* UnknownFormat = "UnknownFormat";
inline constexpr const char* DataNumberOverflow = "DataNumberOverflow";
inline constexpr const char* CancelOpenFile = "CancelOpenFile";
}  // namespace keyword

// Carries exactly one keyword; what() returns it.
class LUMIO_EXPORT Outcome : public std::runtime_error {
  public:
    explicit Outcome(const std::string& keyword) : std::runtime_error(keyword) {}
    std::string keyword() const { return what(); }
};

}  // namespace lumio
