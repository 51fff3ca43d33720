// CollectReferenceLines: the database lines of the selected species in a wavelength range,
// each with its expected emission relative to the strongest line of its species.
#include <algorithm>
#include <cmath>
#include <limits>
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
        p.line.wavelength = lambda;
        p.line.species = species_;
        if (!file.atomic) {
            p.line.basis = EmissionBasis::BandHead;
            const std::string_view comment = RecordField(rest, 7);
            const std::string_view system = comment.substr(0, comment.find(','));
            const auto known = std::find(systems_.begin(), systems_.end(), system);
            p.system = static_cast<std::uint32_t>(known - systems_.begin());
            if (known == systems_.end()) systems_.emplace_back(system);
        }
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
            p.line.basis =
                upper.empty() && lower.empty() ? EmissionBasis::Unknown : EmissionBasis::Transition;
            p.line.transition = static_cast<float>(gLower * value / (l * l));
            p.line.upperEnergy = static_cast<float>(eUpper);
            p.line.lowerEnergy =
                static_cast<float>(!lower.empty()   ? ReadDouble(lower)
                                   : !upper.empty() ? eUpper - photon
                                                    : std::numeric_limits<double>::quiet_NaN());
            p.raw = gLower * value / (l * l) *
                    std::exp(-eUpper / (kBoltzmannEv * kReferenceTemperature));
        }
        if (!std::isfinite(p.raw) || !(p.raw > 0)) return true;
        strongest_[p.kind] = std::max(strongest_[p.kind], p.raw);
        if (lambda >= from_ && lambda <= to_) pending_.push_back(p);
        return true;
    }

    void endFile(const detail::SpeciesFile&) override {
        // Band heads of one system follow each other in sequences a few nm apart.
        std::stable_sort(pending_.begin(), pending_.end(),
                         [](const Pending& a, const Pending& b) { return a.lambda < b.lambda; });
        // Per system: the last head's wavelength and its sequence number.
        std::vector<std::pair<float, std::uint32_t>> lastOfSystem(systems_.size(), {-1e30f, 0});
        std::uint32_t sequences = 0;
        for (Pending& p : pending_) {
            if (p.line.basis != EmissionBasis::BandHead) continue;
            auto& last = lastOfSystem[p.system];
            if (p.lambda - last.first > kSequenceGap) last.second = ++sequences;
            last.first = p.lambda;
            p.line.sequence = last.second;
        }
        for (Pending& p : pending_) {
            p.line.strength = static_cast<float>(p.raw / strongest_[p.kind]);
            if (p.line.strength >= floor_) out_.lines.push_back(p.line);
        }
        pending_.clear();
        systems_.clear();
    }

  private:
    struct Pending {
        float lambda;
        int kind;  // 0 from an f-value, 1 a relative intensity
        double raw;
        ReferenceLine line = {};
        std::uint32_t system = 0;  // band heads: index of the system named in the comment
    };
    static constexpr float kSequenceGap = 6.0f;  // nm between heads of one sequence
    ReferenceLines& out_;
    double from_, to_;
    float floor_;
    std::uint32_t species_ = 0;
    std::vector<Pending> pending_;
    std::vector<std::string> systems_;
    double strongest_[2] = {0.0, 0.0};
};

}  // namespace

double ExpectedEmission(const ReferenceLine& line, double kelvin) {
    switch (line.basis) {
        case EmissionBasis::Transition:
            return line.transition * std::exp(-line.upperEnergy / (kBoltzmannEv * kelvin));
        case EmissionBasis::RelativeIntensity:
        case EmissionBasis::BandHead:
            return line.strength;
        case EmissionBasis::Unknown:
            break;
    }
    return std::nan("");
}

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
