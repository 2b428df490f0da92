#pragma once
// Archives and slide shows made byte by byte, for the tests: archives the exporter would never
// write (bad paths, cut files), and small text shows naming pictures.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zephra::testing {

class ArchiveBytes {
 public:
  ArchiveBytes& Raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  ArchiveBytes& Integer(int16_t v) {
    for (int i = 0; i < 2; ++i) bytes_ += static_cast<char>((static_cast<uint16_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  ArchiveBytes& Long(int32_t v) {
    for (int i = 0; i < 4; ++i) bytes_ += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  ArchiveBytes& String(const std::string& s) { return Integer(static_cast<int16_t>(s.size())).Raw(s); }
  ArchiveBytes& Block(const std::string& bytes) { return Long(static_cast<int32_t>(bytes.size())).Raw(bytes); }
  const std::string& Bytes() const { return bytes_; }

  // A whole archive: header, the show's bytes, the files.
  static std::string Archive(const std::string& name, const std::string& show,
                             const std::vector<std::pair<std::string, std::string>>& files,
                             const std::string& comment = "", const std::string& timestamp = "2026-12-11 10:06:16") {
    ArchiveBytes a;
    a.Raw("VRXEXPRT").String(name).String(timestamp).String(comment).Block(show);
    a.Long(static_cast<int32_t>(files.size()));
    for (const auto& [path, bytes] : files) a.String(path).Block(bytes);
    return a.Bytes();
  }

 private:
  std::string bytes_;
};

// A text slide show with the help file and one slide per picture.
inline std::string ShowText(const std::string& helpFile, const std::vector<std::string>& pictures) {
  std::string out = "BLOCK SlideShow\r\n\tNAME=Archive test\r\n\tHELPFILE=" + helpFile + "\r\n";
  for (const std::string& p : pictures) out += "\tBLOCK Slide\r\n\t\tGRAPHIC=" + p + "\r\n\t\tLEFT=5\r\n\tEND\r\n";
  return out + "END\r\n";
}

}  // namespace zephra::testing
