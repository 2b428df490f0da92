#include "pending_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <utility>

#include "common/automation_error.h"
#include "common/paths.h"

namespace zephra::editor {

PendingFile::PendingFile(std::string target, std::string source)
    : target_(std::move(target)), source_(std::move(source)) {
  // Built by hand: the temporary name must keep its leading dot and the target's name exactly.
  const std::string prefix = common::ParentDirectory(target_) + "." + common::FileNameOf(target_) + ".tmp";
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = prefix + std::to_string(rd() % 1000000);
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      temporary_ = candidate;
      return;
    }
    if (errno != EEXIST) break;
  }
  common::RaiseFileError(errno, target_, source_);
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : target_(std::move(other.target_)),
      source_(std::move(other.source_)),
      temporary_(std::exchange(other.temporary_, {})),
      fd_(std::exchange(other.fd_, -1)),
      written_(other.written_) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    source_ = std::move(other.source_);
    temporary_ = std::exchange(other.temporary_, {});
    fd_ = std::exchange(other.fd_, -1);
    written_ = other.written_;
  }
  return *this;
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::Fail(int errnoValue) {
  Discard();
  common::RaiseFileError(errnoValue, target_, source_);
}

void PendingFile::Write(const char* data, size_t size) {
  if (fd_ < 0) Fail(EBADF);
  size_t done = 0;
  while (done < size) {
    const ssize_t w = ::write(fd_, data + done, size - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    done += static_cast<size_t>(w);
  }
  written_ += size;
}

void PendingFile::Finish() {
  if (fd_ < 0) return;
  const int fd = std::exchange(fd_, -1);
  if (::fsync(fd) != 0) {
    const int e = errno;
    ::close(fd);
    Fail(e);
  }
  if (::close(fd) != 0) Fail(errno);
}

void PendingFile::Commit() {
  if (temporary_.empty()) Fail(EBADF);
  Finish();
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  temporary_.clear();
}

void PendingFile::Discard() noexcept {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  if (!temporary_.empty()) ::unlink(std::exchange(temporary_, {}).c_str());
}

}  // namespace zephra::editor
