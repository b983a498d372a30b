#pragma once
// What "Application Type=service" asks of a launch started by the service
// control manager: how a stop request ends the application, how long the
// service waits for it, and the service exit codes it reports.

#include <cstdint>
#include <optional>

#include "common/text.h"
#include "launcher/settings_store.h"
#include "vm/service_stop_method.h"

inline constexpr std::uint32_t kDefaultServiceStopSeconds = 20;
inline constexpr std::uint32_t kLongestServiceStopSeconds = 3600;

struct ServiceStopSettings {
    // "Service Stop Method", class.method. None: a stop ends the application as System.exit(0) would.
    std::optional<ServiceStopMethod> method;
    std::uint32_t timeoutSeconds = kDefaultServiceStopSeconds;
    // Values that could not be used, as written (empty: none); the defaults stand in for them.
    Text unusableMethod;
    Text unusableTimeout;
};

ServiceStopSettings decodeServiceStop(const Text& method, const Text& timeout);

// What a service started by the service control manager needs before its
// launch has read its settings: where its messages go besides the event log.
struct ServiceConfiguration {
    Text errorFile;  // "Error File" as written, before expansion
};

// Read from the settings beside the executable: none when "Application Type"
// is not "service" (or there are no settings to read).
std::optional<ServiceConfiguration> readServiceConfiguration(const SettingsStore& store, const Text& modulePath);

// How the service control manager is told the application's exit code: 0 as
// success, any other as a service-specific error carrying it.
struct ServiceExitCodes {
    std::uint32_t win32 = 0;
    std::uint32_t serviceSpecific = 0;
};

inline constexpr std::uint32_t kServiceSpecificError = 1066;  // ERROR_SERVICE_SPECIFIC_ERROR

ServiceExitCodes serviceExitCodesFor(std::uint32_t applicationExitCode);
