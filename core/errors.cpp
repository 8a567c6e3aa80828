#include "core/errors.h"

#include <cstdlib>
#include <cstdio>
#include <new>
#include <system_error>
#include <utility>

namespace drapeline {

std::string_view errorDescription(std::int32_t number) {
    switch (number) {
    case 3: return "Return without GoSub";
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 67: return "Too many files";
    case 68: return "Device unavailable";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    default: return "Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(std::int32_t number)
    : RuntimeError(number, std::string(errorDescription(number))) {}

RuntimeError::RuntimeError(std::int32_t number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

std::string RuntimeError::text() const {
    return "Error " + std::to_string(number_) + " - " + description();
}

std::string RuntimeError::textWithReason() const {
    return systemReason_.empty() ? text() : text() + " (" + systemReason_ + ")";
}

RuntimeError systemFailure(std::int32_t number, int systemError) {
    RuntimeError e(number);
    e.withSystemReason(std::generic_category().message(systemError));
    return e;
}

ErrorContext& errorContext() {
    static ErrorContext context;
    return context;
}

namespace {

// Without an installed trap (the command-line tool, which handles its errors itself),
// a trapped error still reports and ends rather than continuing on bad data.
void defaultTrap() {
    const ErrorContext& c = errorContext();
    std::fprintf(stderr, "Error %d - %s (%s.%s, location %d)\n", static_cast<int>(c.number),
                 c.description.c_str(), c.module.c_str(), c.procedure.c_str(),
                 static_cast<int>(c.stage));
    std::fflush(stderr);
    std::_Exit(1);
}

ErrorTrapHandler& trapHandler() {
    static ErrorTrapHandler handler = defaultTrap;
    return handler;
}

}  // namespace

void setErrorTrapHandler(ErrorTrapHandler handler) {
    trapHandler() = handler ? std::move(handler) : ErrorTrapHandler(defaultTrap);
}

void raiseErrorTrap() {
    trapHandler()();
    // A trap handler that returns would let the failed procedure carry on.
    std::abort();
}

void trapCurrentException(std::string_view module, std::string_view procedure, Stages stages) {
    ErrorContext& c = errorContext();
    try {
        throw;
    } catch (const RuntimeError& e) {
        c.number = e.number();
        c.description = e.description();
    } catch (const std::bad_alloc&) {
        c.number = err::OutOfMemory;
        c.description = std::string(errorDescription(err::OutOfMemory));
    } catch (const std::out_of_range&) {
        c.number = err::SubscriptOutOfRange;
        c.description = std::string(errorDescription(err::SubscriptOutOfRange));
    } catch (const std::exception& e) {
        c.number = err::InvalidCall;
        c.description = e.what();
    } catch (...) {
        c.number = err::InvalidCall;
        c.description = std::string(errorDescription(err::InvalidCall));
    }
    c.module = std::string(module);
    c.procedure = std::string(procedure);
    if (stages == Stages::None) c.stage = 0;
    raiseErrorTrap();
}

}  // namespace drapeline
