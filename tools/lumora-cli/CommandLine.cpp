// Parsing one subcommand's arguments; see CommandLine.h.
#include "CommandLine.h"

#include <glob.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "lumcore/Printf.h"

using lumcore::strprintf;

namespace lumcli {

namespace {

const OptionSyntax* findLong(const CommandSyntax& syntax, const std::string& name) {
    for (const auto& o : syntax.options)
        if (o.name == name) return &o;
    return nullptr;
}

const OptionSyntax* findShort(const CommandSyntax& syntax, char c) {
    for (const auto& o : syntax.options)
        if (o.shortName == c) return &o;
    return nullptr;
}

// The optional value of "--fourier 512,50" is taken from the next argument only when it
// cannot be a file name someone meant: digits, commas and points only.
bool looksLikeNumberList(const std::string& s) {
    if (s.empty() || !(s[0] >= '0' && s[0] <= '9')) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == ',' || c == '.')) return false;
    return true;
}

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Shells on some systems hand patterns over unexpanded; expand them here the same way.
void addFile(std::vector<std::string>& files, const std::string& arg) {
    if (arg.find_first_of("*?[") == std::string::npos || exists(arg)) {
        files.push_back(arg);
        return;
    }
    glob_t g{};
    if (::glob(arg.c_str(), 0, nullptr, &g) == 0 && g.gl_pathc > 0) {
        for (std::size_t i = 0; i < g.gl_pathc; ++i) files.emplace_back(g.gl_pathv[i]);
    } else {
        files.push_back(arg);  // reported as a missing file in its turn
    }
    ::globfree(&g);
}

}  // namespace

CommandLine::CommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            addFile(files_, arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            help_ = true;
            continue;
        }
        const OptionSyntax* option = nullptr;
        std::string inlineValue;
        bool hasInline = false;
        if (arg[1] == '-') {
            std::string name = arg.substr(2);
            const auto eq = name.find('=');
            if (eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.erase(eq);
                hasInline = true;
            }
            option = findLong(syntax, name);
        } else if (arg.size() == 2) {
            option = findShort(syntax, arg[1]);
        } else if (looksLikeNumberList(arg.substr(1))) {
            addFile(files_, arg);  // not an option: a negative number where a file stands
            continue;
        }
        if (!option) throw UsageError(strprintf("Unbekannte Option: %s", arg.c_str()));

        std::string value;
        switch (option->kind) {
            case ValueKind::None:
                if (hasInline)
                    throw UsageError(
                        strprintf("Die Option --%s nimmt keinen Wert.", option->name.c_str()));
                break;
            case ValueKind::Required:
                if (hasInline) {
                    value = inlineValue;
                } else if (i + 1 < args.size()) {
                    value = args[++i];
                } else {
                    throw UsageError(strprintf("Die Option --%s braucht einen Wert (%s).",
                                               option->name.c_str(), option->valueName.c_str()));
                }
                break;
            case ValueKind::Optional:
                if (hasInline)
                    value = inlineValue;
                else if (i + 1 < args.size() && looksLikeNumberList(args[i + 1]))
                    value = args[++i];
                break;
        }
        values_[option->name].push_back(value);
    }
    if (help_) return;
    const int n = static_cast<int>(files_.size());
    if (n < syntax.minFiles)
        throw UsageError(
            syntax.minFiles == 1
                ? "Es fehlt die Eingabedatei."
                : strprintf("Es fehlen Eingabedateien (mindestens %d).", syntax.minFiles));
    if (syntax.maxFiles >= 0 && n > syntax.maxFiles) {
        if (syntax.maxFiles == 0)
            throw UsageError(strprintf("Unerwartetes Argument: %s", files_.front().c_str()));
        throw UsageError(strprintf("Zu viele Eingabedateien (höchstens %d).", syntax.maxFiles));
    }
}

std::string CommandLine::value(const std::string& name) const {
    const auto it = values_.find(name);
    return it == values_.end() || it->second.empty() ? std::string() : it->second.back();
}

std::string CommandLine::helpText(const CommandSyntax& syntax) {
    std::string text = "Aufruf: lumora-cli " + syntax.name + " " + syntax.synopsis + "\n\n" +
                       syntax.description + "\n\nOptionen:\n";
    for (const auto& o : syntax.options) {
        std::string left = "  ";
        left += o.shortName ? strprintf("-%c, ", o.shortName) : std::string("    ");
        left += "--" + o.name;
        if (o.kind == ValueKind::Required) left += " " + o.valueName;
        if (o.kind == ValueKind::Optional) left += " [" + o.valueName + "]";
        // Column of the help texts; longer option names push their text to the next line.
        constexpr std::size_t kColumn = 30;
        std::size_t width = 0;
        for (unsigned char c : left) width += (c & 0xC0) != 0x80;
        if (width + 2 > kColumn)
            text += left + "\n" + std::string(kColumn, ' ');
        else
            text += left + std::string(kColumn - width, ' ');
        // Continuation lines of a help text line up under its first line.
        std::string help = o.help;
        for (std::size_t p = help.find('\n'); p != std::string::npos; p = help.find('\n', p + 1))
            help.insert(p + 1, std::string(kColumn, ' '));
        text += help + "\n";
    }
    text += "  -h, --help                  diese Hilfe\n";
    return text;
}

int parseInt(const std::string& option, const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < -2147483647L || v > 2147483647L)
        throw UsageError(
            strprintf("Ungültige Zahl für --%s: \"%s\"", option.c_str(), text.c_str()));
    return static_cast<int>(v);
}

double parseNumber(const std::string& option, const std::string& text) {
    // "d" or "D" is an exponent letter as in the program's number fields (1d5 = 100000);
    // hexadecimal text keeps its digits.
    std::string number = text;
    if (number.find_first_of("xX") == std::string::npos)
        std::replace_if(
            number.begin(), number.end(), [](char c) { return c == 'd' || c == 'D'; }, 'e');
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    // "nan" and "inf" read as numbers, but no option means anything by them, and every
    // option's value is kept as a float: what lies beyond that range would become infinite.
    if (text.empty() || *end != '\0' || errno != 0 || !(std::fabs(v) <= FLT_MAX))
        throw UsageError(
            strprintf("Ungültige Zahl für --%s: \"%s\"", option.c_str(), text.c_str()));
    return v;
}

std::vector<std::string> splitAt(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(sep, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

namespace {
std::vector<std::string> splitList(const std::string& option, const std::string& text,
                                   std::size_t count) {
    std::vector<std::string> parts = splitAt(text, ',');
    if (parts.size() != count)
        throw UsageError(strprintf("--%s erwartet %zu durch Komma getrennte Werte, nicht \"%s\".",
                                   option.c_str(), count, text.c_str()));
    return parts;
}
}  // namespace

std::vector<int> parseIntList(const std::string& option, const std::string& text,
                              std::size_t count) {
    std::vector<int> out;
    for (const auto& p : splitList(option, text, count)) out.push_back(parseInt(option, p));
    return out;
}

std::vector<double> parseNumberList(const std::string& option, const std::string& text,
                                    std::size_t count) {
    std::vector<double> out;
    for (const auto& p : splitList(option, text, count)) out.push_back(parseNumber(option, p));
    return out;
}

std::string lowerExtension(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return ext;
}

}  // namespace lumcli
