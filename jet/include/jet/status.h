// Status and Result: how the engine reports failure. Every error carries a code
// and a message a user can read, naming what failed and where (table, page,
// offset). No exception crosses the engine's public API.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace jet {

enum class ErrorCode {
    Ok = 0,
    NotFound,      // no such file, table, query or column
    Unrecognized,  // not an Access file, or a version we do not read
    BadPassword,   // "Not a valid password."
    Unsupported,   // a feature we refuse on purpose (named in the message)
    Corrupt,       // the file contradicts itself: bad page, chain, length
    Io,            // the operating system refused a read or write
    Syntax,        // an SQL statement we cannot parse (message names the position)
    Semantic,      // an SQL statement that parses but cannot run
    Parameter,     // a query parameter has no value
    ReadOnly,      // a statement or call that would change table data
    Invalid,       // a caller passed something that cannot be used (bad name, ...)
};

class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(ErrorCode code, std::string message) : code_(code), message_(std::move(message)) {}

    static Status ok() { return {}; }
    bool isOk() const { return code_ == ErrorCode::Ok; }
    explicit operator bool() const { return isOk(); }
    ErrorCode code() const { return code_; }
    const std::string& message() const { return message_; }

  private:
    ErrorCode code_ = ErrorCode::Ok;
    std::string message_;
};

// A value or the Status that explains why there is none.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Status status) : state_(std::move(status)) {}
    Result(ErrorCode code, std::string message) : state_(Status(code, std::move(message))) {}

    bool isOk() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return isOk(); }

    // Precondition for value(): isOk().
    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    Status status() const { return isOk() ? Status() : std::get<Status>(state_); }

  private:
    std::variant<T, Status> state_;
};

}  // namespace jet
