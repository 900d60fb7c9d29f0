// Success-or-message results for the host library. Loading and driving a foreign plug-in
// fails in ordinary ways (missing file, wrong binary, refused instance); callers get the
// reason as one line of text instead of an exception.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace velmora::host {

// Outcome of an operation without a value: ok, or a one-line reason.
class Status {
 public:
  Status() = default;
  static Status Failure(std::string message) {
    Status status;
    status.error_ = message.empty() ? std::string("unknown error") : std::move(message);
    return status;
  }

  bool Ok() const { return error_.empty(); }
  explicit operator bool() const { return Ok(); }
  const std::string& Error() const { return error_; }

 private:
  std::string error_;
};

// A value, or the one-line reason why there is none.
template <typename T>
class Result {
 public:
  static Result Success(T value) {
    Result result;
    result.value_.emplace(std::move(value));
    return result;
  }
  static Result Failure(std::string message) {
    Result result;
    result.error_ = message.empty() ? std::string("unknown error") : std::move(message);
    return result;
  }

  bool Ok() const { return value_.has_value(); }
  explicit operator bool() const { return Ok(); }
  T& Value() { return *value_; }
  const T& Value() const { return *value_; }
  const std::string& Error() const { return error_; }

 private:
  std::optional<T> value_;
  std::string error_;
};

}  // namespace velmora::host
