#include "core/model_fields.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/binary_support.h"

namespace drapeline {

namespace {

std::string at(std::size_t pos) { return " at byte " + std::to_string(pos); }
std::string onLine(std::size_t line) { return " on line " + std::to_string(line); }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The count checks both forms share; `where` says where the count stands.
std::size_t checkedCount(std::int64_t count, std::size_t room, std::size_t minPerElement,
                         std::string_view what, const std::string& where) {
    const auto claim = [&] { return std::to_string(count) + " " + std::string(what) + where; };
    if (count < 0) refuseModel(err::SubscriptOutOfRange, claim());
    const auto n = static_cast<std::size_t>(count);
    if (n > MaxModelElements)
        refuseModel(err::Overflow, claim() + ", more than " + std::to_string(MaxModelElements));
    if (minPerElement > 0 && n > room / minPerElement)
        refuseModel(err::InputPastEnd, claim() + ", more than the rest of the file holds");
    return n;
}

// Splits a line of numbers at blanks and bars.
template <class F>
std::size_t forEachToken(std::string_view line, F&& f) {
    std::size_t n = 0;
    std::size_t i = 0;
    const auto separates = [](char c) { return isBlank(c) || c == '|'; };
    while (i < line.size()) {
        while (i < line.size() && separates(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !separates(line[i])) ++i;
        if (i > start) f(n++, line.substr(start, i - start));
    }
    return n;
}

bool parseInt(std::string_view token, std::int32_t& out) {
    if (token.size() > 1 && token.front() == '+') token.remove_prefix(1);
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), out);
    return ec == std::errc() && end == token.data() + token.size();
}

// Any float the text can spell, "inf" and "nan" included; a value beyond float's range
// becomes infinity, one too small for it zero, as a C library conversion would give.
bool parseFloat(std::string_view token, float& out) {
    if (token.size() > 1 && token.front() == '+') token.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (end != token.data() + token.size()) return false;
    const bool negative = !token.empty() && token.front() == '-';
    if (ec == std::errc::result_out_of_range) {
        const auto e = token.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < token.size() && token[e + 1] == '-';
        const float magnitude = tiny ? 0.0f : std::numeric_limits<float>::infinity();
        out = negative ? -magnitude : magnitude;
        return true;
    }
    if (ec != std::errc()) return false;
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isnan(value)) out = std::numeric_limits<float>::quiet_NaN();
    else if (value > largest) out = std::numeric_limits<float>::infinity();
    else if (value < -largest) out = -std::numeric_limits<float>::infinity();
    else out = static_cast<float>(value);
    return true;
}

}  // namespace

void refuseModel(std::int32_t number, std::string_view detail) {
    throw RuntimeError(number, std::string(errorDescription(number)) + " (" + std::string(detail) + ")");
}

// ---- Binary ----------------------------------------------------------------------------

std::string_view BinaryFields::take(std::size_t n, std::string_view what) {
    if (n > remaining()) refuseModel(err::InputPastEnd, std::string(what) + at(pos_));
    const auto field = bytes_.substr(pos_, n);
    pos_ += n;
    return field;
}

std::int32_t BinaryFields::int32(std::string_view what) { return bytes::int32LE(take(4, what), 0); }

std::uint32_t BinaryFields::uint32(std::string_view what) {
    return static_cast<std::uint32_t>(int32(what));
}

float BinaryFields::float32(std::string_view what) { return std::bit_cast<float>(uint32(what)); }

void BinaryFields::int32s(std::string_view what, std::int32_t* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out[i] = int32(what);
}

void BinaryFields::floats(std::string_view what, float* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out[i] = float32(what);
}

ByteText BinaryFields::string(std::string_view what) {
    const std::size_t start = pos_;
    std::int64_t length = bytes::u8(take(1, what), 0);
    if (length == 255) length = int32(what);
    if (length < 0)
        refuseModel(err::SubscriptOutOfRange,
                    std::string(what) + " of length " + std::to_string(length) + at(start));
    if (static_cast<std::uint64_t>(length) > remaining())
        refuseModel(err::InputPastEnd, std::string(what) + " of length " + std::to_string(length) +
                                           at(start) + ", longer than the rest of the file");
    return ByteText(take(static_cast<std::size_t>(length), what));
}

Vector3 BinaryFields::vector3(std::string_view what) {
    float v[3];
    floats(what, v, 3);
    return {v[0], v[1], v[2]};
}

Quaternion BinaryFields::quaternion(std::string_view what) {
    float q[4];
    floats(what, q, 4);
    return {q[0], q[1], q[2], q[3]};
}

std::size_t BinaryFields::count(std::string_view what, std::size_t minBytes) {
    const std::size_t start = pos_;
    const std::int32_t n = int32(what);
    return checkedCount(n, remaining(), minBytes, what, at(start));
}

void BinaryFields::requireRoom(std::size_t count, std::size_t minBytes, std::string_view what) {
    checkedCount(static_cast<std::int64_t>(count), remaining(), minBytes, what, at(pos_));
}

// ---- Text ------------------------------------------------------------------------------

TextFields::TextFields(std::string_view text) : text_(text) {
    // A byte-order mark, as some editors save text.
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    lineCount_ = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++lineCount_;
}

std::string_view TextFields::line(std::string_view what) {
    if (pos_ >= text_.size())
        refuseModel(err::InputPastEnd, std::string(what) + onLine(lineNumber_ + 1));
    const auto end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    const auto raw = text_.substr(pos_, stop - pos_);
    pos_ = stop == text_.size() ? stop : stop + 1;
    ++lineNumber_;
    return trimmed(raw);
}

void TextFields::int32s(std::string_view what, std::int32_t* out, std::size_t n) {
    const auto text = line(what);
    bool good = true;
    const std::size_t found = forEachToken(text, [&](std::size_t i, std::string_view token) {
        if (i < n) good = parseInt(token, out[i]) && good;
    });
    if (!good || found != n)
        refuseModel(err::TypeMismatch, std::string(what) + onLine(lineNumber_) + ": expected " +
                            std::to_string(n) + (n == 1 ? " whole number" : " whole numbers"));
}

void TextFields::floats(std::string_view what, float* out, std::size_t n) {
    const auto text = line(what);
    bool good = true;
    const std::size_t found = forEachToken(text, [&](std::size_t i, std::string_view token) {
        if (i < n) good = parseFloat(token, out[i]) && good;
    });
    if (!good || found != n)
        refuseModel(err::TypeMismatch, std::string(what) + onLine(lineNumber_) + ": expected " +
                            std::to_string(n) + (n == 1 ? " number" : " numbers"));
}

std::int32_t TextFields::int32(std::string_view what) {
    std::int32_t value = 0;
    int32s(what, &value, 1);
    return value;
}

float TextFields::float32(std::string_view what) {
    float value = 0;
    floats(what, &value, 1);
    return value;
}

Vector3 TextFields::vector3(std::string_view what) {
    float v[3];
    floats(what, v, 3);
    return {v[0], v[1], v[2]};
}

Quaternion TextFields::quaternion(std::string_view what) {
    float q[4];
    floats(what, q, 4);
    return {q[0], q[1], q[2], q[3]};
}

std::size_t TextFields::count(std::string_view what, std::size_t minLines) {
    const std::int32_t n = int32(what);
    return checkedCount(n, remainingLines(), minLines, what, onLine(lineNumber_));
}

}  // namespace drapeline
