#pragma once
// The export archive: one file that holds a slide-show file and every file the show refers
// to, so they can be restored later, here or on another machine, to the paths recorded in it.
//
// Layout, all integers little-endian: the 8 bytes "VRXEXPRT"; three strings (a 16-bit signed
// byte count, then the UTF-8 bytes; a count of 0 or less is the empty string): the slide-show
// file's full path, the export time, the comment; the slide-show file as a file block (a 32-bit
// signed byte count, then the bytes); a 32-bit count of referenced files; for each its path as
// referenced (a string) and its bytes (a file block). Bytes after the last block are ignored.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "pending_file.h"

namespace zephra::editor {

class ExportFile {
 public:
  static constexpr std::string_view kMagic = "VRXEXPRT";
  // File blocks are copied through a buffer of this size; only a file's last piece is smaller.
  static constexpr size_t kPieceSize = 16384;
  static constexpr const char* kWriteSource = "Export.Write";
  static constexpr const char* kReadSource = "Export.Read";

  // Told the size of every piece of a file block as it is copied (a progress display's hook).
  using PieceObserver = std::function<void(size_t pieceBytes)>;

  ExportFile() = default;
  // An archive still open for writing is dropped (the file at its path stays as it was): an
  // archive that was not closed is incomplete. One open for reading is closed.
  ~ExportFile();
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  // Starts a new archive at archivePath (put in place by FileClose) and writes the header:
  // the magic, name, the current date and time, comment. Error 1003 when already open.
  void OpenForWrite(const std::string& archivePath, const std::string& name, const std::string& comment);
  // Opens an archive and reads its header. Error 1003 when already open, 1005 when the file does
  // not start with the magic.
  void OpenForRead(const std::string& archivePath);
  // Reading: closes. Writing: puts the complete archive in place of any file at its path.
  // Nothing when closed.
  void FileClose();

  bool IsOpen() const { return reading_ || writing_; }
  bool IsOpenForReading() const { return reading_; }
  bool IsOpenForWriting() const { return writing_; }
  const std::string& Path() const { return path_; }
  const std::string& Name() const { return name_; }
  const std::string& Timestamp() const { return timestamp_; }
  const std::string& Comment() const { return comment_; }
  // Bytes read or written so far, and the size of an archive open for reading.
  int64_t Position() const { return position_; }
  int64_t Size() const { return size_; }

  void SetPieceObserver(PieceObserver observer) { observer_ = std::move(observer); }

  // Error 1004 unless open for writing. A text over 32767 bytes is error 6.
  void WriteLong(int32_t value);
  void WriteString(std::string_view value);
  // A file block with the file's bytes, copied in pieces. Errors reading the file are raised
  // again with the source "Export.Write".
  void WriteFile(const std::string& path);

  // Error 1004 unless open for reading. Every item is checked against the end of the archive:
  // a cut archive is error 62, naming the bytes wanted, where and the archive's size.
  int32_t ReadLong();
  std::string ReadString();
  // Restores the next file block to path: its folder is created with all missing parents and the
  // bytes replace any file there only once they are all written. Errors are raised again with the
  // source "Export.Read".
  void ReadFile(const std::string& path);
  // The same, left pending: the caller commits the file, or drops it to leave path untouched.
  PendingFile ReadFilePending(const std::string& path);
  // Passes over the next file block and returns its byte count.
  int32_t SkipFile();

 private:
  void CheckWriting() const;
  void CheckReading() const;
  void Put(const void* bytes, size_t size);
  void Take(void* bytes, size_t size);
  // Reads a file block's length and checks it against what the archive still holds.
  int32_t ReadBlockLength();
  void Reset();

  std::string path_;
  std::string name_;
  std::string timestamp_;
  std::string comment_;
  bool reading_ = false;
  bool writing_ = false;
  int fd_ = -1;             // archive being read
  PendingFile output_;      // archive being written
  int64_t position_ = 0;
  int64_t size_ = 0;
  PieceObserver observer_;
};

}  // namespace zephra::editor
