// SpectrumRecord: one loaded spectrum of a diagram. The spectrum window creates and owns
// it; lumio fills the points, the stored lines, the ranges and the title.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "lumdb/Records.h"
#include "lumgl/PlotInfo.h"

// The x and y unit texts (25 characters each) and the four marker pens of a spectrum.
struct SAxisText {
    std::string xUnit;
    std::string yUnit;
    std::string xUnitStatus;
    std::string yUnitStatus;
    std::array<SPenDesc, 4> markerPens{};
    static constexpr std::size_t kFieldMax = 24;
};

// x calibration state of a spectrum: format and calibration codes, offset and dispersion.
// Format codes: 0 nanometres, 1 Ångström, 2 pixel numbers, 3 wavenumbers (1/cm).
struct SXFormat {
    std::int32_t formatCode = 0;
    std::int32_t calibrationCode = 0;
    float offset = 0.0f;
    float dispersion = 0.0f;
    // The x unit the file itself declares (a format code as above), set by the reader; the
    // x-axis recognition takes it before any guess from the values. kUnitUnknown: none.
    std::int32_t fileUnit = kUnitUnknown;
    static constexpr std::int32_t kUnitUnknown = -1;
};

struct SpectrumRecord {
    std::string fileName;  // full path; a chosen track is appended as " #" + track
    // Display flags, owned by the spectrum window; lumio does not touch them.
    std::uint8_t foundLinesShown = 0;
    std::uint8_t newFile = 0;
    std::uint8_t foundLineSelected = 0;
    std::uint8_t databaseLinesShown = 0;
    std::uint8_t databaseLineSelected = 0;
    TPointList points;                     // in file order; readers never sort
    TLineArray spectrumLines;              // found or identified lines
    TSearchEngineLineArray databaseLines;  // database lines shown with the spectrum
    SAxisText axisText;
    SPlotInfo plotInfo;  // readers set xMin, xMax, yMin, yMax and title
    std::array<float, 4> xTransform{0.0f, 1.0f, 0.0f,
                                    1.0f};  // x shift, x stretch, y shift, y stretch
    // The x value the x stretch works about: the x minimum when xTransform was last reset.
    float xAnchor = 0.0f;
    SXFormat xFormat;
};
