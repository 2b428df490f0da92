#include "automation_error.h"

#include <cerrno>

namespace zephra::common {

AutomationError::AutomationError(int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

std::string PlatformErrorText(int32_t number) {
  switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::OutOfMemory: return "Out of memory";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::BadFileName: return "Bad file name or number";
    case err::FileNotFound: return "File not found";
    case err::FileAlreadyOpen: return "File already open";
    case err::DeviceIoError: return "Device I/O error";
    case err::FileAlreadyExists: return "File already exists";
    case err::DiskFull: return "Disk full";
    case err::InputPastEndOfFile: return "Input past end of file";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccessError: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::ObjectVariableNotSet: return "Object variable not set";
    case err::InvalidUseOfNull: return "Invalid use of Null";
    case err::CannotCreateComponent: return "Cannot create component";
    case err::MemberNotSupported: return "Object doesn't support this property or method";
    case err::ArgumentNotOptional: return "Argument not optional";
    case err::DialogCancelled: return "Cancel was selected";
    default: return "Application-defined or object-defined error";
  }
}

void RaisePlatformError(int32_t number, const std::string& source) {
  throw AutomationError(number, source, PlatformErrorText(number));
}

int32_t FileErrorNumber(int errnoValue) {
  switch (errnoValue) {
    case ENOENT: return err::FileNotFound;
    case ENOTDIR: return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return err::PermissionDenied;
    case EEXIST: return err::FileAlreadyExists;
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    case ENAMETOOLONG: return err::BadFileName;
    case EISDIR: return err::PathFileAccessError;
    default: return err::DeviceIoError;
  }
}

void RaiseFileError(int errnoValue, const std::string& path, const std::string& source) {
  const int32_t number = FileErrorNumber(errnoValue);
  throw AutomationError(number, source, PlatformErrorText(number) + ": " + path);
}

}  // namespace zephra::common
