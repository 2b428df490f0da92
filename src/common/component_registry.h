#pragma once
// Components created by ProgID. Every program registers the components it serves at start-up;
// registering also writes the class registration (ProgID, class identifier, server path) into
// the settings store's class hive, so look-ups of class registrations work.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dispatch.h"

namespace zephra::common {

struct ComponentInfo {
  std::string progId;
  std::string classId;     // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
  std::string serverPath;  // the server's command line, or the library for in-process servers
  bool inProcess = false;
};

using ComponentFactory = std::function<std::shared_ptr<Dispatch>()>;

class ComponentRegistry {
 public:
  static ComponentRegistry& Instance();

  // Registers a factory under the ProgID (matched without regard to case). With
  // writeClassHive the class registration is written to the settings store as well.
  void Register(const ComponentInfo& info, ComponentFactory factory, bool writeClassHive = true);
  void Unregister(std::string_view progId);
  bool IsRegistered(std::string_view progId) const;
  std::optional<ComponentInfo> Find(std::string_view progId) const;

  // A new object of the component; error 429 when no such component is registered or its
  // factory fails.
  std::shared_ptr<Dispatch> Create(std::string_view progId) const;

 private:
  struct Entry {
    ComponentInfo info;
    ComponentFactory factory;
  };
  std::map<std::string, Entry> entries_;  // by upper-cased ProgID
};

// Writes ProgID\CLSID, CLSID\{id}\ProgID and CLSID\{id}\LocalServer32 (or InprocServer32) into
// the class hive. Failures of the store are reported as StoreError.
void WriteClassRegistration(const ComponentInfo& info);

// Shorthand for ComponentRegistry::Instance().Create(progId).
std::shared_ptr<Dispatch> CreateObject(std::string_view progId);

}  // namespace zephra::common
