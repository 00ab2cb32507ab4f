// The platform as the installer and the uninstaller reach it.
#pragma once

namespace kv {

class ClockPort;
class DesktopPort;
class DevicePort;
class IniPort;
class ProcessPort;
class ProcessWaitPort;
class RegistryPort;
class RegistryTreePort;
class RestartPort;

struct SetupPorts {
    RegistryPort& registry;
    RegistryTreePort& registryTree;
    IniPort& ini;
    ProcessPort& process;  // FileExists
    DesktopPort& desktop;
    RestartPort& restart;
};

}  // namespace kv
