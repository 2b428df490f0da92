#pragma once
// Makes the simulated host the component "QVXHOST.Application" of this process.

#include <memory>
#include <string>

namespace zephra::hostsim {

class HostApplication;

inline constexpr const char* kHostClassId = "{5B0E9C3A-7D21-4F6E-A8C4-3E19D2B7F560}";

// The host's installation folder, "host/" in the data home, ending in a separator.
std::string HostInstallFolder();
// The server command line registered for the host (inside its installation folder).
std::string HostServerCommandLine();

// Creates the installation folder and registers the component with its class registration
// (ProgID, class identifier, server command line), so the suite creates the host by ProgID and
// finds its folder. Like a single-instance server, every creation returns the host already
// running in this process, or starts a new one when there is none or it has quit.
void RegisterHost();

// The host running in this process, if any.
std::shared_ptr<HostApplication> RunningHost();

}  // namespace zephra::hostsim
