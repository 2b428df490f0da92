#include "dispatch.h"

#include <algorithm>

namespace zephra::common {

Variant Dispatch::Get(DispId id) {
  Args args;
  return Invoke(id, InvokeKind::PropertyGet, args);
}

Variant Dispatch::Get(DispId id, Args args) { return Invoke(id, InvokeKind::PropertyGet, args); }

void Dispatch::Put(DispId id, Variant value) {
  Args args{std::move(value)};
  Invoke(id, InvokeKind::PropertyPut, args);
}

Variant Dispatch::Call(DispId id, Args& args) { return Invoke(id, InvokeKind::Method, args); }

Variant Dispatch::Call(DispId id, std::initializer_list<Variant> args) {
  Args a(args);
  return Invoke(id, InvokeKind::Method, a);
}

DispId Dispatch::ResolveName(std::string_view name) const {
  auto id = IdOfName(name);
  if (!id) RaisePlatformError(err::MemberNotSupported, TypeName());
  return *id;
}

Variant Dispatch::GetByName(std::string_view name) { return Get(ResolveName(name)); }

void Dispatch::PutByName(std::string_view name, Variant value) { Put(ResolveName(name), std::move(value)); }

Variant Dispatch::CallByName(std::string_view name, Args& args) { return Call(ResolveName(name), args); }

Variant Dispatch::CallByName(std::string_view name, std::initializer_list<Variant> args) {
  Args a(args);
  return Call(ResolveName(name), a);
}

int Dispatch::Connect(std::shared_ptr<EventSink> sink) {
  const int cookie = nextCookie_++;
  sinks_.emplace_back(cookie, std::move(sink));
  return cookie;
}

void Dispatch::Disconnect(int cookie) {
  sinks_.erase(std::remove_if(sinks_.begin(), sinks_.end(),
                              [cookie](const auto& s) { return s.first == cookie; }),
               sinks_.end());
}

void Dispatch::FireEvent(DispId event, Args& args) {
  // A sink may disconnect itself or others while handling the event; work on a copy and skip
  // sinks that are gone by the time their turn comes.
  const auto snapshot = sinks_;
  for (const auto& [cookie, sink] : snapshot) {
    const bool stillConnected = std::any_of(sinks_.begin(), sinks_.end(),
                                            [c = cookie](const auto& s) { return s.first == c; });
    if (stillConnected) sink->OnEvent(*this, event, args);
  }
}

void Dispatch::FireEvent(DispId event, std::initializer_list<Variant> args) {
  Args a(args);
  FireEvent(event, a);
}

}  // namespace zephra::common
