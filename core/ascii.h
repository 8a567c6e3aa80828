#pragma once
// Letter case of the ASCII letters alone. The game's names are byte texts: every other
// byte stays as it is, whatever the machine's locale, so the same name folds the same way
// on every machine. Every case rule of the program goes through these.

#include <string>
#include <string_view>

namespace drapeline::ascii {

constexpr char toLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char toUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = toLower(c);
    return out;
}

inline std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = toUpper(c);
    return out;
}

}  // namespace drapeline::ascii
