#pragma once
// Errors raised across the automation boundary: a number, the source that raised it and a
// description. Numbers of the platform keep their usual meaning.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zephra::common {

namespace err {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t BadFileName = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t DeviceIoError = 57;
inline constexpr int32_t FileAlreadyExists = 58;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t InputPastEndOfFile = 62;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectVariableNotSet = 91;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t CannotCreateComponent = 429;
inline constexpr int32_t MemberNotSupported = 438;
inline constexpr int32_t ArgumentNotOptional = 449;
inline constexpr int32_t DialogCancelled = 32755;
}  // namespace err

class AutomationError : public std::runtime_error {
 public:
  AutomationError(int32_t number, std::string source, std::string description);

  int32_t Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

// The platform's own English text for one of its error numbers ("Type mismatch").
std::string PlatformErrorText(int32_t number);

// Raises a platform error with the platform's text as description.
[[noreturn]] void RaisePlatformError(int32_t number, const std::string& source);

// Maps an errno value of a failed file operation to the platform's file error number.
int32_t FileErrorNumber(int errnoValue);

// Raises the platform's file error for errnoValue; the description names the path.
[[noreturn]] void RaiseFileError(int errnoValue, const std::string& path, const std::string& source);

}  // namespace zephra::common
