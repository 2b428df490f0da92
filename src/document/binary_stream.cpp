#include "binary_stream.h"

#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "common/paths.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "common/text.h"

namespace zephra::document {

using common::AutomationError;
using common::Variant;
using common::VarType;

namespace {

constexpr const char* kOpenSource = "BinaryStream.OpenFile";
constexpr const char* kReadSource = "BinaryStream";
constexpr const char* kWriteSource = "BinaryStream.WriteString";

uint64_t LoadLittle(const char* p, size_t n) {
  uint64_t v = 0;
  for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
  return v;
}

void StoreLittle(char* p, uint64_t v, size_t n) {
  for (size_t i = 0; i < n; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void ShowOpenFailure(const AutomationError& e, const std::string& path) {
  common::CurrentPrompts().ShowMessage(e.Description() + "\n" + path, common::mb::Information,
                                       "Error at " + e.Source());
}

// Fails the way opening the file for output would, before anything is written.
void CheckOutputPath(const std::string& path) {
  if (path.empty()) common::RaiseFileError(ENOENT, path, kOpenSource);
  if (common::DirectoryExists(path)) common::RaiseFileError(EISDIR, path, kOpenSource);
  const std::string parent = common::ParentDirectory(path);
  const std::string dir = parent.empty() ? std::string(".") : parent;
  if (!common::DirectoryExists(dir)) common::RaiseFileError(ENOTDIR, path, kOpenSource);
  if (::access(dir.c_str(), W_OK) != 0) common::RaiseFileError(errno, path, kOpenSource);
  if (common::FileExists(path) && ::access(path.c_str(), W_OK) != 0) common::RaiseFileError(errno, path, kOpenSource);
}

}  // namespace

BinaryStream::BinaryStream(const MessageProfile& profile) : profile_(&profile) {}

// Output that was never closed is dropped: a save that failed half-way leaves the old file.
BinaryStream::~BinaryStream() = default;

bool BinaryStream::OpenFile(const std::string& path, bool bWrite) {
  FileClose();
  openError_.reset();
  path_ = path;
  if (bWrite) {
    try {
      CheckOutputPath(path);
    } catch (const AutomationError& e) {
      ShowOpenFailure(e, path);
      openError_ = e;
      return false;
    }
    data_.clear();
    pos_ = 0;
    writing_ = true;
    toFile_ = true;
    Put(kMagic.data(), kMagic.size());
    return true;
  }
  std::string bytes;
  try {
    bytes = common::ReadFileBytes(path, kOpenSource);
  } catch (const AutomationError& e) {
    ShowOpenFailure(e, path);
    openError_ = e;
    return false;
  }
  return OpenBytes(std::move(bytes));
}

bool BinaryStream::OpenBytes(std::string bytes) {
  if (writing_ || reading_) FileClose();
  data_ = std::move(bytes);
  haveBytes_ = true;
  reading_ = true;
  pos_ = 0;
  if (data_.size() < kMagic.size() || std::string_view(data_).substr(0, kMagic.size()) != kMagic) return false;
  pos_ = kMagic.size();
  return true;
}

void BinaryStream::OpenMemory() {
  FileClose();
  openError_.reset();
  data_.clear();
  pos_ = 0;
  writing_ = true;
  toFile_ = false;
  Put(kMagic.data(), kMagic.size());
}

void BinaryStream::FileClose() {
  if (writing_) {
    writing_ = false;
    if (toFile_) {
      toFile_ = false;
      common::WriteFileAtomically(path_, data_);
    }
    return;
  }
  if (reading_) {
    reading_ = false;
    haveBytes_ = false;
    data_.clear();
    data_.shrink_to_fit();
    pos_ = 0;
  }
}

std::string BinaryStream::TakeBytes() {
  std::string out = std::move(data_);
  data_.clear();
  reading_ = false;
  haveBytes_ = false;
  pos_ = 0;
  return out;
}

void BinaryStream::CheckWritable() {
  if (writing_) return;
  if (openError_) throw *openError_;
  common::RaisePlatformError(common::err::BadFileName, kReadSource);
}

void BinaryStream::Put(const void* bytes, size_t n) {
  CheckWritable();
  data_.append(static_cast<const char*>(bytes), n);
}

const char* BinaryStream::Need(size_t bytes) {
  if (!reading_) {
    if (openError_) throw *openError_;
    common::RaisePlatformError(common::err::BadFileName, kReadSource);
  }
  if (bytes > data_.size() - pos_) {
    throw AutomationError(common::err::InputPastEndOfFile, kReadSource,
                          common::FormatMessage(profile_->pastEnd, {Variant(std::to_string(bytes)),
                                                                    Variant(std::to_string(pos_)),
                                                                    Variant(std::to_string(data_.size()))}));
  }
  const char* p = data_.data() + pos_;
  pos_ += bytes;
  return p;
}

void BinaryStream::WriteString(std::string_view value) {
  // The length prefix is a 16-bit integer; a longer text cannot be stored.
  if (value.size() > 32767) common::RaisePlatformError(common::err::Overflow, kWriteSource);
  WriteInteger(static_cast<int16_t>(value.size()));
  Put(value.data(), value.size());
}

void BinaryStream::WriteInteger(int16_t value) {
  char b[2];
  StoreLittle(b, static_cast<uint16_t>(value), 2);
  Put(b, 2);
}

void BinaryStream::WriteLong(int32_t value) {
  char b[4];
  StoreLittle(b, static_cast<uint32_t>(value), 4);
  Put(b, 4);
}

void BinaryStream::WriteSingle(float value) {
  char b[4];
  StoreLittle(b, std::bit_cast<uint32_t>(value), 4);
  Put(b, 4);
}

void BinaryStream::WriteDouble(double value) {
  char b[8];
  StoreLittle(b, std::bit_cast<uint64_t>(value), 8);
  Put(b, 8);
}

void BinaryStream::WriteBoolean(bool value) { WriteInteger(value ? -1 : 0); }

void BinaryStream::WriteVariant(const Variant& value) {
  const VarType type = value.Type();
  WriteInteger(static_cast<int16_t>(static_cast<uint16_t>(type)));
  switch (type) {
    case VarType::Integer: WriteInteger(value.ToInt()); break;
    case VarType::Long: WriteLong(value.ToLong()); break;
    case VarType::Single: WriteSingle(value.ToSingle()); break;
    case VarType::Double: WriteDouble(value.ToDouble()); break;
    case VarType::String: WriteString(value.ToString()); break;
    case VarType::Boolean: WriteBoolean(value.ToBool()); break;
    default: break;  // empty and null carry nothing; other kinds are not stored
  }
}

void BinaryStream::GetString(std::string& value) {
  int16_t n = 0;
  GetInteger(n);
  if (n <= 0) {
    value.clear();
    return;
  }
  const char* p = Need(static_cast<size_t>(n));
  value = common::DecodeText(std::string_view(p, static_cast<size_t>(n)));
}

void BinaryStream::GetInteger(int16_t& value) {
  value = static_cast<int16_t>(static_cast<uint16_t>(LoadLittle(Need(2), 2)));
}

void BinaryStream::GetLong(int32_t& value) {
  value = static_cast<int32_t>(static_cast<uint32_t>(LoadLittle(Need(4), 4)));
}

void BinaryStream::GetSingle(float& value) {
  value = std::bit_cast<float>(static_cast<uint32_t>(LoadLittle(Need(4), 4)));
}

void BinaryStream::GetDouble(double& value) { value = std::bit_cast<double>(LoadLittle(Need(8), 8)); }

void BinaryStream::GetBoolean(bool& value) {
  int16_t v = 0;
  GetInteger(v);
  value = v != 0;
}

void BinaryStream::GetVariant(Variant& value) {
  int16_t tag = 0;
  GetInteger(tag);
  switch (tag) {
    case 0: value = Variant(); break;
    case 1: value = Variant::Null(); break;
    case 2: {
      int16_t v = 0;
      GetInteger(v);
      value = Variant(v);
      break;
    }
    case 3: {
      int32_t v = 0;
      GetLong(v);
      value = Variant(v);
      break;
    }
    case 4: {
      float v = 0;
      GetSingle(v);
      value = Variant(v);
      break;
    }
    case 5: {
      double v = 0;
      GetDouble(v);
      value = Variant(v);
      break;
    }
    case 8: {
      std::string v;
      GetString(v);
      value = Variant(std::move(v));
      break;
    }
    case 11: {
      bool v = false;
      GetBoolean(v);
      value = Variant(v);
      break;
    }
    default: value = Variant(int32_t{10}); break;
  }
}

int32_t BinaryStream::GetCount(int32_t minRecordBytes, int32_t kindMessage) {
  const size_t at = pos_;
  int32_t n = 0;
  GetLong(n);
  const size_t left = data_.size() - pos_;
  if (n < 0 || static_cast<uint64_t>(n) * static_cast<uint64_t>(minRecordBytes) > left) {
    throw AutomationError(kStructureError, common::GetMessage(profile_->showSource),
                          common::FormatMessage(profile_->binaryStructure,
                                                {Variant(std::to_string(at)), Variant(std::to_string(n)),
                                                 Variant(common::GetMessage(kindMessage)),
                                                 Variant(std::to_string(left))}));
  }
  return n;
}

}  // namespace zephra::document
