#pragma once
// The reader of the suite's block format: BLOCK lines with a type and a name word, END lines,
// KEY=VALUE lines, ";" comments, blank lines. It turns a file into tokens and leaves their
// meaning to the caller.

#include <cstdint>
#include <string>
#include <string_view>

namespace zephra::document {

// Syntax-error messages of the programs; each takes the line number.
inline constexpr int32_t kBlockSyntaxShell = 30045;
inline constexpr int32_t kBlockSyntaxEditor = 31045;
inline constexpr int32_t kBlockSyntaxManager = 32013;
inline constexpr int32_t kBlockOpenForWrite = 33055;
inline constexpr int32_t kBlockSyntaxError = 5000;

// The syntax-error message of the current program.
int32_t DefaultBlockSyntaxMessage();

class BlockParser {
 public:
  static constexpr int TokenStartBlock = 0;
  static constexpr int TokenEndBlock = 1;
  static constexpr int TokenKeyValue = 2;
  static constexpr int TokenEndFile = 3;

  BlockParser();
  explicit BlockParser(int32_t syntaxErrorMessage);
  ~BlockParser() = default;

  // Opens a file for reading; write must be false. Raises the platform's file error when the
  // file cannot be read.
  void OpenFile(const std::string& path, bool write = false);
  // Reads from text held in memory, as if it were a file's bytes.
  void OpenText(std::string bytes);
  int GetToken();
  void CloseFile();
  bool IsOpen() const { return open_; }

  static std::string ExpandTabs(std::string_view text);
  bool ParseKeyValue(std::string_view line);
  bool ParseEnd(std::string_view line);
  bool ParseBlock(std::string_view line);

  const std::string& BlockName() const { return blockName_; }
  const std::string& BlockType() const { return blockType_; }
  int32_t CurrentLine() const { return currentLine_; }
  const std::string& Key() const { return key_; }
  const std::string& Value() const { return value_; }
  const std::string& FilePath() const { return path_; }

 private:
  bool AtEnd() const { return pos_ >= data_.size(); }
  std::string_view NextRawLine();

  int32_t syntaxMessage_;
  bool open_ = false;
  std::string path_;
  std::string data_;
  std::string lineBuffer_;  // a line that had to be decoded or had tabs
  size_t pos_ = 0;
  int32_t currentLine_ = 0;
  std::string blockType_;
  std::string blockName_;
  std::string key_;
  std::string value_;
};

}  // namespace zephra::document
