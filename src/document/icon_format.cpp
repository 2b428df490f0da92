#include "icon_format.h"

#include <algorithm>

#include "common/component_registry.h"
#include "common/paths.h"

namespace zephra::document {

using common::Args;
using common::Dispatch;
using common::Variant;

namespace {

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

bool OptionalFlag(const Args& args, size_t i) {
  const Variant& v = common::Arg(args, i);
  return v.IsMissing() || v.IsEmpty() ? false : v.ToBool();
}

std::shared_ptr<Dispatch> ObjectArg(const Args& args, size_t i, const char* source) {
  const Variant& v = common::Arg(args, i);
  if (v.IsMissing()) common::RaisePlatformError(common::err::ArgumentNotOptional, source);
  std::shared_ptr<Dispatch> obj = v.ToObject();
  if (!obj) common::RaisePlatformError(common::err::ObjectVariableNotSet, source);
  return obj;
}

}  // namespace

void CIconFormat::SetLeft(int32_t v) { left_ = Clamp(v, 0, 1000); }
void CIconFormat::SetTop(int32_t v) { top_ = Clamp(v, 0, 1000); }
void CIconFormat::SetLeaderX(int32_t v) { leaderX_ = Clamp(v, 0, 1000); }
void CIconFormat::SetLeaderY(int32_t v) { leaderY_ = Clamp(v, 0, 1000); }
void CIconFormat::SetLeaderBendPoint(int16_t v) { bendPoint_ = static_cast<int16_t>(Clamp(v, 0, 100)); }
void CIconFormat::SetDisplayDigits(int16_t v) { displayDigits_ = static_cast<int16_t>(Clamp(v, 1, 15)); }
void CIconFormat::SetFontSize(int16_t v) { fontSize_ = static_cast<int16_t>(Clamp(v, 8, 24)); }

void CIconFormat::Copy(const CIconFormat& s, bool includeLocation) {
  SetDisplayDigits(s.DisplayDigits());
  SetDrawTagLine(s.DrawTagLine());
  SetFontName(s.FontName());
  SetFontSize(s.FontSize());
  SetFontBold(s.FontBold());
  SetFontColor(s.FontColor());
  SetIsLeaderVertical(s.IsLeaderVertical());
  SetLeaderBendPoint(s.LeaderBendPoint());
  SetLeaderColor(s.LeaderColor());
  SetNameColor(s.NameColor());
  if (includeLocation) {
    SetLeft(s.Left());
    SetTop(s.Top());
    SetLeaderX(s.LeaderX());
    SetLeaderY(s.LeaderY());
  }
}

void CIconFormat::Copy(Dispatch& source, bool includeLocation) {
  if (auto* f = dynamic_cast<CIconFormat*>(&source)) {
    Copy(*f, includeLocation);
    return;
  }
  SetDisplayDigits(source.Get(kDisplayDigits).ToInt());
  SetDrawTagLine(source.Get(kDrawTagLine).ToBool());
  SetFontName(source.Get(kFontName).ToString());
  SetFontSize(source.Get(kFontSize).ToInt());
  SetFontBold(source.Get(kFontBold).ToBool());
  SetFontColor(source.Get(kFontColor).ToLong());
  SetIsLeaderVertical(source.Get(kIsLeaderVertical).ToBool());
  SetLeaderBendPoint(source.Get(kLeaderBendPoint).ToInt());
  SetLeaderColor(source.Get(kLeaderColor).ToLong());
  SetNameColor(source.Get(kNameColor).ToLong());
  if (includeLocation) {
    SetLeft(source.Get(kLeft).ToLong());
    SetTop(source.Get(kTop).ToLong());
    SetLeaderX(source.Get(kLeaderX).ToLong());
    SetLeaderY(source.Get(kLeaderY).ToLong());
  }
}

void CIconFormat::Paste(CIconFormat& target, bool includeLocation) const { target.Copy(*this, includeLocation); }

void CIconFormat::Paste(Dispatch& target, bool includeLocation) const {
  if (auto* f = dynamic_cast<CIconFormat*>(&target)) {
    f->Copy(*this, includeLocation);
    return;
  }
  target.Put(kDisplayDigits, Variant(displayDigits_));
  target.Put(kDrawTagLine, Variant(drawTagLine_));
  target.Put(kFontName, Variant(fontName_));
  target.Put(kFontSize, Variant(fontSize_));
  target.Put(kFontBold, Variant(fontBold_));
  target.Put(kFontColor, Variant(fontColor_));
  target.Put(kIsLeaderVertical, Variant(leaderVertical_));
  target.Put(kLeaderBendPoint, Variant(bendPoint_));
  target.Put(kLeaderColor, Variant(leaderColor_));
  target.Put(kNameColor, Variant(nameColor_));
  if (includeLocation) {
    target.Put(kLeft, Variant(left_));
    target.Put(kTop, Variant(top_));
    target.Put(kLeaderX, Variant(leaderX_));
    target.Put(kLeaderY, Variant(leaderY_));
  }
}

void CIconFormat::Reset(bool includeLocation) {
  const CIconFormat defaults;
  Copy(defaults, includeLocation);
}

const common::DispatchTable<CIconFormat>& CIconFormat::Table() {
  static const common::DispatchTable<CIconFormat> table = [] {
    using T = CIconFormat;
    common::DispatchTable<T> t;
    t.Property(kDisplayDigits, "DisplayDigits",
               [](T& f, Args&) { return Variant(f.DisplayDigits()); },
               [](T& f, Args&, const Variant& v) { f.SetDisplayDigits(v.ToInt()); });
    t.Property(kDrawTagLine, "DrawTagLine",
               [](T& f, Args&) { return Variant(f.DrawTagLine()); },
               [](T& f, Args&, const Variant& v) { f.SetDrawTagLine(v.ToBool()); });
    t.Property(kFontName, "FontName",
               [](T& f, Args&) { return Variant(f.FontName()); },
               [](T& f, Args&, const Variant& v) { f.SetFontName(v.ToString()); });
    t.Property(kFontSize, "FontSize",
               [](T& f, Args&) { return Variant(f.FontSize()); },
               [](T& f, Args&, const Variant& v) { f.SetFontSize(v.ToInt()); });
    t.Property(kFontBold, "FontBold",
               [](T& f, Args&) { return Variant(f.FontBold()); },
               [](T& f, Args&, const Variant& v) { f.SetFontBold(v.ToBool()); });
    t.Property(kFontColor, "FontColor",
               [](T& f, Args&) { return Variant(f.FontColor()); },
               [](T& f, Args&, const Variant& v) { f.SetFontColor(v.ToLong()); });
    t.Property(kIsLeaderVertical, "IsLeaderVertical",
               [](T& f, Args&) { return Variant(f.IsLeaderVertical()); },
               [](T& f, Args&, const Variant& v) { f.SetIsLeaderVertical(v.ToBool()); });
    t.Property(kLeaderBendPoint, "LeaderBendPoint",
               [](T& f, Args&) { return Variant(f.LeaderBendPoint()); },
               [](T& f, Args&, const Variant& v) { f.SetLeaderBendPoint(v.ToInt()); });
    t.Property(kLeaderColor, "LeaderColor",
               [](T& f, Args&) { return Variant(f.LeaderColor()); },
               [](T& f, Args&, const Variant& v) { f.SetLeaderColor(v.ToLong()); });
    t.Property(kLeaderX, "LeaderX",
               [](T& f, Args&) { return Variant(f.LeaderX()); },
               [](T& f, Args&, const Variant& v) { f.SetLeaderX(v.ToLong()); });
    t.Property(kLeaderY, "LeaderY",
               [](T& f, Args&) { return Variant(f.LeaderY()); },
               [](T& f, Args&, const Variant& v) { f.SetLeaderY(v.ToLong()); });
    t.Property(kLeft, "Left",
               [](T& f, Args&) { return Variant(f.Left()); },
               [](T& f, Args&, const Variant& v) { f.SetLeft(v.ToLong()); });
    t.Property(kNameColor, "NameColor",
               [](T& f, Args&) { return Variant(f.NameColor()); },
               [](T& f, Args&, const Variant& v) { f.SetNameColor(v.ToLong()); });
    t.Property(kTop, "Top",
               [](T& f, Args&) { return Variant(f.Top()); },
               [](T& f, Args&, const Variant& v) { f.SetTop(v.ToLong()); });
    t.Method(kCopy, "Copy", [](T& f, Args& a) {
      f.Copy(*ObjectArg(a, 0, "CIconFormat.Copy"), OptionalFlag(a, 1));
      return Variant();
    });
    t.Method(kPaste, "Paste", [](T& f, Args& a) {
      f.Paste(*ObjectArg(a, 0, "CIconFormat.Paste"), OptionalFlag(a, 1));
      return Variant();
    });
    t.Method(kReset, "Reset", [](T& f, Args& a) {
      f.Reset(OptionalFlag(a, 0));
      return Variant();
    });
    return t;
  }();
  return table;
}

void RegisterIconFormatComponent(common::ProgramKind program, bool writeClassHive) {
  const bool editor = program == common::ProgramKind::Editor;
  common::ComponentInfo info;
  info.progId = editor ? CIconFormat::kEditorProgId : CIconFormat::kMonitorProgId;
  info.classId = editor ? "{6B1D3C52-0E4A-4F7B-9C21-5A8E2D7F1C01}" : "{6B1D3C52-0E4A-4F7B-9C21-5A8E2D7F1C02}";
  info.serverPath = common::JoinPath(common::ProgramDirectory(),
                                     common::ProgramTitle(editor ? common::ProgramKind::Editor
                                                                 : common::ProgramKind::Monitor));
  info.inProcess = false;
  common::ComponentRegistry::Instance().Register(
      info, [] { return std::static_pointer_cast<Dispatch>(std::make_shared<CIconFormat>()); }, writeClassHive);
}

}  // namespace zephra::document
