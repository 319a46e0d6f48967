// SPDX-License-Identifier: GPL-3.0-or-later
// How every part of veltrane-calc says that it cannot go on: a CliError with
// the exit status and the words, returned as a value and printed once, by
// RunCli, as "veltrane-calc: MESSAGE", followed by the usage text when the
// command line itself is at fault. The calculation's own messages (1 to 7)
// are results, not errors, and go where the command sends them.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace veltrane::cli {

// Exit status of veltrane-calc.
enum ExitCode {
    kExitReport = 0,   // a report, or a section that fits
    kExitMessage = 1,  // one of the calculation's messages, or no section fits
    kExitUsage = 2,    // a usage error, an input that cannot be read, or an existing FILE
    kExitWrite = 3,    // an output (standard output or a FILE) could not be written
};

struct CliError {
    ExitCode status = kExitUsage;
    std::string message{};   // without the "veltrane-calc: " lead and the line break
    bool withUsage = false;  // the usage text follows the message
};

// The command line is wrong: the message, then how to call the program.
inline CliError UsageError(std::string what) {
    return {.status = kExitUsage, .message = std::move(what), .withUsage = true};
}

// An input cannot be used (cannot be read, lacks a column, a FILE exists).
inline CliError InputError(std::string what) {
    return {.status = kExitUsage, .message = std::move(what)};
}

// An output cannot be written.
inline CliError WriteError(std::string what) {
    return {.status = kExitWrite, .message = std::move(what)};
}

// A value, or the error that stopped it; std::expected where the standard
// library lacks it (libstdc++ 12).
template <class T>
class [[nodiscard]] Outcome {
  public:
    Outcome(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Outcome(CliError error) : v_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(v_); }
    T& value() & { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    const CliError& error() const& { return std::get<1>(v_); }
    CliError&& error() && { return std::get<1>(std::move(v_)); }

  private:
    std::variant<T, CliError> v_;
};

// A step that gives nothing but may fail (writing a file).
struct Done {};
using Step = Outcome<Done>;

// What a command gives: the exit status of its result (0, or 1 for a
// calculation's message or nothing that serves), or the error.
using CommandResult = Outcome<ExitCode>;

}  // namespace veltrane::cli
