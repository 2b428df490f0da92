#pragma once
// Where and how an icon box is drawn: its corner on the slide, its leader line and its font.
// Kept apart from the icon so the editor can copy, paste and reset formats; also a creatable
// component ("VRDEditor.CIconFormat", "ZEPMonitor.CIconFormat") for late-bound callers.

#include <cstdint>
#include <memory>
#include <string>

#include "common/dispatch.h"
#include "common/program.h"
#include "document_io.h"

namespace zephra::document {

class CIconFormat : public common::DispatchObject<CIconFormat> {
 public:
  // Member identifiers of the automation interface.
  static constexpr common::DispId kTop = 0x68030000;
  static constexpr common::DispId kNameColor = 0x68030001;
  static constexpr common::DispId kLeft = 0x68030002;
  static constexpr common::DispId kLeaderY = 0x68030003;
  static constexpr common::DispId kLeaderX = 0x68030004;
  static constexpr common::DispId kLeaderColor = 0x68030005;
  static constexpr common::DispId kLeaderBendPoint = 0x68030006;
  static constexpr common::DispId kIsLeaderVertical = 0x68030007;
  static constexpr common::DispId kFontColor = 0x68030008;
  static constexpr common::DispId kFontBold = 0x68030009;
  static constexpr common::DispId kFontSize = 0x6803000A;
  static constexpr common::DispId kFontName = 0x6803000B;
  static constexpr common::DispId kDrawTagLine = 0x6803000C;
  static constexpr common::DispId kDisplayDigits = 0x6803000D;
  static constexpr common::DispId kCopy = 0x60030010;
  static constexpr common::DispId kPaste = 0x60030012;
  static constexpr common::DispId kReset = 0x60030013;

  static constexpr const char* kEditorProgId = "VRDEditor.CIconFormat";
  static constexpr const char* kMonitorProgId = "ZEPMonitor.CIconFormat";

  static constexpr int32_t kDefaultLeft = 100;
  static constexpr int32_t kDefaultTop = 100;
  static constexpr int32_t kDefaultLeaderX = 500;
  static constexpr int32_t kDefaultLeaderY = 500;
  static constexpr int16_t kDefaultBendPoint = 60;
  static constexpr int16_t kDefaultDisplayDigits = 4;
  static constexpr int16_t kDefaultFontSize = 12;
  static constexpr const char* kDefaultFontName = "Courier New";

  static const common::DispatchTable<CIconFormat>& Table();
  std::string TypeName() const override { return "CIconFormat"; }

  int32_t Left() const { return left_; }
  void SetLeft(int32_t v);
  int32_t Top() const { return top_; }
  void SetTop(int32_t v);
  bool DrawTagLine() const { return drawTagLine_; }
  void SetDrawTagLine(bool v) { drawTagLine_ = v; }
  int32_t LeaderX() const { return leaderX_; }
  void SetLeaderX(int32_t v);
  int32_t LeaderY() const { return leaderY_; }
  void SetLeaderY(int32_t v);
  int16_t LeaderBendPoint() const { return bendPoint_; }
  void SetLeaderBendPoint(int16_t v);
  bool IsLeaderVertical() const { return leaderVertical_; }
  void SetIsLeaderVertical(bool v) { leaderVertical_ = v; }
  int32_t LeaderColor() const { return leaderColor_; }
  void SetLeaderColor(int32_t v) { leaderColor_ = v; }
  int16_t DisplayDigits() const { return displayDigits_; }
  void SetDisplayDigits(int16_t v);
  const std::string& FontName() const { return fontName_; }
  void SetFontName(std::string v) { fontName_ = std::move(v); }
  int16_t FontSize() const { return fontSize_; }
  void SetFontSize(int16_t v);
  bool FontBold() const { return fontBold_; }
  void SetFontBold(bool v) { fontBold_ = v; }
  int32_t FontColor() const { return fontColor_; }
  void SetFontColor(int32_t v) { fontColor_ = v; }
  int32_t NameColor() const { return nameColor_; }
  void SetNameColor(int32_t v) { nameColor_ = v; }

  // Copies every property of source into this format through the setters; the location (Left,
  // Top, LeaderX, LeaderY) only when includeLocation is set.
  void Copy(const CIconFormat& source, bool includeLocation = false);
  // The same for any object answering the members above, read late-bound.
  void Copy(common::Dispatch& source, bool includeLocation = false);
  // Copies this format into target.
  void Paste(CIconFormat& target, bool includeLocation = false) const;
  void Paste(common::Dispatch& target, bool includeLocation = false) const;
  // The defaults; the location (100, 100, 500, 500) only when includeLocation is set.
  void Reset(bool includeLocation = false);

 private:
  int32_t left_ = kDefaultLeft;
  int32_t top_ = kDefaultTop;
  bool drawTagLine_ = true;
  int32_t leaderX_ = kDefaultLeaderX;
  int32_t leaderY_ = kDefaultLeaderY;
  int16_t bendPoint_ = kDefaultBendPoint;
  bool leaderVertical_ = false;
  int32_t leaderColor_ = 0;
  int16_t displayDigits_ = kDefaultDisplayDigits;
  std::string fontName_ = kDefaultFontName;
  int16_t fontSize_ = kDefaultFontSize;
  bool fontBold_ = true;
  int32_t fontColor_ = 0;
  int32_t nameColor_ = kButtonFaceColor;
};

// Registers the icon format component under the program's ProgID (the editor's or the
// monitor's); with writeClassHive the class registration is written to the settings store.
void RegisterIconFormatComponent(common::ProgramKind program, bool writeClassHive = true);

}  // namespace zephra::document
