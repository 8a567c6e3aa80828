#pragma once
// The per-user settings store: text values by key under application "Drapeline",
// section "Settings". A missing key reads as an empty text.

#include <string>

namespace drapeline::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string value(const std::string& key) const = 0;
    virtual void setValue(const std::string& key, const std::string& value) = 0;
};

}  // namespace drapeline::platform
