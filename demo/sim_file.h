#pragma once
// One demo sim's character file, as the game lays one out: the object definition
// labelled with the file's name, the name set, the body strings, the three pictures,
// the chunks of behaviour and tables that every sim carries, and the resource map.

#include <vector>

#include "core/errors.h"
#include "demo/roster.h"

namespace drapeline::demo {

// `friends` are the portraits shown in the relationship picture.
ByteText characterFileFor(const SimPlan& sim, const std::vector<const Canvas*>& friends);

}  // namespace drapeline::demo
