#pragma once
// Whole-file reads and writes for the core: one read, one write, errors as numbered
// run-time errors (53 file not found, 70 permission denied, 75 path/file access error,
// 76 path not found).

#include <string>

#include "core/errors.h"

namespace drapeline {

// The whole file in one read.
ByteText readWholeFile(const std::string& path);

// Creates or truncates `path` and writes `bytes` whole, so no tail of an older, longer
// file survives.
void writeWholeFile(const std::string& path, const ByteText& bytes);

}  // namespace drapeline
