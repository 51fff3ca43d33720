// CollectReferenceLines: the database lines of the selected species in a wavelength range,
// each with its expected emission relative to the strongest line of its species.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "database/DatabaseRun.h"
#include "lumdb/Elements.h"

namespace lumdb {

namespace {

constexpr double kBoltzmannEv = 8.617333262e-5;  // eV per K
constexpr double kPhotonEvNm = 1239.841984;      // photon energy in eV times wavelength in nm

class ReferenceVisitor : public detail::RecordVisitor {
  public:
    ReferenceVisitor(ReferenceLines& out, double from, double to, float floor)
        : out_(out), from_(from), to_(to), floor_(floor) {}

    void beginFile(const detail::SpeciesFile& file) override {
        species_ = static_cast<std::uint32_t>(out_.species.size());
        out_.species.push_back(file.labelTrimmed);
        pending_.clear();
        strongest_[0] = strongest_[1] = 0.0;
    }

    bool record(const detail::SpeciesFile& file, float lambda,
                detail::RecordText& recordText) override {
        const std::string_view rest = recordText.get();
        float value = 0.0f;
        if (!detail::parseNumberField(RecordField(rest, 0), value)) return false;
        if (!(lambda > 0) || !(value > 0)) return true;
        Pending p{lambda, 1, value};
        // f-values of atoms become expected emission: g_lower f / wavelength^2 is g_upper A up
        // to a constant, weighted by the population of the upper level. The relative
        // intensities (NIST's, scaled per species, and the band heads') are emission already.
        const std::string_view comment = RecordField(rest, 7);
        if (file.atomic && comment.find("rel. Int.") == std::string_view::npos) {
            const std::string_view jLower = RecordField(rest, 5);
            const double gLower = jLower.empty() ? 1.0 : 2 * ReadDouble(jLower) + 1;
            const std::string_view upper = RecordField(rest, 2), lower = RecordField(rest, 1);
            const double photon = kPhotonEvNm / lambda;
            const double eUpper = !upper.empty()   ? ReadDouble(upper)
                                  : !lower.empty() ? ReadDouble(lower) + photon
                                                   : photon;
            const double l = lambda;
            p.kind = 0;
            p.raw = gLower * value / (l * l) *
                    std::exp(-eUpper / (kBoltzmannEv * kReferenceTemperature));
        }
        if (!std::isfinite(p.raw) || !(p.raw > 0)) return true;
        strongest_[p.kind] = std::max(strongest_[p.kind], p.raw);
        if (lambda >= from_ && lambda <= to_) pending_.push_back(p);
        return true;
    }

    void endFile(const detail::SpeciesFile&) override {
        for (const Pending& p : pending_) {
            const auto strength = static_cast<float>(p.raw / strongest_[p.kind]);
            if (strength >= floor_) out_.lines.push_back({p.lambda, strength, species_});
        }
        pending_.clear();
    }

  private:
    struct Pending {
        float lambda;
        int kind;  // 0 from an f-value, 1 a relative intensity
        double raw;
    };
    ReferenceLines& out_;
    double from_, to_;
    float floor_;
    std::uint32_t species_ = 0;
    std::vector<Pending> pending_;
    double strongest_[2] = {0.0, 0.0};
};

}  // namespace

unsigned char CollectReferenceLines(RunHost& parent, const std::string& dataDir,
                                    const TElementArray& elements, const SSelectElVal& values,
                                    double from, double to, ReferenceLines& out, float floor) {
    out.species.clear();
    out.lines.clear();
    ReferenceVisitor visitor(out, from, to, floor);
    detail::StageChoice stages;
    stages.neutrals = values.Neutrals;
    stages.firstIons = values.FirstIons;
    stages.higherIons = values.HigherIons;
    stages.decipherMode = values.decipherMode;
    const unsigned char completed = detail::runOverDatabase(
        parent, "Linienidentifizierung:", dataDir, elements, stages, visitor);
    std::stable_sort(
        out.lines.begin(), out.lines.end(),
        [](const ReferenceLine& a, const ReferenceLine& b) { return a.wavelength < b.wavelength; });
    return completed;
}

}  // namespace lumdb
