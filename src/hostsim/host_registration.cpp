#include "host_registration.h"

#include "common/component_registry.h"
#include "common/host_interface.h"
#include "common/paths.h"
#include "host_application.h"

namespace zephra::hostsim {

namespace {

std::weak_ptr<HostApplication>& Running() {
  static std::weak_ptr<HostApplication> running;
  return running;
}

}  // namespace

std::string HostInstallFolder() { return common::AddSeparator(common::JoinPath(common::DataHome(), "host")); }

std::string HostServerCommandLine() { return common::JoinPath(HostInstallFolder(), "zephra-hostsim") + " --automation"; }

std::shared_ptr<HostApplication> RunningHost() {
  auto host = Running().lock();
  return host && !host->HasQuit() ? host : nullptr;
}

void RegisterHost() {
  common::MakeDirectories(HostInstallFolder());
  common::ComponentInfo info;
  info.progId = common::host::kProgId;
  info.classId = kHostClassId;
  info.serverPath = HostServerCommandLine();
  info.inProcess = false;
  common::ComponentRegistry::Instance().Register(info, []() -> std::shared_ptr<common::Dispatch> {
    if (auto host = RunningHost()) return host;
    auto host = HostApplication::Create(HostInstallFolder(),
                                        common::JoinPath(common::ResourceDirectory(), "samples"));
    Running() = host;
    return host;
  });
}

}  // namespace zephra::hostsim
