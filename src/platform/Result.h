#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <variant>

namespace scourix {

// A failure as the system reports it: its number (errno where there is one) and its
// description text, which the procedures show to the user unchanged.
struct Error {
    int code = 0;
    std::string description;
};

// The failure an errno value stands for, with the C library's description, for the rare
// failure that the program finds itself rather than hears from the system.
inline Error errorOf(int code) {
    return Error{code, std::generic_category().message(code)};
}

// A value or the failure that prevented it. The platform layer returns these; it never
// shows a failure itself.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(v_); }
    T& value() & { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

// Success, or the failure of an operation that has no value.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : e_(std::move(error)) {}
    static Status success() { return {}; }

    bool ok() const { return !e_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *e_; }

private:
    std::optional<Error> e_;
};

}  // namespace scourix
