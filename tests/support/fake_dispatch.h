#pragma once
// A stand-in automation object for tests: properties answered from a map, methods from
// functions, and a count of every read so tests can see how often a member was called.

#include <functional>
#include <map>
#include <string>

#include "common/dispatch.h"

namespace zephra::testing {

class FakeObject : public common::Dispatch {
 public:
  explicit FakeObject(std::string name = "FakeObject") : name_(std::move(name)) {}

  FakeObject& Set(common::DispId id, common::Variant value) {
    props_[id] = std::move(value);
    return *this;
  }
  FakeObject& On(common::DispId id, std::function<common::Variant(common::Args&)> fn) {
    methods_[id] = std::move(fn);
    return *this;
  }
  int Reads(common::DispId id) const {
    auto it = reads_.find(id);
    return it == reads_.end() ? 0 : it->second;
  }
  int TotalReads() const {
    int n = 0;
    for (const auto& [id, count] : reads_) n += count;
    return n;
  }

  std::string TypeName() const override { return name_; }
  common::Variant Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) override {
    ++reads_[id];
    if (kind == common::InvokeKind::PropertyPut) {
      props_[id] = args.empty() ? common::Variant() : args.back();
      return {};
    }
    if (auto m = methods_.find(id); m != methods_.end()) return m->second(args);
    if (auto p = props_.find(id); p != props_.end()) return p->second;
    common::RaisePlatformError(common::err::MemberNotSupported, name_);
  }
  std::optional<common::DispId> IdOfName(std::string_view) const override { return std::nullopt; }

 private:
  std::string name_;
  std::map<common::DispId, common::Variant> props_;
  std::map<common::DispId, std::function<common::Variant(common::Args&)>> methods_;
  std::map<common::DispId, int> reads_;
};

}  // namespace zephra::testing
