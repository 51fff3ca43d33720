// SPlotInfo: the description of one diagram (device rectangle, frame corners, ranges,
// titles, scales, flag words, font and pens), shared by the program, lumio (which fills a
// spectrum's ranges and title) and lumgl. Pens and fonts are plain descriptions that a
// canvas realises.
#pragma once

#include <cstdint>
#include <string>

#include "lumdb/Records.h"

struct SDevicePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const SDevicePoint&, const SDevicePoint&) = default;
};

struct SDeviceRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const SDeviceRect&, const SDeviceRect&) = default;
};

enum class PenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Null };

struct SPenDesc {
    TColor color = 0;
    std::int32_t width = 1;
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const SPenDesc&, const SPenDesc&) = default;
};

struct SFontDesc {
    std::string face = "System";
    std::int32_t height = 12;  // logical height in device units
    std::int32_t weight = 400;
    bool italic = false;
    std::int32_t escapement = 0;  // tenths of a degree, counter-clockwise (900: turned by 90°)
    friend bool operator==(const SFontDesc&, const SFontDesc&) = default;
};

// drawFlags bits
enum : std::uint16_t {
    kDrawXLinear = 1,
    kDrawYLinear = 2,
    kDrawFrame = 4,
    kDrawCurve = 8,
    kDrawXGrid = 16,
    kDrawYGrid = 32,
    kDrawInitialise = 128,
};
// initFlags bits
enum : std::uint16_t {
    kInitXRange = 1,
    kInitYRange = 2,
    kInitXTitle = 4,
    kInitYTitle = 8,
    kInitPlotRect = 16,
    kInitPens = 32,
    kInitTitle = 64,
    kInitAll = 128,
};
// stateFlags bits
enum : std::uint16_t {
    kStateBlackWhite = 1,
    kStateFixedFont = 2,
};

struct SPlotInfo {
    SDeviceRect plotRect;
    SDevicePoint origin;  // bottom-left corner of the frame
    SDevicePoint bottomRight;
    SDevicePoint topLeft;
    SDevicePoint topRight;
    float xMin = 0.0f;
    float xMax = 0.0f;
    float yMin = 0.0f;
    float yMax = 0.0f;
    std::string xTitle;  // at most kAxisTitleMax bytes
    std::string yTitle;
    std::string title;    // at most kTitleMax bytes
    float xScale = 0.0f;  // pixels per x unit, or per decade on a logarithmic axis
    float yScale = 0.0f;  // negative: device y grows downwards
    std::uint16_t drawFlags = 0;
    std::uint16_t initFlags = 0;
    std::uint16_t stateFlags = 0;
    std::int32_t margin = 0;
    SFontDesc font;
    SPenDesc curvePen;
    SPenDesc framePen;

    // The fixed text fields hold 100 and 255 bytes with their terminator.
    static constexpr std::size_t kAxisTitleMax = 99;
    static constexpr std::size_t kTitleMax = 254;
};
