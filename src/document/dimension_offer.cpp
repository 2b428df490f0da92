#include "dimension_offer.h"

#include "common/automation_error.h"
#include "common/host_interface.h"

namespace zephra::document {

namespace dim = common::host::dimension;
namespace cmd = common::host::command;
using common::Variant;

namespace {
constexpr const char* kSource = "Value.UpdateReport";
}

DimensionOffer::DimensionOffer(std::shared_ptr<common::Dispatch> dimension) : dimension_(std::move(dimension)) {
  if (!dimension_) common::RaisePlatformError(common::err::ObjectVariableNotSet, kSource);
}

common::Dispatch& DimensionOffer::Command() {
  if (!command_) {
    std::shared_ptr<common::Dispatch> c = dimension_->Get(dim::Command).ToObject();
    if (!c) common::RaisePlatformError(common::err::ObjectVariableNotSet, kSource);
    command_ = std::move(c);
  }
  return *command_;
}

const std::string& DimensionOffer::UniqueKey() {
  if (!uniqueKey_) {
    common::Args ids{Variant(int32_t{0}), Variant(int32_t{0})};
    Command().Call(cmd::Identity, ids);
    uniqueKey_ = std::to_string(ids[0].ToLong()) + "|" + std::to_string(ids[1].ToLong());
  }
  return *uniqueKey_;
}

const std::string& DimensionOffer::AxisLetter() {
  if (!axis_) axis_ = dimension_->Get(dim::AxisLetter).ToString();
  return *axis_;
}

bool DimensionOffer::InLocationGroup() {
  if (!inLocation_) inLocation_ = dimension_->Get(dim::InLocationGroup).ToBool();
  return *inLocation_;
}

bool DimensionOffer::InTruePositionGroup() {
  if (!inTruePosition_) inTruePosition_ = dimension_->Get(dim::InTruePositionGroup).ToBool();
  return *inTruePosition_;
}

const std::string& DimensionOffer::FeatureName() {
  if (featureName_) return *featureName_;
  common::Dispatch& command = Command();
  std::string name = command.Get(cmd::Id).ToString();
  const bool inLocation = InLocationGroup();
  const bool inTruePosition = InTruePositionGroup();
  if (inLocation || inTruePosition) {
    // The axis lines of a group carry the group's name on its header command, which comes
    // before them: walk a cursor back to the header, then forward again once for every step
    // tried. A host whose failing step stays put leaves that cursor one on after a walk that
    // found no header, so the walk uses a cursor of its own and the command read above keeps
    // answering for the dimension's own command.
    std::shared_ptr<common::Dispatch> cursor = dimension_->Get(dim::Command).ToObject();
    if (!cursor) common::RaisePlatformError(common::err::ObjectVariableNotSet, kSource);
    common::Dispatch& walker = *cursor;
    int steps = 0;
    auto restore = [&] {
      for (int i = 0; i < steps; ++i) {
        try {
          walker.Call(cmd::Next);
        } catch (const common::AutomationError&) {
        }
      }
    };
    try {
      // A host that never reports a failed step would keep the walk going for ever; no part
      // program has this many commands in front of one group axis.
      constexpr int kMaxSteps = 1000000;
      while (steps < kMaxSteps) {
        ++steps;
        bool moved = true;
        try {
          const Variant r = walker.Call(cmd::Previous);
          if (r.Type() == common::VarType::Boolean && !r.ToBool()) moved = false;
        } catch (const common::AutomationError&) {
          moved = false;
        }
        if (!moved) break;
        const int32_t type = walker.Get(cmd::Type).ToLong();
        if (type == common::host::type::TruePositionStart || type == common::host::type::LocationStart) {
          name = walker.Get(cmd::Id).ToString();
          break;
        }
      }
    } catch (...) {
      restore();
      throw;
    }
    restore();
  }
  featureName_ = std::move(name);
  return *featureName_;
}

const DimensionOffer::Numbers& DimensionOffer::Results() {
  if (!numbers_) {
    Numbers n;
    common::Dispatch& d = *dimension_;
    n.measured = d.Get(dim::Measured).ToDouble();
    n.nominal = d.Get(dim::Nominal).ToDouble();
    n.plusTol = d.Get(dim::PlusTol).ToDouble();
    n.minusTol = d.Get(dim::MinusTol).ToDouble();
    n.deviation = d.Get(dim::Deviation).ToDouble();
    n.outTol = d.Get(dim::OutTol).ToDouble();
    n.angle = d.Get(dim::Angle).ToDouble();
    n.bonus = d.Get(dim::Bonus).ToDouble();
    n.devAngle = d.Get(dim::DevAngle).ToDouble();
    n.length = d.Get(dim::Length).ToDouble();
    n.max = d.Get(dim::Max).ToDouble();
    n.min = d.Get(dim::Min).ToDouble();
    n.feat1 = d.Get(dim::Feat1).ToString();
    numbers_ = std::move(n);
  }
  return *numbers_;
}

int32_t DimensionOffer::CommandType() {
  if (!commandType_) commandType_ = Command().Get(cmd::Type).ToLong();
  return *commandType_;
}

int32_t DimensionOffer::M26() {
  if (!m26_) m26_ = dimension_->Get(dim::M26).ToLong();
  return *m26_;
}

}  // namespace zephra::document
