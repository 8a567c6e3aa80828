#pragma once
// Sets or clears an environment variable for one test and puts the old value back.

#include <cstdlib>
#include <optional>
#include <string>

namespace drapeline::testkit {

class ScopedEnv {
public:
    // A null value clears the variable.
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const char* value) const {
#ifdef _WIN32
        _putenv_s(name_, value ? value : "");
#else
        if (value) ::setenv(name_, value, 1);
        else ::unsetenv(name_);
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace drapeline::testkit
