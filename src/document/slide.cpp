#include "slide.h"

#include <algorithm>

#include "binary_stream.h"
#include "common/automation_error.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "dimension_offer.h"
#include "file_list.h"

namespace zephra::document {

namespace {
constexpr const char* kPictureTitle = "Set Picture File";
}

Slide::Slide(const MessageProfile& profile) : profile_(&profile), icons_(profile) {}

bool Slide::SetPictureFile(const std::string& path) {
  if (!path.empty()) {
    if (path.size() < 3) {
      common::CurrentPrompts().ShowMessage("Invalid picture file specification", common::mb::Information, kPictureTitle);
      return false;
    }
    if (path[0] != '/') {
      common::CurrentPrompts().ShowMessage("A full path specification for a picture file is required.",
                                           common::mb::Information, kPictureTitle);
      return false;
    }
  }
  pictureFile_ = path;
  SetPicturePosition(kDefaultLeft, kDefaultTop, kDefaultWidth, kDefaultHeight);
  return true;
}

void Slide::GetPicturePosition(int16_t& l, int16_t& t, int16_t& w, int16_t& h) const {
  l = left_;
  t = top_;
  w = width_;
  h = height_;
}

void Slide::SetPicturePosition(int16_t l, int16_t t, int16_t w, int16_t h) {
  left_ = l;
  top_ = t;
  width_ = w;
  height_ = h;
}

bool Slide::IsDCmdUsed(const std::string& sDCmdName) const {
  return std::any_of(icons_.begin(), icons_.end(), [&](const auto& i) { return i->Name() == sDCmdName; });
}

void Slide::BuildFileList(FileList& oFileList) const { AddReferencedFile(oFileList, pictureFile_, "Slide"); }

void Slide::UpdateFileList(const FileList& oFileList) { pictureFile_ = RestoredName(oFileList, pictureFile_); }

void Slide::UpdateDigits(int16_t lDigits) {
  for (const auto& i : icons_) i->UpdateDigits(lDigits);
}

void Slide::UpdateReport(DimensionOffer& dimension) {
  for (const auto& i : icons_) i->UpdateReport(dimension);
}

void Slide::CalculateAverage() {
  for (const auto& i : icons_) i->CalculateAverage();
}

void Slide::InitializeSampleSet(int16_t nSampleSize) {
  for (const auto& i : icons_) i->InitializeSampleSet(nSampleSize);
}

void Slide::CollectSampleSet(Slide& oAvg, const std::string& sLogFilename) {
  for (const auto& avgIcon : oAvg.Icons()) {
    for (const auto& own : icons_) own->CollectSampleSet(*avgIcon, sLogFilename);
  }
}

void Slide::LoadFromFile(BlockParser& parser) {
  const MessageProfile& p = *profile_;
  const int32_t src = p.slideSource;
  while (true) {
    const int token = parser.GetToken();
    if (token == BlockParser::TokenEndBlock || token == BlockParser::TokenEndFile) return;
    if (token == BlockParser::TokenStartBlock) {
      if (parser.BlockType() != "ICON") RaiseBlockMismatch(parser, p, src, "ICON");
      icons_.AddFromFile(parser);
      continue;
    }
    const std::string& key = parser.Key();
    if (key == "NAME") {
      name_ = parser.Value();
    } else if (key == "GRAPHIC") {
      pictureFile_ = parser.Value();
    } else if (key == "ENABLED") {
      enabled_ = KeyBool(parser, p, src);
    } else if (key == "BACKCOLOR") {
      backColor_ = KeyLong(parser, p, src);
    } else if (key == "LEFT") {
      left_ = KeyInt(parser, p, src);
    } else if (key == "TOP") {
      top_ = KeyInt(parser, p, src);
    } else if (key == "WIDTH") {
      width_ = KeyInt(parser, p, src);
    } else if (key == "HEIGHT") {
      height_ = KeyInt(parser, p, src);
    } else if (key == "HELPTOPIC") {
      helpTopic_ = KeyInt(parser, p, src);
    } else if (key == "KEY") {
      // Accepted and ignored: older files carry it.
    } else {
      ReportUnknownKey(p, "Slide", key, src);
    }
  }
}

void Slide::SaveToFile(std::string& out) {
  WritePlainLine(out, 1, "BLOCK Slide");
  WriteKeyLine(out, 2, "NAME", name_);
  WriteKeyLine(out, 2, "ENABLED", enabled_);
  WriteKeyLine(out, 2, "GRAPHIC", pictureFile_);
  WriteKeyLine(out, 2, "BACKCOLOR", backColor_);
  WriteKeyLine(out, 2, "LEFT", int32_t{left_});
  WriteKeyLine(out, 2, "TOP", int32_t{top_});
  WriteKeyLine(out, 2, "WIDTH", int32_t{width_});
  WriteKeyLine(out, 2, "HEIGHT", int32_t{height_});
  WriteKeyLine(out, 2, "HELPTOPIC", int32_t{helpTopic_});
  for (const auto& i : icons_) i->SaveToFile(out);
  WritePlainLine(out, 1, "END");
}

void Slide::LoadFromBinary(BinaryStream& s, int16_t nFormatControl) {
  s.GetString(name_);
  s.GetBoolean(enabled_);
  s.GetString(pictureFile_);
  s.GetLong(backColor_);
  s.GetInteger(left_);
  s.GetInteger(top_);
  s.GetInteger(width_);
  s.GetInteger(height_);
  s.GetInteger(helpTopic_);
  icons_.AddFromBinary(s, nFormatControl);
}

void Slide::SaveToBinary(BinaryStream& s) {
  s.WriteString(name_);
  s.WriteBoolean(enabled_);
  s.WriteString(pictureFile_);
  s.WriteLong(backColor_);
  s.WriteInteger(left_);
  s.WriteInteger(top_);
  s.WriteInteger(width_);
  s.WriteInteger(height_);
  s.WriteInteger(helpTopic_);
  icons_.SaveToBinary(s);
}

const std::shared_ptr<Slide>& SlideCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "SlideCollection.Item");
  return items_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<Slide> SlideCollection::NewSlide() const {
  auto s = std::make_shared<Slide>(*profile_);
  s->SetName(common::GetMessage(profile_->newSlideName));
  return s;
}

std::shared_ptr<Slide> SlideCollection::Add() {
  items_.push_back(NewSlide());
  return items_.back();
}

std::shared_ptr<Slide> SlideCollection::Add(int32_t vInsertAfter) {
  if (vInsertAfter < 0 || vInsertAfter > Count()) {
    common::RaisePlatformError(common::err::SubscriptOutOfRange, "SlideCollection.Add");
  }
  auto s = NewSlide();
  items_.insert(items_.begin() + vInsertAfter, s);
  return s;
}

std::shared_ptr<Slide> SlideCollection::Insert() { return Add(); }

std::shared_ptr<Slide> SlideCollection::Insert(int32_t vInsertBefore) {
  if (vInsertBefore < 1 || vInsertBefore > Count() + 1) {
    common::RaisePlatformError(common::err::SubscriptOutOfRange, "SlideCollection.Insert");
  }
  auto s = NewSlide();
  items_.insert(items_.begin() + (vInsertBefore - 1), s);
  return s;
}

void SlideCollection::Remove(int32_t index) {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "SlideCollection.Remove");
  items_.erase(items_.begin() + (index - 1));
}

int32_t SlideCollection::Move(int32_t from, int32_t to, const char* source) {
  try {
    // Both positions are checked before anything moves, so a refused move loses no slide.
    if (from < 1 || from > Count() || to < 1 || to > Count()) {
      common::RaisePlatformError(common::err::SubscriptOutOfRange, source);
    }
    std::swap(items_[static_cast<size_t>(from - 1)], items_[static_cast<size_t>(to - 1)]);
    return to;
  } catch (const common::AutomationError& e) {
    common::CurrentPrompts().ShowMessage(std::to_string(e.Number()) + ": " + e.Description(),
                                         common::mb::Exclamation, "Error at " + e.Source());
    return 0;
  }
}

int32_t SlideCollection::MoveDown(int32_t lMoveAfter) {
  return Move(lMoveAfter, lMoveAfter + 1, "SlideCollection.MoveDown");
}

int32_t SlideCollection::MoveUp(int32_t lMoveBefore) {
  return Move(lMoveBefore, lMoveBefore - 1, "SlideCollection.MoveUp");
}

bool SlideCollection::IsOutOfTolerance(int32_t lIndex) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (static_cast<int32_t>(i + 1) != lIndex && items_[i]->IsOutOfTolerance()) return true;
  }
  return false;
}

int32_t SlideCollection::WorstTolerance() const {
  int32_t worst = tolerance::Empty;
  for (const auto& s : items_) worst = std::max(worst, s->WorstTolerance());
  return FoldTolerance(worst);
}

void SlideCollection::AddFromFile(BlockParser& parser) {
  auto s = std::make_shared<Slide>(*profile_);
  s->LoadFromFile(parser);
  items_.push_back(std::move(s));
}

void SlideCollection::AddFromBinary(BinaryStream& stream, int16_t nFormatControl) {
  const int32_t n = stream.GetCount(BinaryStream::kMinSlideRecord, profile_->slideSource);
  for (int32_t i = 0; i < n; ++i) {
    auto s = std::make_shared<Slide>(*profile_);
    s->LoadFromBinary(stream, nFormatControl);
    items_.push_back(std::move(s));
  }
}

void SlideCollection::SaveToBinary(BinaryStream& stream) {
  stream.WriteLong(Count());
  for (const auto& s : items_) s->SaveToBinary(stream);
}

}  // namespace zephra::document
