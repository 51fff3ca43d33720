// The German captions and messages of smoothing and line search, exactly as the user sees
// them (UTF-8 here; the run host shows them).
#pragma once

namespace lumdb::analysis::text {

// Message box captions (the library's string table 21 and 23).
inline constexpr const char* kLineSearch = "Liniensuche";
inline constexpr const char* kSmoothing = "Datenglättung";

// Progress dialog captions: process and phase.
inline constexpr const char* kWienerFourier = "Wiener-Fourierfilter";
inline constexpr const char* kPolynomial = "Polynomfilter";
inline constexpr const char* kEvaluation = "Datenbewertung";
inline constexpr const char* kNoise = "Rauschen";
inline constexpr const char* kMaxima = "Maxima/Minima";
inline constexpr const char* kWidths = "Linienbreiten";
inline constexpr const char* kSmoothingPhase = "Glättung";
inline constexpr const char* kRating = "Linienbewertung";

inline constexpr const char* kSmoothTooFewPoints =
    "Abbruch Datenglättung:\nZur Datenglättung sind mindestens 8 Datenpunkte notwendig!";
inline constexpr const char* kSearchTooFewPoints =
    "Abbruch Liniensuche:\nZur Liniensuche sind mindestens 8 Datenpunkte notwendig!";
inline constexpr const char* kPolynomialOverflow =
    "Abbruch Datenglättung:\nIn der Polynom-Filterroutine ist ein Overflow aufgetreten.\n"
    "Verkleinern Sie Filterbreite oder den Polynomgrad!";
inline constexpr const char* kPolynomialError =
    "Abbruch Datenglättung:\nEs ist ein Fehler in der Polynom-Filterroutine aufgetreten!";

}  // namespace lumdb::analysis::text
