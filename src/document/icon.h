#pragma once
// The box on a slide that shows the values of one feature: its identity (feature name, shown
// name, dimension kind), its values and its format. Views repaint an icon when its Version
// differs from the one they drew.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "block_parser.h"
#include "common/dispatch.h"
#include "icon_format.h"
#include "message_profile.h"
#include "value.h"

namespace zephra::document {

class BinaryStream;
class DimensionOffer;

class Icon {
 public:
  static constexpr const char* kDefaultName = "NEWICON";

  explicit Icon(const MessageProfile& profile = MessageProfile::Current());

  const std::string& Name() const { return name_; }
  void SetName(std::string v) { name_ = std::move(v); }
  const std::string& FeatureName() const { return featureName_; }
  // Stores the text upper-cased as FeatureName and unchanged as Name; counts a version.
  void SetFeatureName(const std::string& v);
  int32_t DimensionType() const { return dimensionType_; }
  // Accepts 1 to 19 and ignores anything else.
  void SetDimensionType(int32_t v);
  int32_t Version() const { return version_; }
  ValueCollection& Values() { return values_; }
  const ValueCollection& Values() const { return values_; }
  const std::shared_ptr<CIconFormat>& IconFormat() const { return format_; }

  // The format's properties, read and written through the icon.
  int32_t Left() const { return format_->Left(); }
  void SetLeft(int32_t v) { format_->SetLeft(v); }
  int32_t Top() const { return format_->Top(); }
  void SetTop(int32_t v) { format_->SetTop(v); }
  bool DrawLeader() const { return format_->DrawTagLine(); }
  void SetDrawLeader(bool v) { format_->SetDrawTagLine(v); }
  int32_t LeaderColor() const { return format_->LeaderColor(); }
  void SetLeaderColor(int32_t v) { format_->SetLeaderColor(v); }
  int32_t LeaderX() const { return format_->LeaderX(); }
  void SetLeaderX(int32_t v) { format_->SetLeaderX(v); }
  int32_t LeaderY() const { return format_->LeaderY(); }
  void SetLeaderY(int32_t v) { format_->SetLeaderY(v); }
  int16_t LeaderBendPoint() const { return format_->LeaderBendPoint(); }
  void SetLeaderBendPoint(int16_t v) { format_->SetLeaderBendPoint(v); }
  bool IsLeaderVertical() const { return format_->IsLeaderVertical(); }
  void SetIsLeaderVertical(bool v) { format_->SetIsLeaderVertical(v); }
  const std::string& FontName() const { return format_->FontName(); }
  void SetFontName(std::string v) { format_->SetFontName(std::move(v)); }
  int16_t FontSize() const { return format_->FontSize(); }
  void SetFontSize(int16_t v) { format_->SetFontSize(v); }
  bool FontBold() const { return format_->FontBold(); }
  void SetFontBold(bool v) { format_->SetFontBold(v); }
  int32_t FontColor() const { return format_->FontColor(); }
  void SetFontColor(int32_t v) { format_->SetFontColor(v); }
  int32_t NameColor() const { return format_->NameColor(); }
  void SetNameColor(int32_t v) { format_->SetNameColor(v); }
  int16_t DisplayDigits() const { return format_->DisplayDigits(); }
  // Rounds the values to the number given, then stores it (clamped) in the format.
  void SetDisplayDigits(int16_t v);

  bool IsOutOfTolerance() const { return values_.IsOutOfTolerance(); }
  // The values' worst state, not folded.
  int32_t WorstTolerance() const { return values_.WorstTolerance(); }

  void UpdateDigits(int16_t lDigits);
  // Offers a dimension to every value in order; the version counts when the last value took it.
  void UpdateReport(DimensionOffer& dimension);
  void UpdateReport(std::shared_ptr<common::Dispatch> oDCmd);
  void CalculateAverage();
  void CollectSampleSet(Icon& oAvg, const std::string& sLogFilename);
  void InitializeSampleSet(int16_t nSampleSize);
  // Makes target a copy of this icon; the target keeps its own location.
  void Copy(Icon& target) const;

  void LoadFromFile(BlockParser& parser);
  void SaveToFile(std::string& out);
  void LoadFromBinary(BinaryStream& stream, int16_t nFormatControl);
  void SaveToBinary(BinaryStream& stream);

 private:
  const MessageProfile* profile_;
  std::shared_ptr<CIconFormat> format_;
  ValueCollection values_;
  std::string featureName_ = kDefaultName;
  std::string name_ = kDefaultName;
  int32_t dimensionType_ = 0;
  int32_t version_ = 0;
};

// A slide's icons in drawing order, 1-based.
class IconCollection {
 public:
  explicit IconCollection(const MessageProfile& profile = MessageProfile::Current()) : profile_(&profile) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  const std::shared_ptr<Icon>& Item(int32_t index) const;
  std::shared_ptr<Icon> Add();
  // Removes that very icon (nothing when it is not in the list).
  void Remove(const Icon& icon);
  // Removes by 1-based index; error 9 outside the list.
  void Remove(int32_t index);
  bool IsOutOfTolerance() const;
  // The greatest icon state (0 for none), folded.
  int32_t WorstTolerance() const;

  void AddFromFile(BlockParser& parser);
  void AddFromBinary(BinaryStream& stream, int16_t nFormatControl);
  void SaveToBinary(BinaryStream& stream);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  const MessageProfile* profile_;
  std::vector<std::shared_ptr<Icon>> items_;
};

}  // namespace zephra::document
