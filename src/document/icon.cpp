#include "icon.h"

#include <algorithm>

#include "binary_stream.h"
#include "common/automation_error.h"
#include "common/text.h"
#include "dimension_offer.h"
#include "document_io.h"

namespace zephra::document {

Icon::Icon(const MessageProfile& profile)
    : profile_(&profile), format_(std::make_shared<CIconFormat>()), values_(profile) {}

void Icon::SetFeatureName(const std::string& v) {
  featureName_ = common::ToUpperAscii(v);
  name_ = v;
  ++version_;
}

void Icon::SetDimensionType(int32_t v) {
  if (v >= 1 && v <= 19) dimensionType_ = v;
}

void Icon::SetDisplayDigits(int16_t v) {
  UpdateDigits(v);
  format_->SetDisplayDigits(v);
}

void Icon::UpdateDigits(int16_t lDigits) {
  for (const auto& v : values_) v->UpdateDigits(lDigits);
}

void Icon::UpdateReport(std::shared_ptr<common::Dispatch> oDCmd) {
  DimensionOffer offer(std::move(oDCmd));
  UpdateReport(offer);
}

void Icon::UpdateReport(DimensionOffer& dimension) {
  bool lastTook = false;
  for (const auto& v : values_) {
    v->UpdateDigits(format_->DisplayDigits());
    lastTook = v->UpdateReport(dimension, featureName_);
  }
  if (lastTook) ++version_;
}

void Icon::CalculateAverage() {
  for (const auto& v : values_) {
    v->UpdateDigits(format_->DisplayDigits());
    v->CalculateAverage();
  }
}

void Icon::CollectSampleSet(Icon& oAvg, const std::string& sLogFilename) {
  if (oAvg.Name() != name_) return;
  for (const auto& avgValue : oAvg.Values()) {
    for (const auto& own : values_) {
      own->UpdateDigits(format_->DisplayDigits());
      own->CollectSampleSet(*avgValue, sLogFilename);
    }
  }
}

void Icon::InitializeSampleSet(int16_t nSampleSize) {
  for (const auto& v : values_) v->InitializeSampleSet(nSampleSize);
}

void Icon::Copy(Icon& target) const {
  if (&target == this) return;
  target.SetDimensionType(dimensionType_);
  target.SetFeatureName(featureName_);
  target.SetName(name_);
  target.IconFormat()->Copy(*format_, false);
  values_.Copy(target.Values());
}

void Icon::LoadFromFile(BlockParser& parser) {
  const MessageProfile& p = *profile_;
  const int32_t src = p.iconSource;
  CIconFormat& f = *format_;
  while (true) {
    const int token = parser.GetToken();
    if (token == BlockParser::TokenEndBlock || token == BlockParser::TokenEndFile) break;
    if (token == BlockParser::TokenStartBlock) {
      if (parser.BlockType() != "VALUE") RaiseBlockMismatch(parser, p, src, "VALUE");
      values_.AddFromFile(parser);
      continue;
    }
    const std::string& key = parser.Key();
    if (key == "FEATURENAME") {
      SetFeatureName(parser.Value());
    } else if (key == "DIMENSIONTYPE") {
      dimensionType_ = KeyLong(parser, p, src);
    } else if (key == "LEFT") {
      f.SetLeft(KeyLong(parser, p, src));
    } else if (key == "TOP") {
      f.SetTop(KeyLong(parser, p, src));
    } else if (key == "DRAWLEADER") {
      f.SetDrawTagLine(KeyBool(parser, p, src));
    } else if (key == "LEADERCOLOR") {
      f.SetLeaderColor(KeyLong(parser, p, src));
    } else if (key == "LEADERX") {
      f.SetLeaderX(KeyLong(parser, p, src));
    } else if (key == "LEADERY") {
      f.SetLeaderY(KeyLong(parser, p, src));
    } else if (key == "BENDPOINT") {
      f.SetLeaderBendPoint(KeyInt(parser, p, src));
    } else if (key == "ISVERTICAL") {
      f.SetIsLeaderVertical(KeyBool(parser, p, src));
    } else if (key == "DISPLAYDIGITS") {
      f.SetDisplayDigits(KeyInt(parser, p, src));
    } else if (key == "FONTNAME") {
      f.SetFontName(parser.Value());
    } else if (key == "FONTSIZE") {
      f.SetFontSize(KeyInt(parser, p, src));
    } else if (key == "FONTBOLD") {
      f.SetFontBold(KeyBool(parser, p, src));
    } else if (key == "FONTCOLOR") {
      f.SetFontColor(KeyLong(parser, p, src));
    } else if (key == "NAMECOLOR") {
      f.SetNameColor(KeyLong(parser, p, src));
    } else {
      ReportUnknownKey(p, "Icon", key, src);
    }
  }
  ++version_;
}

void Icon::SaveToFile(std::string& out) {
  const CIconFormat& f = *format_;
  WritePlainLine(out, 2, "BLOCK Icon");
  WriteKeyLine(out, 3, "FEATURENAME", featureName_);
  WriteKeyLine(out, 3, "DIMENSIONTYPE", dimensionType_);
  WriteKeyLine(out, 3, "LEFT", f.Left());
  WriteKeyLine(out, 3, "TOP", f.Top());
  WriteKeyLine(out, 3, "DRAWLEADER", f.DrawTagLine());
  WriteKeyLine(out, 3, "LEADERCOLOR", f.LeaderColor());
  WriteKeyLine(out, 3, "LEADERX", f.LeaderX());
  WriteKeyLine(out, 3, "LEADERY", f.LeaderY());
  WriteKeyLine(out, 3, "BENDPOINT", int32_t{f.LeaderBendPoint()});
  WriteKeyLine(out, 3, "ISVERTICAL", f.IsLeaderVertical());
  WriteKeyLine(out, 3, "DISPLAYDIGITS", int32_t{f.DisplayDigits()});
  WriteKeyLine(out, 3, "FONTNAME", f.FontName());
  WriteKeyLine(out, 3, "FONTSIZE", int32_t{f.FontSize()});
  WriteKeyLine(out, 3, "FONTBOLD", f.FontBold());
  WriteKeyLine(out, 3, "FONTCOLOR", f.FontColor());
  WriteKeyLine(out, 3, "NAMECOLOR", f.NameColor());
  for (const auto& v : values_) v->SaveToFile(out);
  WritePlainLine(out, 2, "END");
}

void Icon::LoadFromBinary(BinaryStream& s, int16_t nFormatControl) {
  CIconFormat& f = *format_;
  int32_t l = 0;
  int16_t i = 0;
  bool b = false;
  std::string text;
  s.GetLong(l);
  f.SetLeft(l);
  s.GetLong(l);
  f.SetTop(l);
  s.GetLong(l);
  f.SetLeaderColor(l);
  s.GetLong(l);
  f.SetLeaderX(l);
  s.GetLong(l);
  f.SetLeaderY(l);
  s.GetBoolean(b);
  f.SetDrawTagLine(b);
  s.GetInteger(i);
  f.SetLeaderBendPoint(i);
  s.GetBoolean(b);
  f.SetIsLeaderVertical(b);
  s.GetInteger(i);
  f.SetDisplayDigits(i);
  s.GetString(text);
  f.SetFontName(text);
  s.GetInteger(i);
  f.SetFontSize(i);
  s.GetBoolean(b);
  f.SetFontBold(b);
  s.GetLong(l);
  f.SetFontColor(l);
  s.GetLong(l);
  f.SetNameColor(l);
  s.GetLong(dimensionType_);
  s.GetString(text);
  SetFeatureName(text);
  values_.AddFromBinary(s, nFormatControl);
}

void Icon::SaveToBinary(BinaryStream& s) {
  const CIconFormat& f = *format_;
  s.WriteLong(f.Left());
  s.WriteLong(f.Top());
  s.WriteLong(f.LeaderColor());
  s.WriteLong(f.LeaderX());
  s.WriteLong(f.LeaderY());
  s.WriteBoolean(f.DrawTagLine());
  s.WriteInteger(f.LeaderBendPoint());
  s.WriteBoolean(f.IsLeaderVertical());
  s.WriteInteger(f.DisplayDigits());
  s.WriteString(f.FontName());
  s.WriteInteger(f.FontSize());
  s.WriteBoolean(f.FontBold());
  s.WriteLong(f.FontColor());
  s.WriteLong(f.NameColor());
  s.WriteLong(dimensionType_);
  s.WriteString(name_);
  values_.SaveToBinary(s);
}

const std::shared_ptr<Icon>& IconCollection::Item(int32_t index) const {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "IconCollection.Item");
  return items_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<Icon> IconCollection::Add() {
  items_.push_back(std::make_shared<Icon>(*profile_));
  return items_.back();
}

void IconCollection::Remove(const Icon& icon) {
  auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& p) { return p.get() == &icon; });
  if (it != items_.end()) items_.erase(it);
}

void IconCollection::Remove(int32_t index) {
  if (index < 1 || index > Count()) common::RaisePlatformError(common::err::SubscriptOutOfRange, "IconCollection.Remove");
  items_.erase(items_.begin() + (index - 1));
}

bool IconCollection::IsOutOfTolerance() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& i) { return i->IsOutOfTolerance(); });
}

int32_t IconCollection::WorstTolerance() const {
  int32_t worst = tolerance::Empty;
  for (const auto& i : items_) worst = std::max(worst, i->WorstTolerance());
  return FoldTolerance(worst);
}

void IconCollection::AddFromFile(BlockParser& parser) {
  auto icon = std::make_shared<Icon>(*profile_);
  icon->LoadFromFile(parser);
  items_.push_back(std::move(icon));
}

void IconCollection::AddFromBinary(BinaryStream& stream, int16_t nFormatControl) {
  const int32_t n = stream.GetCount(BinaryStream::kMinIconRecord, profile_->iconSource);
  for (int32_t i = 0; i < n; ++i) {
    auto icon = std::make_shared<Icon>(*profile_);
    icon->LoadFromBinary(stream, nFormatControl);
    items_.push_back(std::move(icon));
  }
}

void IconCollection::SaveToBinary(BinaryStream& stream) {
  stream.WriteLong(Count());
  for (const auto& i : items_) i->SaveToBinary(stream);
}

}  // namespace zephra::document
