// The failures of lumgl's scaling and mapping: lumgl::PlotError carries the code (1: a
// logarithmic x axis with a limit <= 0, 2: the same for y, 3: no data points) as code()
// and derives from std::runtime_error, so a caller can tell a drawing error (catch
// PlotError, switch on code()) from any other exception (catch std::exception).
#pragma once

#include <stdexcept>

#include "lumgl/lumgl_export.h"

namespace lumgl {

enum PlotErrorCode : int {
    // The x axis is logarithmic and xMin or xMax is not greater than 0.
    kErrorLogXLimits = 1,
    // The y axis is logarithmic and neither yMin nor yMax is greater than 0.
    kErrorLogYLimits = 2,
    // A point list without points (GetMinMax; also MousePointToData, DisplaceDataPoint).
    kErrorNoData = 3,
};

class LUMGL_EXPORT PlotError : public std::runtime_error {
  public:
    explicit PlotError(int code);
    ~PlotError() override;
    int code() const noexcept { return code_; }

  private:
    int code_;
};

}  // namespace lumgl
