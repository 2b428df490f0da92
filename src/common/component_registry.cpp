#include "component_registry.h"

#include "settings_store.h"
#include "text.h"

namespace zephra::common {

ComponentRegistry& ComponentRegistry::Instance() {
  static ComponentRegistry registry;
  return registry;
}

void ComponentRegistry::Register(const ComponentInfo& info, ComponentFactory factory, bool writeClassHive) {
  entries_[ToUpperAscii(info.progId)] = Entry{info, std::move(factory)};
  if (writeClassHive) WriteClassRegistration(info);
}

void ComponentRegistry::Unregister(std::string_view progId) { entries_.erase(ToUpperAscii(progId)); }

bool ComponentRegistry::IsRegistered(std::string_view progId) const {
  return entries_.count(ToUpperAscii(progId)) > 0;
}

std::optional<ComponentInfo> ComponentRegistry::Find(std::string_view progId) const {
  auto it = entries_.find(ToUpperAscii(progId));
  if (it == entries_.end()) return std::nullopt;
  return it->second.info;
}

std::shared_ptr<Dispatch> ComponentRegistry::Create(std::string_view progId) const {
  auto it = entries_.find(ToUpperAscii(progId));
  if (it == entries_.end() || !it->second.factory) {
    throw AutomationError(err::CannotCreateComponent, std::string(progId),
                          PlatformErrorText(err::CannotCreateComponent) + ": " + std::string(progId));
  }
  std::shared_ptr<Dispatch> object = it->second.factory();
  if (!object) {
    throw AutomationError(err::CannotCreateComponent, std::string(progId),
                          PlatformErrorText(err::CannotCreateComponent) + ": " + std::string(progId));
  }
  return object;
}

void WriteClassRegistration(const ComponentInfo& info) {
  SettingsStore& store = SettingsStore::Current();
  const KeyId classes = SettingsStore::HiveRoot(Hive::ClassesRoot);
  auto setIfChanged = [&](KeyId key, const std::string& value) {
    auto current = store.GetValue(key, "");
    if (!current || *current != value) store.SetValue(key, "", value);
  };
  store.Write([&] {
    const KeyId prog = store.CreateKey(classes, info.progId);
    setIfChanged(prog, info.progId);
    setIfChanged(store.CreateKey(prog, "CLSID"), info.classId);
    const KeyId cls = store.CreateKey(classes, "CLSID\\" + info.classId);
    setIfChanged(cls, info.progId);
    setIfChanged(store.CreateKey(cls, "ProgID"), info.progId);
    setIfChanged(store.CreateKey(cls, info.inProcess ? "InprocServer32" : "LocalServer32"), info.serverPath);
  });
}

std::shared_ptr<Dispatch> CreateObject(std::string_view progId) {
  return ComponentRegistry::Instance().Create(progId);
}

}  // namespace zephra::common
