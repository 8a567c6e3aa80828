#pragma once
// A small JSON writer for the command-line tool. Byte texts map byte N to code point N,
// so any character file text round-trips through the JSON we print; paths are printed as
// the UTF-8 they are, so they can be passed back as arguments.

#include <cstdint>
#include <string>
#include <string_view>

namespace drapeline::cli {

// A JSON string literal, quotes included, UTF-8 encoded from Latin-1 bytes.
std::string jsonString(std::string_view bytes);
// A JSON string literal for a path or file name: the file system's bytes are UTF-8 already
// and pass unchanged; a name that is not valid UTF-8 falls back to the byte mapping.
std::string jsonPath(std::string_view path);

// Builds one JSON value by appending pieces; commas between members and elements are
// placed automatically.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& path(std::string_view path);
    JsonWriter& null();

    const std::string& str() const { return out_; }

private:
    void separate();
    std::string out_;
    bool needComma_ = false;
};

}  // namespace drapeline::cli
