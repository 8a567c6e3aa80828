// Commands on single character files: check, rewrite, info, strings, export-bitmaps.
// They call the plain core functions, never the guarded ones: a failure here is one line
// and exit status 1, not the editor's error trap.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "cli/sim_access.h"
#include "core/binary_support.h"
#include "core/bitmap_export.h"
#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/picture_export.h"

namespace drapeline::cli {

namespace {

std::string hex(std::string_view bytes, bool blanks) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (blanks && !out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

int check(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    IffFile iff;
    const std::string error = iff::readIffChecked(iff, args.positional()[0]);
    if (error.empty()) return 0;
    out << error << "\n";
    return 1;
}

int rewrite(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(2, 2);
    IffFile iff;
    const std::string error = iff::readIffChecked(iff, args.positional()[0]);
    if (!error.empty()) {
        out << error << "\n";
        return 1;
    }
    // As a save: the new file appears whole or not at all, never half written.
    replaceOrFail(args.positional()[1], iff::serialise(iff));
    return 0;
}

int info(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    const IffFile iff = readChecked(args.positional()[0]);
    JsonWriter json;
    json.beginObject().key("hasRsmp").value(iff.hasRsmp).key("chunks").beginArray();
    for (const auto& c : iff.chunks) {
        const auto trimmed = std::string_view(c.label).substr(0, c.label.find('\0'));
        json.beginObject()
            .key("type").value(c.typeCode)
            .key("id").value(static_cast<std::int64_t>(c.resourceId()))
            .key("idField").value(hex(c.idField, true))
            .key("label").value(trimmed)
            .key("size").value(static_cast<std::int64_t>(bytes::int32FromBE(c.sizeField)))
            .key("offset").value(static_cast<std::int64_t>(c.fileOffset) - 1)
            .endObject();
    }
    json.endArray().endObject();
    out << json.str() << "\n";
    return 0;
}

int stringsCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    const bool isCTSS = args.flag("ctss");
    const std::string idText = args.option("id").value_or("00 C8 00 10");
    // The reader's own hex conversion takes what is not a digit as 0; an argument is held
    // to the exact form.
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    bool exact = idText.size() == 11;
    for (std::size_t i = 0; exact && i < idText.size(); ++i)
        exact = i % 3 == 2 ? idText[i] == ' ' : isHex(idText[i]);
    if (!exact)
        throw UsageError("--id needs four hexadecimal bytes such as \"00 C8 00 10\", not \"" +
                         idText + "\"");
    const ByteText idField = bytes::hexToBytes(idText);
    const IffFile iff = readChecked(args.positional()[0]);
    const IffChunk* chunk = strings::findStringChunk(iff, idField, isCTSS);
    if (!chunk)
        throw Failure(std::string("no ") + (isCTSS ? "CTSS" : "STR#") + " chunk with ID field " +
                      hex(idField, true));
    StringSet set;
    try {
        set = strings::decode(chunk->data);
    } catch (const RuntimeError& e) {
        throw Failure(args.positional()[0] + ": " + e.text());
    }
    JsonWriter json;
    json.beginObject()
        .key("format").value(hex(set.formatCode, false))
        .key("count").value(static_cast<std::int64_t>(set.entries.size()))
        .key("entries").beginArray();
    for (const auto& e : set.entries)
        json.beginObject()
            .key("language").value(static_cast<std::int64_t>(e.languageCode))
            .key("text").value(e.text)
            .key("comment").value(e.comment)
            .endObject();
    json.endArray().key("trailer").value(hex(set.trailer, false)).endObject();
    out << json.str() << "\n";
    return 0;
}

int exportBitmaps(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(2, 2);
    const IffFile iff = readChecked(args.positional()[0]);
    std::vector<std::string> names;
    try {
        names = platform::exportAllPictures(iff, args.positional()[1]);
    } catch (const RuntimeError& e) {
        throw Failure(args.positional()[1] + ": " + e.textWithReason());
    }
    JsonWriter json;
    json.beginArray();
    for (const auto& name : names) json.value(name);
    json.endArray();
    out << json.str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> fileCommands() {
    return {
        {"check", "check FILE                       read a character file; print the error, if any",
         {}, check},
        {"rewrite", "rewrite IN OUT                   read IN and write it to OUT as the editor saves",
         {}, rewrite},
        {"info", "info FILE                        list the chunks of a character file", {}, info},
        {"strings",
         "strings FILE [--ctss] [--id \"HH HH HH HH\"]  decode a string set (default STR# 00 C8 00 10)",
         {"ctss"}, stringsCommand},
        {"export-bitmaps", "export-bitmaps FILE DIR          write the file's pictures into DIR",
         {}, exportBitmaps},
    };
}

}  // namespace drapeline::cli
