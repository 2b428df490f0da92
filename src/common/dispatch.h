#pragma once
// Late-bound objects: members called by name or by dispatch number, arguments that the callee
// may write back (by reference), and events fired to connected sinks.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation_error.h"
#include "variant.h"

namespace zephra::common {

using DispId = int32_t;

enum class InvokeKind { Method = 1, PropertyGet = 2, PropertyPut = 4 };

class Dispatch;

class EventSink {
 public:
  virtual ~EventSink() = default;
  // args may be written by the sink where the event passes arguments by reference.
  virtual void OnEvent(Dispatch& source, DispId event, Args& args) = 0;
};

// A sink that forwards to a function; handy for tests and small adapters.
class FunctionSink : public EventSink {
 public:
  using Handler = std::function<void(Dispatch&, DispId, Args&)>;
  explicit FunctionSink(Handler h) : handler_(std::move(h)) {}
  void OnEvent(Dispatch& source, DispId event, Args& args) override { handler_(source, event, args); }

 private:
  Handler handler_;
};

struct MemberInfo {
  DispId id;
  std::string name;
};

class Dispatch : public std::enable_shared_from_this<Dispatch> {
 public:
  virtual ~Dispatch() = default;

  // The class name shown in errors and listings.
  virtual std::string TypeName() const = 0;
  // Calls a member. For a property put, the value is the last argument.
  virtual Variant Invoke(DispId id, InvokeKind kind, Args& args) = 0;
  // Member number for a name, compared without regard to case.
  virtual std::optional<DispId> IdOfName(std::string_view name) const = 0;
  virtual std::vector<MemberInfo> Members() const { return {}; }

  // Conveniences for callers.
  Variant Get(DispId id);
  Variant Get(DispId id, Args args);
  void Put(DispId id, Variant value);
  Variant Call(DispId id, Args& args);
  Variant Call(DispId id, std::initializer_list<Variant> args = {});
  Variant GetByName(std::string_view name);
  void PutByName(std::string_view name, Variant value);
  Variant CallByName(std::string_view name, Args& args);
  Variant CallByName(std::string_view name, std::initializer_list<Variant> args = {});

  // Event connections; the cookie disconnects. Sinks are called in the order they connected.
  int Connect(std::shared_ptr<EventSink> sink);
  void Disconnect(int cookie);
  size_t SinkCount() const { return sinks_.size(); }

 protected:
  void FireEvent(DispId event, Args& args);
  void FireEvent(DispId event, std::initializer_list<Variant> args = {});
  DispId ResolveName(std::string_view name) const;

 private:
  std::vector<std::pair<int, std::shared_ptr<EventSink>>> sinks_;
  int nextCookie_ = 1;
};

// The argument at index i, or Missing when the caller passed fewer.
inline const Variant& Arg(const Args& args, size_t i) {
  static const Variant missing = Variant::Missing();
  return i < args.size() ? args[i] : missing;
}

// A member table shared by every object of a class T.
template <class T>
class DispatchTable {
 public:
  using Getter = std::function<Variant(T&, Args&)>;
  using Setter = std::function<void(T&, Args&, const Variant&)>;

  DispatchTable& Method(DispId id, std::string name, Getter fn) {
    Entry& e = Add(id, std::move(name));
    e.call = std::move(fn);
    return *this;
  }
  DispatchTable& Property(DispId id, std::string name, Getter get, Setter put = nullptr) {
    Entry& e = Add(id, std::move(name));
    e.get = std::move(get);
    e.put = std::move(put);
    return *this;
  }

  Variant Invoke(T& self, DispId id, InvokeKind kind, Args& args) const {
    auto it = entries_.find(id);
    if (it == entries_.end()) RaisePlatformError(err::MemberNotSupported, self.TypeName());
    const Entry& e = it->second;
    switch (kind) {
      case InvokeKind::PropertyPut:
        if (!e.put || args.empty()) RaisePlatformError(err::MemberNotSupported, self.TypeName());
        {
          const Variant value = args.back();
          Args index(args.begin(), args.end() - 1);
          e.put(self, index, value);
        }
        return Variant();
      case InvokeKind::PropertyGet:
        if (e.get) return e.get(self, args);
        if (e.call) return e.call(self, args);
        break;
      case InvokeKind::Method:
        if (e.call) return e.call(self, args);
        if (e.get) return e.get(self, args);
        break;
    }
    RaisePlatformError(err::MemberNotSupported, self.TypeName());
  }

  std::optional<DispId> Find(std::string_view name) const {
    std::string upper(name);
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    auto it = byName_.find(upper);
    if (it == byName_.end()) return std::nullopt;
    return it->second;
  }

  std::vector<MemberInfo> Members() const {
    std::vector<MemberInfo> out;
    for (const auto& [id, e] : entries_) out.push_back({id, e.name});
    return out;
  }

 private:
  struct Entry {
    std::string name;
    Getter get;
    Getter call;
    Setter put;
  };

  Entry& Add(DispId id, std::string name) {
    std::string upper = name;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    byName_[upper] = id;
    Entry& e = entries_[id];
    e.name = std::move(name);
    return e;
  }

  std::map<DispId, Entry> entries_;
  std::map<std::string, DispId> byName_;
};

// Base for classes whose members come from a static DispatchTable<T> returned by T::Table().
template <class T>
class DispatchObject : public Dispatch {
 public:
  Variant Invoke(DispId id, InvokeKind kind, Args& args) override {
    return T::Table().Invoke(static_cast<T&>(*this), id, kind, args);
  }
  std::optional<DispId> IdOfName(std::string_view name) const override {
    return T::Table().Find(name);
  }
  std::vector<MemberInfo> Members() const override { return T::Table().Members(); }
};

}  // namespace zephra::common
