#pragma once
// The overview's rows as CSV and as JSON: what the window exports and the command line
// prints. Texts from character files map byte N to character N; paths pass as they are.

#include <string>
#include <string_view>
#include <vector>

#include "audit/audit_rules.h"

namespace drapeline::audit {

// One line of column names, then one line per row, CR LF after each.
std::string rowsCsv(const std::vector<SimRow>& rows);
// [{"file", "name", "age", "gender", "skinTone", "bodyType", "outfits": {"normal":
// {"mesh", "texture", "mark"}, ...}, "hands": {"formalLeft": {"texture", "mark"}, ...},
// "problems": [{"kind", "where", "text"}]}]
std::string rowsJson(const std::vector<SimRow>& rows);

// A JSON string. A text from a character file is Latin-1 and becomes UTF-8; a file name
// (`fileName`) is the file system's bytes, UTF-8 already, and passes as it is.
std::string jsonString(std::string_view bytes, bool fileName = false);

// "ok", "problem", "empty", "not held"
const char* markText(Mark mark);
// "formalLeft", "openRight", ...
const char* handKey(wardrobe::HandSlot slot);

}  // namespace drapeline::audit
