#pragma once
// The overview's rows as CSV and as JSON: what the window exports and the command line
// prints. Texts from character files map byte N to character N; paths pass as they are.

#include <string>
#include <vector>

#include "audit/audit_rules.h"

namespace drapeline::audit {

// One line of column names, then one line per row, CR LF after each.
std::string rowsCsv(const std::vector<SimRow>& rows);
// [{"file", "name", "age", "gender", "skinTone", "bodyType", "outfits": {"normal":
// {"mesh", "texture", "mark"}, ...}, "hands": {"formalLeft": {"texture", "mark"}, ...},
// "problems": [{"kind", "where", "text"}]}]
std::string rowsJson(const std::vector<SimRow>& rows);

// "ok", "problem", "empty", "not held"
const char* markText(Mark mark);
// "formalLeft", "openRight", ...
const char* handKey(wardrobe::HandSlot slot);

}  // namespace drapeline::audit
