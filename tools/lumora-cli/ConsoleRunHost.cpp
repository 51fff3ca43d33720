// Console run host; see ConsoleRunHost.h.
#include "ConsoleRunHost.h"

#include <ostream>

namespace lumcli {

ConsoleRunHost::ConsoleRunHost(std::ostream& err, bool showProgress)
    : err_(err), showProgress_(showProgress) {}

void ConsoleRunHost::closeStatus() {
    if (showProgress_ && !process_.empty()) err_ << '\n';
    process_.clear();
}

void ConsoleRunHost::refreshStatus(const std::string& process, const std::string& phase,
                                   std::int32_t, std::int32_t upper) {
    process_ = process;
    phase_ = phase;
    upper_ = upper;
    shownPercent_ = -1;
    if (showProgress_) err_ << '\r' << process_ << ' ' << phase_ << "          " << std::flush;
}

lumdb::Answer ConsoleRunHost::message(const std::string& text, const std::string& caption,
                                      lumdb::Icon icon, lumdb::Buttons buttons, bool) {
    // The database's only warnings: a refused file and passed-over lines.
    if (caption == "Datenbankquelle" && icon == lumdb::Icon::Exclamation) databaseDamaged_ = true;
    std::string line;
    for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
    // "a\n\nb" becomes "a  b"; one blank is enough.
    for (auto p = line.find("  "); p != std::string::npos; p = line.find("  ", p)) line.erase(p, 1);
    lastMessage_ = line;
    // A stop message always comes with a failed run, which the command reports with the
    // file's name and this text: printed here too, it would say the same thing twice.
    if (icon == lumdb::Icon::Stop) return lumdb::Answer::Ok;
    err_ << "lumora-cli: " << caption << ": " << line << '\n' << std::flush;
    switch (buttons) {
        case lumdb::Buttons::OkCancel:
            return lumdb::Answer::Cancel;  // the disc prompts
        case lumdb::Buttons::YesNo:
            return lumdb::Answer::Yes;
        case lumdb::Buttons::Ok:
            break;
    }
    return lumdb::Answer::Ok;
}

bool ConsoleRunHost::pump() {
    if (!showProgress_ || upper_ <= 0) return false;
    // Written only when the percentage changes, so a terminal is not flooded.
    const int percent = static_cast<int>(100LL * position() / upper_);
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        err_ << '\r' << process_ << ' ' << phase_ << ' ' << percent << " %   " << std::flush;
    }
    return false;
}

}  // namespace lumcli
