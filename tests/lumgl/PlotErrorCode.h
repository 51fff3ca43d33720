// The integer code a lumgl call fails with, or 0 when it does not fail.
#pragma once

#include <functional>

#include "lumgl/PlotError.h"

inline int CodeOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const lumgl::PlotError& e) {
        return e.code();
    }
    return 0;
}
