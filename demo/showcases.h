#pragma once
// The sims a newcomer should meet on purpose: the targets of the two repair tools, a
// character file that can not be read and a sim without a name. They are picked from
// the roster by rule (the n-th sim of a kind in a neighbourhood), so they stay put when
// the roster changes elsewhere.

#include <vector>

#include "demo/roster.h"

namespace drapeline::demo {

void addShowcases(std::vector<SimPlan>& sims);

}  // namespace drapeline::demo
