#include "dialogs/display/LabelFontType.h"

#include <charconv>
#include <cmath>

#include "lumcore/Printf.h"

namespace {

int field(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && text[begin] == ' ') ++begin;
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data() + begin, text.data() + end, value);
    return error == std::errc{} ? value : 0;
}

}  // namespace

LabelFontType LabelFontType::parse(const std::string& text) {
    LabelFontType type;
    std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        type.points = field(text, 0, text.size());
    } else {
        int values[4] = {};
        std::size_t begin = 0;
        for (int& v : values) {
            if (begin > text.size()) break;
            const std::size_t end = std::min(text.find(',', begin), text.size());
            v = field(text, begin, end);
            begin = end + 1;
        }
        type.height = values[0];
        type.points = values[1];
        type.bold = values[2] != 0;
        type.italic = values[3] != 0;
    }
    if (type.points <= 0) type.points = 11;
    return type;
}

std::string LabelFontType::text() const {
    return lumcore::strprintf("%d,%d,%d,%d", height, points, bold ? 1 : 0, italic ? 1 : 0);
}

SFontDesc LabelFontType::font(const std::string& face) const {
    SFontDesc desc;
    desc.face = face;
    // Without a cell height the point size gives it, at the screen's 96 pixels per inch.
    desc.height = height > 0 ? height : static_cast<int>(std::lround(points * 96.0 / 72.0));
    desc.weight = bold ? 700 : 400;
    desc.italic = italic;
    return desc;
}
