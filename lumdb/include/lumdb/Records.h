// The records that cross the boundary between the program and the libraries: the point
// list, found/identified lines, element table entries, database-search results and the
// settings records of smoothing, line search, identification and database search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lumdb/SortedArray.h"

// One point of a spectrum: x and y as 32-bit floats, as in every file and list.
struct TPointF {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const TPointF&, const TPointF&) = default;
};

// The point list. Readers append in file order; analysis results that the library
// "inserts at the front" come back in reverse order.
using TPointList = std::vector<TPointF>;

// 32-bit RGB colour: red + green * 256 + blue * 65536.
using TColor = std::uint32_t;

constexpr TColor MakeColor(unsigned red, unsigned green, unsigned blue) {
    return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

using TStringArray = std::vector<std::string>;
using TColorArray = std::vector<TColor>;

// One found or identified spectrum line. Copies carry their own lists.
struct CLine {
    float x = 0.0f;                 // position: x of the highest unsmoothed point of the line
    float y = 0.0f;                 // intensity of that point
    TStringArray candidateLabels;   // per database line in the hit interval
    TColorArray candidateColors;    // element colour, same index
    TStringArray candidateRecords;  // record text after the wavelength, same index
    TStringArray speciesLabels;     // strongest candidate per species, "*" when several
    TColorArray speciesColors;
    TStringArray speciesRecords;

    CLine() = default;
    CLine(float x_, float y_) : x(x_), y(y_) {}

    void clearCandidates() {
        candidateLabels.clear();
        candidateColors.clear();
        candidateRecords.clear();
        speciesLabels.clear();
        speciesColors.clear();
        speciesRecords.clear();
    }

    // Lines are ordered and compared by position alone, exactly.
    friend bool operator==(const CLine& a, const CLine& b) { return a.x == b.x; }
    friend bool operator<(const CLine& a, const CLine& b) { return a.x < b.x; }
    friend bool operator>(const CLine& a, const CLine& b) { return a.x > b.x; }
};

// One entry of the element table (an element or a molecule).
struct CElement {
    std::string name;    // matched against the header of the element's database files
    std::string text;    // carried, not interpreted ("*A" atom, "*M" molecule)
    TColor color = 0;    // display colour of the element's lines
    TStringArray files;  // database files with ".lmt": [0] neutral, [1] singly ionised, ...
    bool selected = false;

    friend bool operator==(const CElement& a, const CElement& b) { return a.name == b.name; }
    friend bool operator<(const CElement& a, const CElement& b) { return a.name < b.name; }
    friend bool operator>(const CElement& a, const CElement& b) { return a.name > b.name; }
};

using TElementArray = std::vector<CElement>;

// One database line found by the database search.
struct CSearchEngineLine {
    float wavelength = 0.0f;  // nm
    float value = 0.0f;       // strength in the unit chosen by IntensityOption
    std::string label;        // species label, a blank, then the second field as ";%g"
    TColor color = 0;
    std::string record;           // the database record text after the wavelength field
    std::int32_t sortOption = 0;  // 1 by wavelength, 2 by strength, otherwise insertion order

    // With sort option 0 nothing is equal or less, so a sorted array keeps the order in
    // which results were added (element table order, then file order).
    friend bool operator==(const CSearchEngineLine& a, const CSearchEngineLine& b) {
        switch (a.sortOption) {
            case 1:
                return a.wavelength == b.wavelength;
            case 2:
                return a.value == b.value;
            default:
                return false;
        }
    }
    // Sort option 2 lists the strongest line first.
    friend bool operator<(const CSearchEngineLine& a, const CSearchEngineLine& b) {
        switch (a.sortOption) {
            case 1:
                return a.wavelength < b.wavelength;
            case 2:
                return a.value > b.value;
            default:
                return false;
        }
    }
    friend bool operator>(const CSearchEngineLine& a, const CSearchEngineLine& b) { return b < a; }
};

using TLineArray = lumdb::SortedArray<CLine>;
using TSearchEngineLineArray = lumdb::SortedArray<CSearchEngineLine>;

// Settings of smoothing and line search, one per spectrum window. The library reads them
// and writes NoiseValue, FreqNumber, FreqCutoff and highCutMode back.
struct SLineSearchVal {
    bool Noise = false;  // the user set NoiseValue; otherwise it is estimated
    float NoiseValue = 0.0f;
    bool FTFilter = false;        // apply the Wiener-Fourier filter
    bool SetFTValues = false;     // reset FreqNumber/FreqCutoff to automatic before filtering
    std::int32_t FreqNumber = 0;  // frequency bins M, 0 = automatic
    std::int32_t FreqCutoff = 0;  // cutoff bin K, 0 = automatic
    std::int32_t highCutMode = 0;
    bool SGFilter = false;  // apply the polynomial (Savitzky-Golay) filter
    std::int32_t PolynomOrder = 0;
    std::int32_t FilterWidth = 0;  // odd, in points
    bool ZoomData = false;         // only the points with x in [zoomFrom, zoomTo]
    float zoomFrom = 0.0f;
    float zoomTo = 0.0f;
};

// Identification settings.
struct SSelectElVal {
    std::string text;
    bool Neutrals = false;        // file index 0
    bool FirstIons = false;       // file index 1
    bool HigherIons = false;      // file indexes 1 to last
    float SearchRange = 0.0f;     // hit interval half-width in nm
    bool IntensityRange = false;  // accept only strengths in [Lower, Upper]
    float LowerIntensity = 0.0f;
    float UpperIntensity = 0.0f;
    std::uint8_t decipherMode = 0;
    bool IntensityValues = false;      // shown in the diagram; not read by the library
    std::int32_t SortOption = 0;       // not read by the identification
    std::int32_t IntensityOption = 0;  // 0 relative, 1 f-value, 2 Aik
};

// Database-search settings.
struct SSearchEngineVal {
    std::string text;
    bool Neutrals = false;
    bool FirstIons = false;
    bool HigherIons = false;
    float LowerWavelength = 0.0f;
    float UpperWavelength = 0.0f;
    float LowerIntensity = 0.0f;
    float UpperIntensity = 0.0f;
    std::uint8_t decipherMode = 0;
    bool IntensityValues = false;
    std::int32_t SortOption = 0;       // 0 element, 1 wavelength, 2 strength
    std::int32_t IntensityOption = 0;  // 0 relative, 1 f-value, 2 Aik
};
