#pragma once
// A small stand-in for the host's dimension object and its command, answering only the
// dispatch numbers the document reads, and counting every read so tests can see how often
// the host was asked.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/automation_error.h"
#include "common/dispatch.h"
#include "common/host_interface.h"

namespace zephra::testing {

using common::Args;
using common::DispId;
using common::Dispatch;
using common::InvokeKind;
using common::Variant;

class CountingDispatch : public Dispatch {
 public:
  std::optional<DispId> IdOfName(std::string_view) const override { return std::nullopt; }
  int Reads(DispId id) const {
    auto it = reads_.find(id);
    return it == reads_.end() ? 0 : it->second;
  }
  int TotalReads() const {
    int n = 0;
    for (const auto& [id, c] : reads_) n += c;
    return n;
  }
  void ResetReads() { reads_.clear(); }
  // The member that raises an error (438-like host failure) when asked.
  std::optional<DispId> failOn;

 protected:
  void Count(DispId id) {
    ++reads_[id];
    if (failOn && *failOn == id) throw common::AutomationError(1234, "FakeHost", "host failure");
  }

 private:
  std::map<DispId, int> reads_;
};

// The command of a dimension, used as a cursor: position 0 is the dimension's own command,
// position k the command reached after k steps with member 23. A step past the last one leaves
// the cursor past the end and fails (by raising, or by returning False when failByFalse is
// set); member 22 steps back one.
class FakeCommand : public CountingDispatch {
 public:
  struct Entry {
    int32_t type;
    std::string id;
  };
  std::vector<Entry> path{{1101, "DIA1"}};
  int32_t identity1 = 7;
  int32_t identity2 = 42;
  int cursor = 0;
  bool failByFalse = false;

  std::string TypeName() const override { return "FakeCommand"; }
  Variant Invoke(DispId id, InvokeKind, Args& args) override {
    namespace cmd = common::host::command;
    Count(id);
    switch (id) {
      case cmd::Type: return Variant(At().type);
      case cmd::Id: return Variant(At().id);
      case cmd::Identity:
        args.at(0) = Variant(identity1);
        args.at(1) = Variant(identity2);
        return Variant();
      case cmd::Previous:
        if (cursor + 1 >= static_cast<int>(path.size())) {
          ++cursor;
          if (failByFalse) return Variant(false);
          throw common::AutomationError(5, "FakeCommand", "no previous command");
        }
        ++cursor;
        return Variant(true);
      case cmd::Next: --cursor; return Variant(true);
      default: common::RaisePlatformError(common::err::MemberNotSupported, "FakeCommand");
    }
  }

 private:
  const Entry& At() const {
    if (cursor < 0 || cursor >= static_cast<int>(path.size())) {
      common::RaisePlatformError(common::err::InvalidCall, "FakeCommand");
    }
    return path[static_cast<size_t>(cursor)];
  }
};

class FakeDimension : public CountingDispatch {
 public:
  std::shared_ptr<FakeCommand> command = std::make_shared<FakeCommand>();
  std::map<DispId, Variant> props;

  FakeDimension(std::string axis, double measured, double nominal, double plusTol, double minusTol) {
    namespace d = common::host::dimension;
    props[d::AxisLetter] = Variant(std::move(axis));
    props[d::Measured] = Variant(measured);
    props[d::Nominal] = Variant(nominal);
    props[d::PlusTol] = Variant(plusTol);
    props[d::MinusTol] = Variant(minusTol);
    props[d::Deviation] = Variant(measured - nominal);
    const double out = measured - nominal > plusTol    ? measured - nominal - plusTol
                       : nominal - measured > minusTol ? measured - nominal + minusTol
                                                       : 0.0;
    props[d::OutTol] = Variant(out);
    for (DispId id : {d::Angle, d::Bonus, d::DevAngle, d::Length, d::Max, d::Min}) props[id] = Variant(0.0);
    props[d::Feat1] = Variant("");
    props[d::M26] = Variant(int32_t{0});
    props[d::InTruePositionGroup] = Variant(false);
    props[d::InLocationGroup] = Variant(false);
  }

  std::string TypeName() const override { return "FakeDimension"; }
  Variant Invoke(DispId id, InvokeKind, Args&) override {
    Count(id);
    if (id == common::host::dimension::Command) return Variant(std::static_pointer_cast<Dispatch>(command));
    auto it = props.find(id);
    if (it == props.end()) common::RaisePlatformError(common::err::MemberNotSupported, "FakeDimension");
    return it->second;
  }

  // The command and its identity in one call.
  FakeDimension& Named(std::string id, int32_t type, int32_t id1, int32_t id2) {
    command->path = {{type, std::move(id)}};
    command->identity1 = id1;
    command->identity2 = id2;
    return *this;
  }
  // Makes the dimension an axis of a group: the cursor walk passes the other commands and
  // reaches the header of the given type and ID.
  FakeDimension& InGroup(bool location, std::string headerId, int32_t headerType, int passBefore = 1) {
    namespace d = common::host::dimension;
    props[location ? d::InLocationGroup : d::InTruePositionGroup] = Variant(true);
    for (int i = 0; i < passBefore; ++i) command->path.push_back({1005, "AXIS"});
    command->path.push_back({headerType, std::move(headerId)});
    return *this;
  }
};

}  // namespace zephra::testing
