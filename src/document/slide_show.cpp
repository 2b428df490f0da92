#include "slide_show.h"

#include <filesystem>

#include "binary_stream.h"
#include "common/automation_error.h"
#include "common/paths.h"
#include "common/text.h"
#include "dimension_offer.h"
#include "document_io.h"
#include "file_list.h"

namespace zephra::document {

using common::Variant;

SlideShow::SlideShow(const MessageProfile& profile) : profile_(&profile), slides_(profile) { initialized_ = true; }

int16_t SlideShow::ActiveHelpTopic() const {
  if (position_ >= 1 && position_ <= slides_.Count()) {
    const int16_t topic = slides_.Item(position_)->HelpTopic();
    if (topic > 0) return topic;
  }
  return helpTopic_ > 0 ? helpTopic_ : kDefaultHelpTopic;
}

void SlideShow::MoveNext() {
  if (position_ < slides_.Count() && position_ < INT16_MAX) ++position_;
}

void SlideShow::MovePrevious() {
  if (position_ > 1) --position_;
}

void SlideShow::MoveNextOutOfTol() {
  const int32_t count = slides_.Count();
  if (position_ != count) {
    for (int32_t i = position_ + 1; i <= count && i <= INT16_MAX; ++i) {
      if (slides_.Item(i)->IsOutOfTolerance()) {
        position_ = static_cast<int16_t>(i);
        return;
      }
    }
  }
  if (position_ == 1) return;
  for (int32_t i = 1; i < position_; ++i) {
    if (slides_.Item(i)->IsOutOfTolerance()) {
      position_ = static_cast<int16_t>(i);
      return;
    }
  }
}

void SlideShow::LoadFromFile(const std::string& path) {
  binary_ = false;
  BinaryStream stream(*profile_);
  const bool isBinary = stream.OpenFile(path, false);
  if (!isBinary && !stream.HasBytes()) {
    // The file could not be read; the text reader raises the platform's file error.
    BlockParser parser(profile_->blockSyntax);
    parser.OpenFile(path);
    LoadText(parser);
  } else {
    Load(stream, isBinary);
  }
  ResolvePictures(path);
}

void SlideShow::LoadFromMemory(std::string bytes) {
  binary_ = false;
  BinaryStream stream(*profile_);
  const bool isBinary = stream.OpenBytes(std::move(bytes));
  Load(stream, isBinary);
}

void SlideShow::Load(BinaryStream& stream, bool isBinary) {
  if (isBinary) {
    LoadBinary(stream);
    stream.FileClose();
    binary_ = true;
    return;
  }
  BlockParser parser(profile_->blockSyntax);
  parser.OpenText(stream.TakeBytes());
  LoadText(parser);
}

void SlideShow::LoadText(BlockParser& parser) {
  const MessageProfile& p = *profile_;
  const int32_t src = p.showSource;
  const auto line = [&] { return Variant(std::to_string(parser.CurrentLine())); };
  if (parser.GetToken() != BlockParser::TokenStartBlock) RaiseStructureError(src, p.badStart, {line()});
  if (parser.BlockType() != "SLIDESHOW") RaiseBlockMismatch(parser, p, src, "SLIDESHOW");
  while (true) {
    const int token = parser.GetToken();
    if (token == BlockParser::TokenEndBlock || token == BlockParser::TokenEndFile) break;
    if (token == BlockParser::TokenStartBlock) {
      if (parser.BlockType() != "SLIDE") RaiseBlockMismatch(parser, p, src, "SLIDE");
      slides_.AddFromFile(parser);
      continue;
    }
    const std::string& key = parser.Key();
    if (key == "NAME") {
      name_ = parser.Value();
    } else if (key == "DESCRIPTION") {
      description_ = parser.Value();
    } else if (key == "CUSTOMER") {
      customer_ = parser.Value();
    } else if (key == "HELPFILE") {
      helpFile_ = parser.Value();
    } else if (key == "HELPTOPIC") {
      helpTopic_ = KeyInt(parser, p, src);
    } else {
      ReportUnknownKey(p, "SlideShow", key, src);
    }
  }
  if (parser.GetToken() != BlockParser::TokenEndFile) RaiseStructureError(src, p.trailingText, {line()});
  parser.CloseFile();
}

void SlideShow::LoadBinary(BinaryStream& s) {
  std::string header;
  s.GetString(header);
  int16_t version = 0;
  std::string name;
  if (header.compare(0, 3, "###") == 0) {
    const std::vector<std::string> fields = common::Split(header, '|');
    if (fields.size() > 1) {
      try {
        version = Variant(fields[1]).ToInt();
      } catch (const common::AutomationError&) {
        version = 0;
      }
    }
    s.GetString(name);
  }
  if (version == 0) {
    // Files of the first format start with the show's name; a header without a usable version
    // is read the same way (the string after it is dropped).
    name = header;
    header.clear();
  }
  binaryHeader_ = header;
  binaryVersion_ = version;
  name_ = name;
  s.GetString(description_);
  s.GetString(customer_);
  s.GetString(helpFile_);
  s.GetInteger(helpTopic_);
  slides_.AddFromBinary(s, version);
}

void SlideShow::ResolvePictures(const std::string& showPath) {
  std::string folder;
  for (const auto& slide : slides_) {
    const std::string& picture = slide->PictureFile();
    if (picture.empty() || picture[0] == '/') continue;
    if (folder.empty()) {
      std::error_code ec;
      const std::filesystem::path abs = std::filesystem::absolute(showPath, ec);
      folder = common::ParentDirectory(ec ? showPath : abs.string());
    }
    slide->SetPictureFileUnchecked(common::JoinPath(folder, picture));
  }
}

std::string SlideShow::ToText() {
  std::string out;
  WritePlainLine(out, 0, "BLOCK SlideShow");
  WriteKeyLine(out, 1, "NAME", name_);
  WriteKeyLine(out, 1, "DESCRIPTION", description_);
  WriteKeyLine(out, 1, "CUSTOMER", customer_);
  WriteKeyLine(out, 1, "HELPFILE", helpFile_);
  WriteKeyLine(out, 1, "HELPTOPIC", int32_t{helpTopic_});
  for (const auto& slide : slides_) slide->SaveToFile(out);
  WritePlainLine(out, 0, "END");
  return out;
}

void SlideShow::SaveToFile(const std::string& path) {
  common::WriteFileAtomically(path, ToText());
  binary_ = false;
}

void SlideShow::WriteBinary(BinaryStream& s) {
  s.WriteString(kBinaryHeader);
  s.WriteString(name_);
  s.WriteString(description_);
  s.WriteString(customer_);
  s.WriteString(helpFile_);
  s.WriteInteger(helpTopic_);
  slides_.SaveToBinary(s);
}

void SlideShow::SaveToBinary(const std::string& path) {
  BinaryStream s(*profile_);
  s.OpenFile(path, true);
  WriteBinary(s);
  s.FileClose();
  binary_ = true;
}

std::string SlideShow::ToBinaryBytes() {
  BinaryStream s(*profile_);
  s.OpenMemory();
  WriteBinary(s);
  std::string bytes = s.Bytes();
  s.FileClose();
  return bytes;
}

void SlideShow::UpdateDigits(int16_t lDigits) {
  for (const auto& s : slides_) s->UpdateDigits(lDigits);
}

void SlideShow::UpdateReport(std::shared_ptr<common::Dispatch> oDCmd) {
  DimensionOffer offer(std::move(oDCmd));
  UpdateReport(offer);
}

void SlideShow::UpdateReport(DimensionOffer& dimension) {
  for (const auto& s : slides_) s->UpdateReport(dimension);
}

void SlideShow::CalculateAverage() {
  for (const auto& s : slides_) s->CalculateAverage();
}

void SlideShow::InitializeSampleSet(int16_t nSampleSize) {
  for (const auto& s : slides_) s->InitializeSampleSet(nSampleSize);
}

void SlideShow::CollectSampleSet(SlideShow& oAvg, const std::string& sLogFilename) {
  for (const auto& avgSlide : oAvg.Slides()) {
    for (const auto& own : slides_) own->CollectSampleSet(*avgSlide, sLogFilename);
  }
}

bool SlideShow::IsDCmdUsed(const std::string& sDCmdName) const {
  for (const auto& s : slides_) {
    if (s->IsDCmdUsed(sDCmdName)) return true;
  }
  return false;
}

void SlideShow::BuildFileList(FileList& oFileList) const {
  AddReferencedFile(oFileList, helpFile_, "SlideShow");
  for (const auto& s : slides_) s->BuildFileList(oFileList);
}

void SlideShow::UpdateFileList(const FileList& oFileList) {
  helpFile_ = RestoredName(oFileList, helpFile_);
  for (const auto& s : slides_) s->UpdateFileList(oFileList);
}

}  // namespace zephra::document
