#pragma once
// The settings store on QSettings: organisation and application "Drapeline", group
// "Settings". Values are byte texts mapped byte N <-> code point N.

#include "platform/settings.h"

namespace drapeline::platform {

class QtSettingsStore final : public SettingsStore {
public:
    std::string value(const std::string& key) const override;
    void setValue(const std::string& key, const std::string& value) override;
};

}  // namespace drapeline::platform
