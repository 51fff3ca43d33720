// Builds one line of JSON (an object of the JSON Lines output) with the commas, quoting and
// escaping handled in one place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumcli {

class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The name of the next member of the current object.
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view text);
    // The shortest text that reads back as the same float; null for inf and NaN, which
    // JSON cannot hold.
    JsonWriter& number(float value);
    JsonWriter& number(double value);
    JsonWriter& integer(long long value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();

    const std::string& text() const { return out_; }

    static std::string quoted(std::string_view text);

  private:
    void beforeValue();

    std::string out_;
    // Per open container: whether a value was written already (so a comma is due).
    std::vector<bool> hasItems_;
    bool afterKey_ = false;
};

}  // namespace lumcli
