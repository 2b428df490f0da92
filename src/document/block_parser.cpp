#include "block_parser.h"

#include "common/automation_error.h"
#include "common/paths.h"
#include "common/program.h"
#include "common/string_res.h"
#include "common/text.h"

namespace zephra::document {

using common::AutomationError;

int32_t DefaultBlockSyntaxMessage() {
  switch (common::CurrentProgram()) {
    case common::ProgramKind::Editor: return kBlockSyntaxEditor;
    case common::ProgramKind::Manager: return kBlockSyntaxManager;
    default: return kBlockSyntaxShell;
  }
}

BlockParser::BlockParser() : syntaxMessage_(DefaultBlockSyntaxMessage()) {}

BlockParser::BlockParser(int32_t syntaxErrorMessage) : syntaxMessage_(syntaxErrorMessage) {}

void BlockParser::OpenFile(const std::string& path, bool write) {
  if (write) {
    throw AutomationError(kBlockSyntaxError, "BlockParser.Open", common::GetMessage(kBlockOpenForWrite));
  }
  CloseFile();
  std::string bytes = common::ReadFileBytes(path, "BlockParser.Open");
  OpenText(std::move(bytes));
  path_ = path;
}

void BlockParser::OpenText(std::string bytes) {
  CloseFile();
  data_ = std::move(bytes);
  pos_ = data_.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  path_.clear();
  currentLine_ = 0;
  open_ = true;
}

void BlockParser::CloseFile() {
  if (!open_) return;
  open_ = false;
  data_.clear();
  data_.shrink_to_fit();
  pos_ = 0;
}

std::string_view BlockParser::NextRawLine() {
  const size_t start = pos_;
  size_t end = start;
  const size_t n = data_.size();
  while (end < n && data_[end] != '\r' && data_[end] != '\n') ++end;
  pos_ = end;
  // CR, CR LF and a lone LF each end one line.
  if (pos_ < n && data_[pos_] == '\r') {
    ++pos_;
    if (pos_ < n && data_[pos_] == '\n') ++pos_;
  } else if (pos_ < n && data_[pos_] == '\n') {
    ++pos_;
  }
  return std::string_view(data_).substr(start, end - start);
}

std::string BlockParser::ExpandTabs(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\t') c = ' ';
  }
  return out;
}

int BlockParser::GetToken() {
  if (!open_) return TokenEndFile;
  std::string_view line;
  while (line.empty()) {
    if (AtEnd()) return TokenEndFile;
    const std::string_view raw = NextRawLine();
    ++currentLine_;
    // Most lines are plain UTF-8 without tabs and are looked at where they lie; only lines that
    // need changing are copied into the line buffer.
    std::string_view text = raw;
    if (!common::IsValidUtf8(raw)) {
      lineBuffer_ = common::Cp1252ToUtf8(raw);
      text = lineBuffer_;
    }
    if (text.find('\t') != std::string_view::npos) {
      if (text.data() != lineBuffer_.data()) lineBuffer_.assign(text);
      for (char& c : lineBuffer_) {
        if (c == '\t') c = ' ';
      }
      text = lineBuffer_;
    }
    line = common::TrimSpaces(text);
    if (!line.empty() && line[0] == ';') line = std::string_view();
  }
  if (ParseKeyValue(line)) return TokenKeyValue;
  if (ParseEnd(line)) return TokenEndBlock;
  if (ParseBlock(line)) return TokenStartBlock;
  throw AutomationError(kBlockSyntaxError, "BlockParse.GetToken",
                        common::FormatMessage(syntaxMessage_, {common::Variant(std::to_string(currentLine_))}));
}

bool BlockParser::ParseKeyValue(std::string_view line) {
  line = common::TrimSpaces(line);
  const size_t eq = line.find('=');
  if (line.empty() || eq == std::string_view::npos) return false;
  key_.assign(common::TrimRightSpaces(line.substr(0, eq)));
  for (char& c : key_) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  value_.assign(common::TrimLeftSpaces(line.substr(eq + 1)));
  return true;
}

bool BlockParser::ParseEnd(std::string_view line) {
  line = common::TrimSpaces(line);
  return !line.empty() && common::EqualsNoCase(line, "END");
}

bool BlockParser::ParseBlock(std::string_view line) {
  line = common::TrimSpaces(line);
  if (line.empty()) return false;
  const size_t space = line.find(' ');
  const std::string_view head = space == std::string_view::npos ? line : line.substr(0, space);
  std::string_view rest = space == std::string_view::npos ? std::string_view() : common::TrimLeftSpaces(line.substr(space + 1));
  if (!common::EqualsNoCase(head, "BLOCK")) return false;
  blockType_.clear();
  blockName_.clear();
  if (rest.empty()) return true;
  const size_t typeEnd = rest.find(' ');
  if (typeEnd == std::string_view::npos) {
    blockType_ = common::ToUpperAscii(rest);
    return true;
  }
  blockType_ = common::ToUpperAscii(rest.substr(0, typeEnd));
  const std::string_view remainder = common::TrimLeftSpaces(rest.substr(typeEnd + 1));
  if (!remainder.empty()) {
    const size_t nameEnd = remainder.find(' ');
    blockName_ = std::string(nameEnd == std::string_view::npos ? remainder : remainder.substr(0, nameEnd));
  }
  return true;
}

}  // namespace zephra::document
