// The x-axis options and the conversion after a read; see XAxisInput.h.
#include "XAxisInput.h"

#include <algorithm>
#include <vector>

#include "FileFailure.h"
#include "lumcore/Printf.h"

using lumcore::strprintf;

namespace lumcli {

namespace {

lumdb::CalibrationPoint pairFrom(const std::string& option, const std::string& text) {
    const auto sides = splitAt(text, '=');
    if (sides.size() != 2)
        throw UsageError(strprintf("--%s erwartet Paare PUNKT=WELLENLÄNGE, nicht \"%s\".",
                                   option.c_str(), text.c_str()));
    return {parseNumber(option, sides[0]), parseNumber(option, sides[1])};
}

}  // namespace

const char* xUnitName(int formatCode) {
    static const char* const names[] = {"nm", "angstrom", "pixel", "wavenumber"};
    return formatCode >= 0 && formatCode < 4 ? names[formatCode] : "unknown";
}

XAxisAnswer xAxisAnswerFrom(const CommandLine& line) {
    XAxisAnswer a;
    if (line.has("x-unit")) {
        const std::string unit = line.value("x-unit");
        if (unit == "angstrom")
            a.unit = lumdb::kAngstrom;
        else if (unit == "wavenumber")
            a.unit = lumdb::kWavenumbers;
        else if (unit == "pixel")
            a.unit = lumdb::kPixels;
        else
            throw UsageError("--x-unit erwartet angstrom, wavenumber oder pixel, nicht \"" + unit +
                             "\".");
    }
    const bool calibrate = line.has("calibrate"), dispersion = line.has("dispersion");
    if (!calibrate && !dispersion) return a;
    if (calibrate && dispersion)
        throw UsageError("--calibrate und --dispersion schließen einander aus.");
    if (a.unit && *a.unit != lumdb::kPixels)
        throw UsageError("Eine Wellenlängenzuordnung gilt nur für Punkte (--x-unit pixel).");
    a.unit = lumdb::kPixels;
    if (dispersion) {
        const auto parts = splitAt(line.value("dispersion"), ',');
        if (parts.size() != 2)
            throw UsageError("--dispersion erwartet PUNKT=WELLENLÄNGE,DISPERSION, nicht \"" +
                             line.value("dispersion") + "\".");
        const lumdb::CalibrationPoint p = pairFrom("dispersion", parts[0]);
        a.calibration = lumdb::PixelCalibration::fromPointAndDispersion(
            p.pixel, p.wavelength, parseNumber("dispersion", parts[1]));
        if (!a.calibration)
            throw UsageError("Die Dispersion muß ungleich Null sein und im Zahlenbereich liegen.");
        return a;
    }
    std::vector<lumdb::CalibrationPoint> points;
    for (const std::string& pair : splitAt(line.value("calibrate"), ','))
        points.push_back(pairFrom("calibrate", pair));
    if (points.size() < 2)
        throw UsageError("--calibrate erwartet mindestens zwei Paare PUNKT=WELLENLÄNGE.");
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (points[i].pixel == points[j].pixel)
                throw UsageError("Die Punkte dürfen nicht gleich sein!");
    const auto fit = lumdb::fitPixelCalibration(points);
    if (!fit)
        throw UsageError(
            "Die Wellenlängen ergeben keine Zuordnung (gleich oder außerhalb des Zahlenbereichs).");
    a.calibration = fit->calibration;
    if (points.size() > 2) {
        a.report = strprintf("Ausgleichsgerade: Wellenlänge = %s nm + %s nm/Punkt * Punkt",
                             lumcore::shortestFloat(fit->calibration.offset).c_str(),
                             lumcore::shortestFloat(fit->calibration.dispersion).c_str());
        for (std::size_t i = 0; i < points.size(); ++i)
            a.report += strprintf("\n  Punkt %g: %g nm, Residuum %.6g nm", points[i].pixel,
                                  points[i].wavelength, fit->residuals[i]);
        a.report += strprintf("\n  RMS %.6g nm", fit->rms);
    }
    return a;
}

void convertXAxis(const XAxisAnswer& answer, const lumdb::XFormatRecognition& recognised,
                  SpectrumRecord& record) {
    SXFormat& format = record.xFormat;
    format.formatCode = recognised.formatCode;
    format.calibrationCode = 0;
    format.offset = 0.0f;
    format.dispersion = 1.0f;
    SAxisText& texts = record.axisText;
    texts.xUnit = texts.xUnitStatus = recognised.xUnit;
    texts.yUnit = texts.yUnitStatus = recognised.yUnit;
    if (!answer.unit) return;

    lumdb::XResult result = lumdb::XResult::Done;
    if (*answer.unit == lumdb::kAngstrom)
        result = lumdb::applyXMap({0.1, 0.0}, record.points, &record.spectrumLines);
    else if (*answer.unit == lumdb::kWavenumbers)
        result = lumdb::wavenumbersToAir(record.points, &record.spectrumLines);
    else if (answer.calibration)
        result = lumdb::applyXMap(answer.calibration->map(), record.points, &record.spectrumLines);
    if (result == lumdb::XResult::NotPositive)
        throw FileFailure("Error",
                          "Die Datei beinhaltet Wellenzahlen, die kleiner oder gleich 0 sind. Eine "
                          "Konvertierung ist nicht möglich.");
    if (result != lumdb::XResult::Done)
        throw FileFailure(
            "Error",
            "Die x-Werte lassen sich nicht umrechnen: ein Ergebnis läge außerhalb des "
            "Zahlenbereichs.");

    const bool pixels = *answer.unit == lumdb::kPixels;
    format.formatCode = pixels ? lumdb::kPixels : lumdb::kNanometres;
    if (answer.calibration) {
        format.calibrationCode = 2;
        format.offset = answer.calibration->offset;
        format.dispersion = answer.calibration->dispersion;
    }
    const bool nanometres = !pixels || answer.calibration;
    texts.xUnit = texts.xUnitStatus =
        lumdb::xAxisTexts(nanometres ? lumdb::kNanometres : lumdb::kPixels).unit;
    if (!record.points.empty()) {
        const auto [low, high] =
            std::minmax_element(record.points.begin(), record.points.end(),
                                [](const TPointF& a, const TPointF& b) { return a.x < b.x; });
        record.plotInfo.xMin = low->x;
        record.plotInfo.xMax = high->x;
    }
}

}  // namespace lumcli
