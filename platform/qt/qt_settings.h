#pragma once
// The settings store on QSettings: organisation and application "Drapeline", group
// "Settings". Values are byte texts mapped byte N <-> code point N.

#include <QString>

#include "platform/settings.h"

namespace drapeline::platform {

class QtSettingsStore final : public SettingsStore {
public:
    std::string value(const std::string& key) const override;
    void setValue(const std::string& key, const std::string& value) override;

    // Where the values are kept: a file on Linux, a registry key on Windows.
    static QString location();
};

}  // namespace drapeline::platform
