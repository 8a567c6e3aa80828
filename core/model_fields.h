#pragma once
// Field readers shared by the readers of the game's model files (character data, meshes,
// archives). Every count read through them is refused, before anything is reserved, when
// it is negative, above MaxModelElements or larger than the rest of the file could hold,
// so a lying count costs nothing. Errors are run-time errors whose description names the
// field and where it stands: "Input past end of file (vertices at byte 120)".

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/errors.h"

namespace drapeline {

// No character mesh or skeleton comes near a million of anything; a list beyond that is a
// damaged file, whatever the file's length.
inline constexpr std::size_t MaxModelElements = std::size_t{1} << 20;

struct Vector3 {
    float x = 0, y = 0, z = 0;
    bool operator==(const Vector3&) const = default;
};

struct Quaternion {
    float x = 0, y = 0, z = 0, w = 1;
    bool operator==(const Quaternion&) const = default;
};

// `count` elements made by `read`, the list growing as they arrive: a count that passed the
// room check but that the file does not back costs no more than the elements really read.
template <class Read>
auto readList(std::size_t count, Read&& read) {
    std::vector<decltype(read())> list;
    list.reserve(std::min<std::size_t>(count, 4096));
    for (std::size_t i = 0; i < count; ++i) list.push_back(read());
    return list;
}

// The run-time error `number` with its classic description and `detail` in parentheses.
[[noreturn]] void refuseModel(std::int32_t number, std::string_view detail);

// Little-endian binary fields. Strings are one length byte, or the byte 255 followed by
// an int32 length, then the bytes.
class BinaryFields {
public:
    explicit BinaryFields(std::string_view bytes) : bytes_(bytes) {}

    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }

    std::string_view take(std::size_t n, std::string_view what);
    std::int32_t int32(std::string_view what);
    std::uint32_t uint32(std::string_view what);
    float float32(std::string_view what);
    void int32s(std::string_view what, std::int32_t* out, std::size_t n);
    void floats(std::string_view what, float* out, std::size_t n);
    ByteText string(std::string_view what);
    Vector3 vector3(std::string_view what);
    Quaternion quaternion(std::string_view what);
    // An int32 count of elements that take at least `minBytes` each.
    std::size_t count(std::string_view what, std::size_t minBytes);
    // The checks of count() for a count read otherwise.
    void requireRoom(std::size_t count, std::size_t minBytes, std::string_view what);

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Text fields, one record a line. Line ends may be LF or CR LF; blanks at either end of a
// line are dropped. Vectors may stand between bars: "| 1 2 3 |".
class TextFields {
public:
    explicit TextFields(std::string_view text);

    std::size_t lineNumber() const { return lineNumber_; }
    std::size_t remainingLines() const { return lineCount_ - lineNumber_; }

    std::string_view line(std::string_view what);
    ByteText string(std::string_view what) { return ByteText(line(what)); }
    std::int32_t int32(std::string_view what);
    // Exactly `n` numbers on one line.
    void int32s(std::string_view what, std::int32_t* out, std::size_t n);
    void floats(std::string_view what, float* out, std::size_t n);
    Vector3 vector3(std::string_view what);
    Quaternion quaternion(std::string_view what);
    float float32(std::string_view what);
    // A count of elements that take at least `minLines` lines each.
    std::size_t count(std::string_view what, std::size_t minLines);

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineNumber_ = 0;   // lines read so far
    std::size_t lineCount_ = 0;
};

}  // namespace drapeline
