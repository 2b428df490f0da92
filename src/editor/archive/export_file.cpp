#include "export_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>
#include <vector>

#include "archive_messages.h"
#include "common/automation_error.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/string_res.h"
#include "common/text.h"

namespace zephra::editor {

using common::AutomationError;
using common::Variant;

namespace {

void StoreLittle(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t LoadLittle(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
  return v;
}

[[noreturn]] void RaisePastEnd(int64_t wanted, int64_t at, int64_t size, const char* source) {
  throw AutomationError(common::err::InputPastEndOfFile, source,
                        common::FormatMessage(archive_msg::PastEnd, {Variant(std::to_string(wanted)),
                                                                     Variant(std::to_string(at)),
                                                                     Variant(std::to_string(size))}));
}

// Closes a descriptor on every path out of a copy.
struct FdGuard {
  int fd;
  ~FdGuard() {
    if (fd >= 0) ::close(fd);
  }
};

// Reads up to size bytes, fewer only at the end of the file.
size_t ReadFull(int fd, char* buffer, size_t size, const std::string& path, const char* source) {
  size_t done = 0;
  while (done < size) {
    const ssize_t r = ::read(fd, buffer + done, size - done);
    if (r < 0) {
      if (errno == EINTR) continue;
      common::RaiseFileError(errno, path, source);
    }
    if (r == 0) break;
    done += static_cast<size_t>(r);
  }
  return done;
}

}  // namespace

ExportFile::~ExportFile() { Reset(); }

void ExportFile::Reset() {
  output_.Discard();
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  reading_ = false;
  writing_ = false;
  position_ = 0;
  size_ = 0;
}

void ExportFile::OpenForWrite(const std::string& archivePath, const std::string& name, const std::string& comment) {
  if (IsOpen()) {
    throw AutomationError(archive_error::AlreadyOpen, kWriteSource,
                          common::FormatMessage(archive_msg::AlreadyOpen, {Variant(archivePath)}));
  }
  output_ = PendingFile(archivePath, kWriteSource);
  path_ = archivePath;
  name_ = name;
  timestamp_ = common::FormatDateTime(common::Now());
  comment_ = comment;
  writing_ = true;
  position_ = 0;
  try {
    Put(kMagic.data(), kMagic.size());
    WriteString(name_);
    WriteString(timestamp_);
    WriteString(comment_);
  } catch (...) {
    Reset();
    throw;
  }
}

void ExportFile::OpenForRead(const std::string& archivePath) {
  if (IsOpen()) {
    throw AutomationError(archive_error::AlreadyOpen, kReadSource,
                          common::FormatMessage(archive_msg::AlreadyOpen, {Variant(archivePath)}));
  }
  const int fd = common::OpenRegularFileForRead(archivePath, kReadSource);
  struct stat st {};
  ::fstat(fd, &st);
  fd_ = fd;
  path_ = archivePath;
  name_.clear();
  timestamp_.clear();
  comment_.clear();
  reading_ = true;
  position_ = 0;
  size_ = st.st_size;
  try {
    char magic[kMagic.size()];
    if (size_ < static_cast<int64_t>(kMagic.size())) {
      throw AutomationError(archive_error::NotAnArchive, kReadSource,
                            common::FormatMessage(archive_msg::NotAnArchive, {Variant(archivePath)}));
    }
    Take(magic, sizeof magic);
    if (std::string_view(magic, sizeof magic) != kMagic) {
      throw AutomationError(archive_error::NotAnArchive, kReadSource,
                            common::FormatMessage(archive_msg::NotAnArchive, {Variant(archivePath)}));
    }
    name_ = ReadString();
    timestamp_ = ReadString();
    comment_ = ReadString();
  } catch (...) {
    Reset();
    throw;
  }
}

void ExportFile::FileClose() {
  if (writing_) {
    try {
      output_.Commit();
    } catch (...) {
      Reset();
      throw;
    }
  }
  Reset();
}

void ExportFile::CheckWriting() const {
  if (!writing_) {
    throw AutomationError(archive_error::WrongDirection, kWriteSource, common::GetMessage(archive_msg::NotForWriting));
  }
}

void ExportFile::CheckReading() const {
  if (!reading_) {
    throw AutomationError(archive_error::WrongDirection, kReadSource, common::GetMessage(archive_msg::NotForReading));
  }
}

void ExportFile::Put(const void* bytes, size_t size) {
  output_.Write(static_cast<const char*>(bytes), size);
  position_ += static_cast<int64_t>(size);
}

void ExportFile::Take(void* bytes, size_t size) {
  if (static_cast<int64_t>(size) > size_ - position_) RaisePastEnd(static_cast<int64_t>(size), position_, size_, kReadSource);
  const size_t got = ReadFull(fd_, static_cast<char*>(bytes), size, path_, kReadSource);
  // The archive may have shrunk since it was opened.
  if (got < size) RaisePastEnd(static_cast<int64_t>(size), position_, position_ + static_cast<int64_t>(got), kReadSource);
  position_ += static_cast<int64_t>(size);
}

void ExportFile::WriteLong(int32_t value) {
  CheckWriting();
  char b[4];
  StoreLittle(b, static_cast<uint32_t>(value));
  Put(b, sizeof b);
}

void ExportFile::WriteString(std::string_view value) {
  CheckWriting();
  if (value.size() > INT16_MAX) common::RaisePlatformError(common::err::Overflow, kWriteSource);
  const uint32_t n = static_cast<uint32_t>(value.size());
  const char b[2] = {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF)};
  Put(b, sizeof b);
  Put(value.data(), value.size());
}

void ExportFile::WriteFile(const std::string& path) {
  CheckWriting();
  const int fd = common::OpenRegularFileForRead(path, kWriteSource);
  FdGuard guard{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) common::RaiseFileError(errno, path, kWriteSource);
  if (st.st_size > INT32_MAX) {
    throw AutomationError(common::err::Overflow, kWriteSource,
                          common::FormatMessage(archive_msg::TooLarge, {Variant(path)}));
  }
  const int32_t length = static_cast<int32_t>(st.st_size);
  WriteLong(length);
  std::vector<char> buffer(kPieceSize);
  int64_t left = length;
  while (left > 0) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(left, kPieceSize));
    const size_t got = ReadFull(fd, buffer.data(), want, path, kWriteSource);
    // A file cut while it is copied would leave a block shorter than its count.
    if (got < want) RaisePastEnd(static_cast<int64_t>(want), length - left, length - left + static_cast<int64_t>(got), kWriteSource);
    Put(buffer.data(), got);
    left -= static_cast<int64_t>(got);
    if (observer_) observer_(got);
  }
}

int32_t ExportFile::ReadLong() {
  CheckReading();
  unsigned char b[4];
  Take(b, sizeof b);
  return static_cast<int32_t>(LoadLittle(b, 4));
}

std::string ExportFile::ReadString() {
  CheckReading();
  unsigned char b[2];
  Take(b, sizeof b);
  const int16_t n = static_cast<int16_t>(LoadLittle(b, 2));
  if (n <= 0) return {};
  std::string bytes(static_cast<size_t>(n), '\0');
  Take(bytes.data(), bytes.size());
  return common::DecodeText(bytes);
}

int32_t ExportFile::ReadBlockLength() {
  const int64_t at = position_;
  const int32_t length = ReadLong();
  if (length < 0) {
    throw AutomationError(archive_error::NotAnArchive, kReadSource,
                          common::FormatMessage(archive_msg::NegativeLength,
                                                {Variant(path_), Variant(std::to_string(at)), Variant(std::to_string(length))}));
  }
  // Checked before anything is created for the block.
  if (length > size_ - position_) RaisePastEnd(length, position_, size_, kReadSource);
  return length;
}

PendingFile ExportFile::ReadFilePending(const std::string& path) {
  CheckReading();
  const int32_t length = ReadBlockLength();
  try {
    common::MakeDirectories(common::ParentDirectory(path));
    if (common::DirectoryExists(path)) common::RaiseFileError(EISDIR, path, kReadSource);
    PendingFile file(path, kReadSource);
    std::vector<char> buffer(kPieceSize);
    int64_t left = length;
    while (left > 0) {
      const size_t piece = static_cast<size_t>(std::min<int64_t>(left, kPieceSize));
      Take(buffer.data(), piece);
      file.Write(buffer.data(), piece);
      left -= static_cast<int64_t>(piece);
      if (observer_) observer_(piece);
    }
    file.Finish();
    return file;
  } catch (const AutomationError& e) {
    throw AutomationError(e.Number(), kReadSource, e.Description());
  }
}

void ExportFile::ReadFile(const std::string& path) {
  PendingFile file = ReadFilePending(path);
  try {
    file.Commit();
  } catch (const AutomationError& e) {
    throw AutomationError(e.Number(), kReadSource, e.Description());
  }
}

int32_t ExportFile::SkipFile() {
  CheckReading();
  const int32_t length = ReadBlockLength();
  if (::lseek(fd_, length, SEEK_CUR) < 0) common::RaiseFileError(errno, path_, kReadSource);
  position_ += length;
  return length;
}

}  // namespace zephra::editor
