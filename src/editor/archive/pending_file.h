#pragma once
// A file written beside its target under a temporary name and put in place by a rename, so
// the target is never seen half written: an archive being exported, a file being restored.

#include <cstddef>
#include <string>

namespace zephra::editor {

class PendingFile {
 public:
  PendingFile() = default;
  // Creates the temporary file in the target's folder; errors are the platform's file errors
  // with the given source.
  PendingFile(std::string target, std::string source);
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  // A file neither committed nor discarded is discarded.
  ~PendingFile();

  bool IsActive() const { return !temporary_.empty(); }
  const std::string& Target() const { return target_; }
  const std::string& TemporaryPath() const { return temporary_; }
  size_t BytesWritten() const { return written_; }

  void Write(const char* data, size_t size);
  // Flushes the bytes to the disk and closes the temporary file (Commit does it too).
  void Finish();
  // Renames the finished file over the target.
  void Commit();
  // Removes the temporary file; the target stays as it was.
  void Discard() noexcept;

 private:
  [[noreturn]] void Fail(int errnoValue);

  std::string target_;
  std::string source_;
  std::string temporary_;
  int fd_ = -1;
  size_t written_ = 0;
};

}  // namespace zephra::editor
