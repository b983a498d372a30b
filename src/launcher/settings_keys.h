#pragma once
// Every section and key of the settings file, spelt exactly as packagers write them.

#include <array>
#include <string_view>

struct SettingKey {
    std::u16string_view section;
    std::u16string_view key;
};

namespace settings_keys {

inline constexpr std::u16string_view kProductSection = u"Product Information";
inline constexpr std::u16string_view kApplicationSection = u"Application";
inline constexpr std::u16string_view kRuntimeSection = u"Java Runtime Environment";
inline constexpr std::u16string_view kClassPathSection = u"Class Path";
inline constexpr std::u16string_view kDisplaySection = u"Display";

// Read from the settings file alone.
inline constexpr SettingKey kProductCode{kProductSection, u"Product Code"};
inline constexpr SettingKey kUpgradeCode{kProductSection, u"Upgrade Code"};
inline constexpr SettingKey kProductName{kProductSection, u"Product Name"};
inline constexpr SettingKey kSplashScreen{kDisplaySection, u"Splash Screen"};
inline constexpr SettingKey kSplashShadow{kDisplaySection, u"Splash Screen Shadow"};
inline constexpr SettingKey kPreferNativeSplash{kDisplaySection, u"Preffer Native Splash Screen"};

// Read through the layered settings.
inline constexpr SettingKey kApplicationType{kApplicationSection, u"Application Type"};
inline constexpr SettingKey kSingleInstance{kApplicationSection, u"Single Instance"};
inline constexpr SettingKey kFailureCheck{kApplicationSection, u"Failure Check"};
inline constexpr SettingKey kOverrideWorkingDir{kApplicationSection, u"Override WorkingDir"};
inline constexpr SettingKey kPairProduct{kApplicationSection, u"Pair Product"};
inline constexpr SettingKey kPairReturnCode{kApplicationSection, u"Pair Return Code"};
inline constexpr SettingKey kEmbeddedJar{kApplicationSection, u"Embedded Jar"};
inline constexpr SettingKey kOutputFile{kApplicationSection, u"Output File"};
inline constexpr SettingKey kErrorFile{kApplicationSection, u"Error File"};
inline constexpr SettingKey kCmd{kApplicationSection, u"Cmd"};
inline constexpr SettingKey kAppUserModelId{kApplicationSection, u"App User Model ID"};
inline constexpr SettingKey kRestartExitCodes{kApplicationSection, u"Restart Exit Codes"};
inline constexpr SettingKey kServiceStopMethod{kApplicationSection, u"Service Stop Method"};
inline constexpr SettingKey kServiceStopTimeout{kApplicationSection, u"Service Stop Timeout"};
inline constexpr SettingKey kMinimumVersion{kRuntimeSection, u"Minimum Version"};
inline constexpr SettingKey kMaximumVersion{kRuntimeSection, u"Maximum Version"};
inline constexpr SettingKey kPreferredVersions{kRuntimeSection, u"Preferred versions"};
inline constexpr SettingKey kJrePath{kRuntimeSection, u"JRE Path"};
inline constexpr SettingKey kJvmType{kRuntimeSection, u"JVM Type"};
inline constexpr SettingKey kJvmSource{kRuntimeSection, u"JVM Source"};
inline constexpr SettingKey kVmProvider{kRuntimeSection, u"VM Provider"};
inline constexpr SettingKey kRegistryKeys{kRuntimeSection, u"Registry Keys"};
inline constexpr SettingKey kEnvironmentRuntimes{kRuntimeSection, u"Environment Runtimes"};
inline constexpr SettingKey kMainClass{kRuntimeSection, u"Main Class"};
inline constexpr SettingKey kMainJar{kRuntimeSection, u"Main Jar"};
inline constexpr SettingKey kMainModule{kRuntimeSection, u"Main Module"};
inline constexpr SettingKey kSystemPath{kRuntimeSection, u"System Path"};
inline constexpr SettingKey kLibraryPath{kRuntimeSection, u"Library Path"};
inline constexpr SettingKey kVmParameters{kRuntimeSection, u"Virtual Machine Parameters"};
inline constexpr SettingKey kClassPath{kClassPathSection, u"Class Path"};
inline constexpr SettingKey kModulePath{kClassPathSection, u"Module Path"};

// Every key, for tools that list them all.
inline constexpr std::array kKeysReadFromFile{kProductCode, kUpgradeCode, kProductName,
                                              kSplashScreen, kSplashShadow, kPreferNativeSplash};
inline constexpr std::array kKeysReadLayered{
    kApplicationType, kSingleInstance, kFailureCheck, kOverrideWorkingDir, kPairProduct, kPairReturnCode,
    kEmbeddedJar, kOutputFile, kErrorFile, kCmd, kAppUserModelId, kRestartExitCodes, kServiceStopMethod, kServiceStopTimeout, kMinimumVersion, kMaximumVersion, kPreferredVersions,
    kJrePath, kJvmType, kJvmSource, kVmProvider, kRegistryKeys, kEnvironmentRuntimes, kMainClass, kMainJar, kMainModule,
    kSystemPath, kLibraryPath, kVmParameters, kClassPath, kModulePath};

} // namespace settings_keys
