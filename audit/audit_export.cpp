#include "audit/audit_export.h"

#include <cstdio>

#include "core/ascii.h"

namespace drapeline::audit {

using wardrobe::HandSlot;
using wardrobe::OutfitKind;

std::string jsonString(std::string_view bytes, bool fileName) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", b);
            out += escape;
        } else if (b >= 0x80 && !fileName) {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

namespace {

std::string csv(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char ch : text) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return out + "\"";
}

std::string problemsText(const SimRow& row) {
    std::string text;
    for (const auto& p : row.problems) text += (text.empty() ? "" : "; ") + std::string(kindId(p.kind)) + ": " + p.text;
    return text;
}

}  // namespace

const char* markText(Mark mark) {
    switch (mark) {
    case Mark::Ok: return "ok";
    case Mark::Problem: return "problem";
    case Mark::Empty: return "empty";
    case Mark::NotHeld: return "not held";
    }
    return "";
}

const char* handKey(HandSlot slot) {
    switch (slot) {
    case HandSlot::FormalLeft: return "formalLeft";
    case HandSlot::FormalRight: return "formalRight";
    case HandSlot::OpenLeft: return "openLeft";
    case HandSlot::OpenRight: return "openRight";
    case HandSlot::PointLeft: return "pointLeft";
    case HandSlot::PointRight: return "pointRight";
    case HandSlot::ClosedLeft: return "closedLeft";
    case HandSlot::ClosedRight: return "closedRight";
    }
    return "";
}

std::string rowsCsv(const std::vector<SimRow>& rows) {
    std::string out = "neighbourhood,file,name,age,gender,skin tone,body type";
    for (const OutfitKind kind : wardrobe::AllOutfits) {
        const std::string k = ascii::lower(wardrobe::outfitCaption(kind));
        out += "," + k + " mesh," + k + " texture";
    }
    for (const HandSlot slot : wardrobe::AllHandSlots) out += "," + ascii::lower(wardrobe::handCaption(slot)) + " hand";
    out += ",problems\r\n";
    for (const auto& r : rows) {
        out += csv(r.neighbourhood) + "," + csv(r.file) + "," + csv(r.name) + "," + csv(r.age) + "," + csv(r.gender) + "," + csv(r.skinTone) + "," +
               csv(r.bodyType);
        for (const auto& o : r.outfits) out += "," + csv(o.mesh) + "," + csv(o.texture);
        for (const auto& h : r.hands) out += "," + csv(h.texture);
        out += "," + csv(problemsText(r)) + "\r\n";
    }
    return out;
}

std::string rowsJson(const std::vector<SimRow>& rows) {
    std::string out = "[";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SimRow& r = rows[i];
        out += std::string(i ? "," : "") + "\n  {\"neighbourhood\": " + jsonString(r.neighbourhood, true) + ", \"file\": " + jsonString(r.file, true) + ", \"name\": " + jsonString(r.name) + ", \"age\": " + jsonString(r.age) +
               ", \"gender\": " + jsonString(r.gender) + ", \"skinTone\": " + jsonString(r.skinTone) +
               ", \"bodyType\": " + jsonString(r.bodyType) + ", \"outfits\": {";
        for (const OutfitKind kind : wardrobe::AllOutfits) {
            const Worn& w = r.outfit(kind);
            out += std::string(kind == OutfitKind::Normal ? "" : ", ") + jsonString(ascii::lower(wardrobe::outfitCaption(kind))) +
                   ": {\"mesh\": " + jsonString(w.mesh) + ", \"texture\": " + jsonString(w.texture) + ", \"mark\": " +
                   jsonString(markText(w.mark)) + "}";
        }
        out += "}, \"hands\": {";
        for (const HandSlot slot : wardrobe::AllHandSlots) {
            const Worn& w = r.hand(slot);
            out += std::string(slot == HandSlot::FormalLeft ? "" : ", ") + jsonString(handKey(slot)) +
                   ": {\"texture\": " + jsonString(w.texture) + ", \"mark\": " + jsonString(markText(w.mark)) + "}";
        }
        out += "}, \"problems\": [";
        for (std::size_t p = 0; p < r.problems.size(); ++p)
            out += std::string(p ? ", " : "") + "{\"kind\": " + jsonString(kindId(r.problems[p].kind)) +
                   ", \"where\": " + jsonString(r.problems[p].where) + ", \"text\": " + jsonString(r.problems[p].text) + "}";
        out += "]}";
    }
    return out + (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace drapeline::audit
