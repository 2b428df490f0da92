#pragma once
// Reader and writer of the primitive items of the binary slide-show form: little-endian
// integers and floats, Booleans as 16-bit 0 / -1, strings with a 16-bit byte count, tagged
// variants. A file is read into memory whole and every read is checked against its end, so a
// cut or corrupt file fails with error 62 or a structure error instead of reading garbage.
// Output is collected in memory and put in place only by FileClose, through a temporary file
// renamed over the target, so a failed save never destroys the file it replaces.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/automation_error.h"
#include "common/variant.h"
#include "message_profile.h"

namespace zephra::document {

class BinaryStream {
 public:
  static constexpr std::string_view kMagic = "ZEPFILE";

  // Smallest sizes of the records, used to refuse counts the rest of a file cannot hold.
  static constexpr int32_t kMinSlideRecord = 24;
  static constexpr int32_t kMinIconRecord = 52;
  static constexpr int32_t kMinValueRecord = 62;
  static constexpr int32_t kMinValueRecordV1 = 94;

  explicit BinaryStream(const MessageProfile& profile = MessageProfile::Current());
  ~BinaryStream();
  BinaryStream(const BinaryStream&) = delete;
  BinaryStream& operator=(const BinaryStream&) = delete;

  // Writing: prepares the file and writes the magic; true. Reading: reads the file and tells
  // whether it starts with the magic. A file that cannot be opened is reported in a message box
  // ("Error at SOURCE"); the result is false and later writes raise that same error.
  bool OpenFile(const std::string& path, bool bWrite);
  // Reading from bytes held in memory; true when they start with the magic.
  bool OpenBytes(std::string bytes);
  // Writing into memory (Bytes() gives the result); writes the magic.
  void OpenMemory();
  // Reading: closes. Writing to a file: puts the written bytes in place (raises the platform's
  // file error when that fails). Closing a closed stream does nothing.
  void FileClose();

  bool IsOpenForReading() const { return reading_; }
  bool IsOpenForWriting() const { return writing_; }
  // The bytes written so far (memory or file output), or the bytes read.
  const std::string& Bytes() const { return data_; }
  // Hands over the bytes of a file opened for reading (for the text reader when the magic did
  // not match) and closes the stream.
  std::string TakeBytes();
  bool HasBytes() const { return haveBytes_; }
  size_t Position() const { return pos_; }
  size_t Size() const { return data_.size(); }

  void WriteString(std::string_view value);
  void WriteInteger(int16_t value);
  void WriteLong(int32_t value);
  void WriteSingle(float value);
  void WriteDouble(double value);
  void WriteBoolean(bool value);
  void WriteVariant(const common::Variant& value);

  void GetString(std::string& value);
  void GetInteger(int16_t& value);
  void GetLong(int32_t& value);
  void GetSingle(float& value);
  void GetDouble(double& value);
  void GetBoolean(bool& value);
  void GetVariant(common::Variant& value);

  // Reads a record count and checks that so many records of at least minRecordBytes each can
  // still follow; otherwise error 1001 naming the offset, the count and the kind (a message
  // number: slide, icon, value).
  int32_t GetCount(int32_t minRecordBytes, int32_t kindMessage);

 private:
  const char* Need(size_t bytes);
  void Put(const void* bytes, size_t n);
  void CheckWritable();

  const MessageProfile* profile_;
  std::string path_;
  std::string data_;
  size_t pos_ = 0;
  bool reading_ = false;
  bool writing_ = false;
  bool toFile_ = false;
  bool haveBytes_ = false;
  std::optional<common::AutomationError> openError_;
};

}  // namespace zephra::document
