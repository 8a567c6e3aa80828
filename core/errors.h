#pragma once
// Run-time errors in the classic numbered style, the process-wide error context, and the
// guard that turns an unexpected failure inside a named procedure into an error report.
//
// Readers and writers throw RuntimeError; a guarded procedure (see `guarded`) catches it,
// fills the error context and raises the error trap, which the application installs
// (it writes errorlog.txt, tells the user and ends the program). The core never shows
// anything itself.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace drapeline {

// Byte text: every char is one byte of a game file, never passed through a codec.
using ByteText = std::string;

namespace err {
inline constexpr std::int32_t InvalidCall = 5;        // "Invalid procedure call or argument"
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;        // "Out of memory"
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t InputPastEnd = 62;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t PathFileAccess = 75;
inline constexpr std::int32_t PathNotFound = 76;
}  // namespace err

// The classic description of a run-time error number ("Application-defined or
// object-defined error" for numbers we do not name).
std::string_view errorDescription(std::int32_t number);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(std::int32_t number);
    RuntimeError(std::int32_t number, const std::string& description);

    std::int32_t number() const noexcept { return number_; }
    std::string description() const { return what(); }
    // "Error 62 - Input past end of file"
    std::string text() const;

    // What the operating system said about the failure ("No space left on device"), when
    // the error came from it; empty otherwise.
    const std::string& systemReason() const noexcept { return systemReason_; }
    RuntimeError& withSystemReason(std::string reason) {
        systemReason_ = std::move(reason);
        return *this;
    }
    // text(), then the system's reason in parentheses when there is one.
    std::string textWithReason() const;

private:
    std::int32_t number_;
    std::string systemReason_;
};

// A numbered error carrying the system's text for the C library error `systemError`.
RuntimeError systemFailure(std::int32_t number, int systemError);

// The five process-wide values the error trap reports (documented as ErrNumber,
// ErrDescription, ErrModule, ErrProcedure and ErrLocation). `stage` is a progress marker
// that procedures with stages advance; it is never reset on entry to a procedure.
struct ErrorContext {
    std::int32_t number = 0;
    std::string description;
    std::string module;
    std::string procedure;
    std::int32_t stage = 0;
};

ErrorContext& errorContext();
inline void markStage(std::int32_t marker) { errorContext().stage = marker; }

// Thrown by a test's "end the program" step so that a trapped error unwinds instead of
// ending the test process. Deliberately not a std::exception: no guard swallows it.
struct ProgramEnded {};

// The routine that reports and ends. It must not return normally: it ends the process
// or throws ProgramEnded.
using ErrorTrapHandler = std::function<void()>;
void setErrorTrapHandler(ErrorTrapHandler handler);
[[noreturn]] void raiseErrorTrap();

enum class Stages { None, Marked };

// Records the caught exception in the error context (number, description, module,
// procedure; stage 0 for procedures without stages) and raises the error trap.
[[noreturn]] void trapCurrentException(std::string_view module, std::string_view procedure,
                                       Stages stages);

// Runs `body` as the guarded procedure `module`.`procedure`.
template <class Body>
decltype(auto) guarded(std::string_view module, std::string_view procedure, Stages stages,
                       Body&& body) {
    try {
        return body();
    } catch (const ProgramEnded&) {
        throw;
    } catch (...) {
        trapCurrentException(module, procedure, stages);
    }
}

}  // namespace drapeline
