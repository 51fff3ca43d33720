// JSON text building; see JsonWriter.h.
#include "JsonWriter.h"

#include <cmath>
#include <cstdlib>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"

namespace lumcli {

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasItems_.empty()) {
        if (hasItems_.back()) out_ += ',';
        hasItems_.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    out_ += '{';
    hasItems_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_ += '}';
    hasItems_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    out_ += '[';
    hasItems_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_ += ']';
    hasItems_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    out_ += quoted(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
    beforeValue();
    out_ += quoted(text);
    return *this;
}

JsonWriter& JsonWriter::number(float value) {
    if (!std::isfinite(value)) return null();
    beforeValue();
    out_ += lumcore::shortestFloat(value);
    return *this;
}

JsonWriter& JsonWriter::number(double value) {
    if (!std::isfinite(value)) return null();
    beforeValue();
    // The shortest of 15 to 17 digits that reads back unchanged.
    std::string text;
    for (int digits = 15; digits <= 17; ++digits) {
        text = lumcore::strprintf("%.*g", digits, value);
        if (std::strtod(text.c_str(), nullptr) == value) break;
    }
    out_ += text;
    return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
    beforeValue();
    out_ += lumcore::strprintf("%lld", value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    beforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    out_ += "null";
    return *this;
}

std::string JsonWriter::quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80) {
            // File names may be in a single-byte code page: a byte that does not start a
            // valid UTF-8 sequence is escaped as the character of that byte's value, so the
            // output stays valid UTF-8 and a Windows-1252 'ä' still reads as 'ä'.
            if (const std::size_t n = lumcore::utf8SequenceLength(text, i)) {
                out.append(text.substr(i, n));
                i += n - 1;
            } else {
                out += lumcore::strprintf("\\u%04x", c);
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20)
                    out += lumcore::strprintf("\\u%04x", c);
                else
                    out += ch;
        }
    }
    return out + "\"";
}

}  // namespace lumcli
