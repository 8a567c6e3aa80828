#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include <string>

#include "core/errors.h"

namespace drapeline::testkit {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + separator + relative (relative uses "/").
    std::string operator/(const std::string& relative) const;
    // Writes a file below the folder, creating its folders.
    std::string write(const std::string& relative, const ByteText& bytes) const;
    std::string makeFolder(const std::string& relative) const;
    // True where names differing only in letter case are one file (Windows), so a fixture
    // of two such files holds one.
    bool ignoresCase() const;

private:
    std::string path_;
};

}  // namespace drapeline::testkit
