#include "part_program.h"

#include <cmath>

#include "common/automation_error.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "host_application.h"

namespace zephra::hostsim {

namespace {

using common::Args;
using common::DispatchTable;
using common::Variant;
namespace h = common::host;

Variant Obj(std::shared_ptr<common::Dispatch> object) { return Variant(std::move(object)); }
Variant Nothing() { return Variant(std::shared_ptr<common::Dispatch>()); }
Variant Text(const std::string& s) { return Variant(s); }
Variant Long(int64_t v) { return Variant(static_cast<int32_t>(v)); }

const Variant& Required(const Args& args, size_t i, const std::string& source) {
  const Variant& v = common::Arg(args, i);
  if (v.IsMissing()) common::RaisePlatformError(common::err::ArgumentNotOptional, source);
  return v;
}

std::shared_ptr<PartProgram> Self(PartProgram& p) {
  return std::static_pointer_cast<PartProgram>(p.shared_from_this());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// PartProgram

PartProgram::PartProgram(std::weak_ptr<HostApplication> app, ProgramData data, std::string fullPath,
                         std::string machine, uint64_t seed)
    : app_(std::move(app)), data_(std::move(data)), fullPath_(std::move(fullPath)), machine_(std::move(machine)),
      seed_(seed) {
  SetSeed(seed);
}

void PartProgram::SetSeed(uint64_t seed) {
  seed_ = seed;
  runNumber_ = 0;
  results_.clear();
  results_.reserve(data_.commands.size());
  for (size_t i = 0; i < data_.commands.size(); ++i) results_.push_back(SimulateResult(data_.commands[i], seed_, 0, i));
}

void PartProgram::Measure(size_t index) {
  results_[index] = SimulateResult(data_.commands[index], seed_, runNumber_, index);
}

const DispatchTable<PartProgram>& PartProgram::Table() {
  static const DispatchTable<PartProgram> table = [] {
    DispatchTable<PartProgram> t;
    namespace m = h::part;
    t.Property(m::PartName, "PartName", [](PartProgram& p, Args&) { return Text(p.data_.partName); });
    t.Property(m::Directory, "Directory", [](PartProgram& p, Args&) {
      return Text(p.closed_ ? std::string() : common::ParentDirectory(p.fullPath_));
    });
    t.Property(m::Revision, "Revision", [](PartProgram& p, Args&) { return Text(p.data_.revision); });
    t.Property(m::SerialNumber, "SerialNumber", [](PartProgram& p, Args&) { return Text(p.data_.serial); });
    t.Property(m::FullName, "FullName", [](PartProgram& p, Args&) {
      return Text(p.closed_ ? std::string() : p.fullPath_);
    });
    t.Property(m::Name, "Name", [](PartProgram& p, Args&) {
      return Text(p.closed_ ? std::string() : common::FileNameOf(p.fullPath_));
    });
    t.Property(m::Application, "Application", [](PartProgram& p, Args&) {
      auto app = p.app_.lock();
      return app ? Obj(app) : Nothing();
    });
    t.Property(m::Commands, "Commands", [](PartProgram& p, Args&) {
      return Obj(std::make_shared<CommandCollection>(Self(p)));
    });
    t.Property(m::ReadoutWindow, "ReadoutWindow", [](PartProgram& p, Args&) {
      return Obj(std::make_shared<ReadoutWindow>(p.app_));
    });
    auto close = [](PartProgram& p, Args&) {
      if (auto app = p.app_.lock()) {
        app->Close(Self(p));
      } else {
        p.closed_ = true;
      }
      return Variant();
    };
    t.Method(m::Close, "Close", close);
    t.Method(m::Quit, "Quit", close);
    t.Method(m::Execute, "Execute", [](PartProgram& p, Args&) {
      auto app = p.app_.lock();
      return Variant(app ? app->Execute(Self(p)) : false);
    });
    t.Property(
        m::RunStarted, "RunStarted", [](PartProgram& p, Args&) { return Variant(p.runFlag_); },
        [](PartProgram& p, Args&, const Variant& v) { p.runFlag_ = v.ToBool(); });
    t.Property(
        part_member::ExecOptContinueButtonVisible, m::ExecOptContinueButtonVisible,
        [](PartProgram& p, Args&) { return Variant(p.execOptContinue_); },
        [](PartProgram& p, Args&, const Variant& v) { p.execOptContinue_ = v.ToBool(); });
    t.Property(
        part_member::ExecOptJumpButtonVisible, m::ExecOptJumpButtonVisible,
        [](PartProgram& p, Args&) { return Variant(p.execOptJump_); },
        [](PartProgram& p, Args&, const Variant& v) { p.execOptJump_ = v.ToBool(); });
    t.Property(
        part_member::ExecOptSkipButtonVisible, m::ExecOptSkipButtonVisible,
        [](PartProgram& p, Args&) { return Variant(p.execOptSkip_); },
        [](PartProgram& p, Args&, const Variant& v) { p.execOptSkip_ = v.ToBool(); });
    t.Property(
        part_member::Seed, "Seed", [](PartProgram& p, Args&) { return Variant(static_cast<double>(p.seed_)); },
        [](PartProgram& p, Args&, const Variant& v) {
          const double d = v.ToDouble();
          if (d < 0 || d != std::floor(d) || d > 9007199254740992.0) {
            common::RaisePlatformError(common::err::InvalidCall, p.TypeName());
          }
          p.SetSeed(static_cast<uint64_t>(d));
        });
    t.Property(part_member::RunNumber, "RunNumber",
               [](PartProgram& p, Args&) { return Variant(static_cast<double>(p.runNumber_)); });
    t.Property(part_member::Executing, "Executing", [](PartProgram& p, Args&) {
      auto app = p.app_.lock();
      return Variant(app && app->RunningProgram().get() == &p);
    });
    t.Property(part_member::Machine, "Machine", [](PartProgram& p, Args&) { return Text(p.machine_); });
    return t;
  }();
  return table;
}

// ---------------------------------------------------------------------------------------------
// CommandCollection

const DispatchTable<CommandCollection>& CommandCollection::Table() {
  static const DispatchTable<CommandCollection> table = [] {
    DispatchTable<CommandCollection> t;
    t.Property(h::commands::Count, "Count", [](CommandCollection& c, Args&) {
      return Long(static_cast<int64_t>(c.program_->Data().commands.size()));
    });
    t.Method(h::commands::Item, "Item", [](CommandCollection& c, Args& args) {
      const int32_t index = Required(args, 0, c.TypeName()).ToLong();
      const auto count = static_cast<int64_t>(c.program_->Data().commands.size());
      if (index < 1 || index > count) common::RaisePlatformError(common::err::SubscriptOutOfRange, c.TypeName());
      return Obj(std::make_shared<HostCommand>(c.program_, static_cast<size_t>(index - 1)));
    });
    return t;
  }();
  return table;
}

// ---------------------------------------------------------------------------------------------
// HostCommand

const DispatchTable<HostCommand>& HostCommand::Table() {
  static const DispatchTable<HostCommand> table = [] {
    DispatchTable<HostCommand> t;
    namespace m = h::command;
    t.Property(m::Id, "Id", [](HostCommand& c, Args&) { return Text(c.Data().id); });
    t.Property(m::Type, "Type", [](HostCommand& c, Args&) { return Long(c.Data().type); });
    t.Property(m::DimensionCommand, "DimensionCommand", [](HostCommand& c, Args&) {
      if (c.Data().kind != BlockKind::Dimension) return Nothing();
      return Obj(std::make_shared<DimensionCommand>(c.program_, c.index_));
    });
    t.Property(m::IsDimension, "IsDimension",
               [](HostCommand& c, Args&) { return Variant(c.Data().kind == BlockKind::Dimension); });
    t.Property(m::IsDimensionLine, "IsDimensionLine",
               [](HostCommand& c, Args&) { return Variant(c.Data().kind == BlockKind::Dimension); });
    t.Property(m::Reported, "Reported", [](HostCommand& c, Args&) {
      return Variant(c.Data().kind == BlockKind::Dimension && c.Data().reported);
    });
    t.Method(m::Next, "Next", [](HostCommand& c, Args&) {
      if (c.index_ + 1 >= c.program_->Data().commands.size()) return Variant(false);
      ++c.index_;
      return Variant(true);
    });
    t.Method(m::Previous, "Previous", [](HostCommand& c, Args&) {
      if (c.index_ == 0) return Variant(false);
      --c.index_;
      return Variant(true);
    });
    t.Property(m::CommentCommand, "CommentCommand", [](HostCommand& c, Args&) {
      if (c.Data().kind != BlockKind::Comment) return Nothing();
      return Obj(std::make_shared<CommentObject>(c.program_, c.index_));
    });
    t.Property(m::IsComment, "IsComment",
               [](HostCommand& c, Args&) { return Variant(c.Data().kind == BlockKind::Comment); });
    t.Property(m::AssignmentCommand, "AssignmentCommand", [](HostCommand& c, Args&) {
      if (c.Data().kind != BlockKind::Assignment) return Nothing();
      return Obj(std::make_shared<AssignmentObject>(c.program_, c.index_));
    });
    t.Property(m::IsAssignment, "IsAssignment",
               [](HostCommand& c, Args&) { return Variant(c.Data().kind == BlockKind::Assignment); });
    t.Property(m::DisplayText, "DisplayText", [](HostCommand& c, Args&) {
      const CommandData& d = c.Data();
      if (d.text) return Text(*d.text);
      if (d.role == DimensionRole::Axis) return Text(d.axis);
      return Text(d.id);
    });
    t.Method(m::Identity, "Identity", [](HostCommand& c, Args& args) {
      Required(args, 0, c.TypeName());
      Required(args, 1, c.TypeName());
      const CommandData& d = c.Data();
      if (d.uniqueId) {
        args[0] = Variant(d.uniqueId->first);
        args[1] = Variant(d.uniqueId->second);
      } else {
        args[0] = Long(1000 + static_cast<int64_t>(c.index_) + 1);
        args[1] = Variant(static_cast<int32_t>(1));
      }
      return Variant();
    });
    return t;
  }();
  return table;
}

// ---------------------------------------------------------------------------------------------
// DimensionCommand

bool DimensionCommand::IsResultLine() const {
  return Data().role == DimensionRole::Axis || Data().role == DimensionRole::Single;
}

const DispatchTable<DimensionCommand>& DimensionCommand::Table() {
  static const DispatchTable<DimensionCommand> table = [] {
    DispatchTable<DimensionCommand> t;
    namespace m = h::dimension;
    // Numbers of the file; headers and ends read 0.
    auto number = [](double CommandData::*field) {
      return [field](DimensionCommand& d, Args&) { return Variant(d.IsResultLine() ? d.Data().*field : 0.0); };
    };
    t.Property(m::Angle, "Angle", number(&CommandData::angle));
    t.Property(m::Bonus, "Bonus", number(&CommandData::bonus));
    t.Property(m::DevAngle, "DevAngle", number(&CommandData::devAngle));
    t.Property(m::Length, "Length", number(&CommandData::length));
    t.Property(m::Nominal, "Nominal", number(&CommandData::nominal));
    t.Property(m::Max, "Max", number(&CommandData::max));
    t.Property(m::Min, "Min", number(&CommandData::min));
    t.Property(m::MinusTol, "MinusTol", number(&CommandData::minusTol));
    t.Property(m::PlusTol, "PlusTol", number(&CommandData::plusTol));
    // Results of the last execution.
    t.Property(m::Measured, "Measured",
               [](DimensionCommand& d, Args&) { return Variant(d.program_->Result(d.index_).measured); });
    t.Property(m::Deviation, "Deviation",
               [](DimensionCommand& d, Args&) { return Variant(d.program_->Result(d.index_).deviation); });
    t.Property(m::OutTol, "OutTol",
               [](DimensionCommand& d, Args&) { return Variant(d.program_->Result(d.index_).outTol); });
    t.Property(m::Id, "Id", [](DimensionCommand& d, Args&) {
      const CommandData& c = d.Data();
      const bool own = c.role == DimensionRole::Single || c.role == DimensionRole::LocationHeader ||
                       c.role == DimensionRole::TruePositionHeader;
      return Text(own ? c.id : c.groupId);
    });
    t.Property(m::Feat1, "Feat1",
               [](DimensionCommand& d, Args&) { return Text(d.IsResultLine() ? d.Data().feat1 : std::string()); });
    t.Property(m::Command, "Command", [](DimensionCommand& d, Args&) {
      // A new cursor every time, so stepping one never moves another.
      return Obj(std::make_shared<HostCommand>(d.program_, d.index_));
    });
    t.Property(m::M26, "M26", [](DimensionCommand& d, Args&) { return Long(d.IsResultLine() ? d.Data().m26 : 0); });
    t.Property(m::AxisLetter, "AxisLetter",
               [](DimensionCommand& d, Args&) { return Text(d.IsResultLine() ? d.Data().axis : std::string()); });
    t.Property(m::InLocationGroup, "InLocationGroup",
               [](DimensionCommand& d, Args&) { return Variant(d.Data().inLocationGroup); });
    t.Property(m::InTruePositionGroup, "InTruePositionGroup",
               [](DimensionCommand& d, Args&) { return Variant(d.Data().inTruePositionGroup); });
    return t;
  }();
  return table;
}

// ---------------------------------------------------------------------------------------------
// Assignment, comment, read-out window

const DispatchTable<AssignmentObject>& AssignmentObject::Table() {
  static const DispatchTable<AssignmentObject> table = [] {
    DispatchTable<AssignmentObject> t;
    t.Property(h::assignment::Name, "Name", [](AssignmentObject& a, Args&) { return Text(a.Data().variable); });
    t.Property(h::assignment::Value, "Value", [](AssignmentObject& a, Args&) { return Text(a.Data().value); });
    return t;
  }();
  return table;
}

const DispatchTable<CommentObject>& CommentObject::Table() {
  static const DispatchTable<CommentObject> table = [] {
    DispatchTable<CommentObject> t;
    t.Property(h::comment::Kind, "Kind", [](CommentObject& c, Args&) { return Long(c.Data().commentKind); });
    t.Property(h::comment::Text, "Text", [](CommentObject& c, Args&) { return Text(c.Data().commentText); });
    return t;
  }();
  return table;
}

const DispatchTable<ReadoutWindow>& ReadoutWindow::Table() {
  static const DispatchTable<ReadoutWindow> table = [] {
    DispatchTable<ReadoutWindow> t;
    t.Method(h::readout::ShowReadout, "ShowReadout", [](ReadoutWindow& r, Args& args) {
      const bool show = Required(args, 0, r.TypeName()).ToLong() != 0;
      if (auto app = r.app_.lock()) app->ShowReadout(show);
      return Variant();
    });
    t.Property(readout_member::Shown, "Shown", [](ReadoutWindow& r, Args&) {
      auto app = r.app_.lock();
      return Variant(app && app->ReadoutShown());
    });
    return t;
  }();
  return table;
}

}  // namespace zephra::hostsim
