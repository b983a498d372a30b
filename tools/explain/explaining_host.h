#pragma once
// The host that runs the launch plan without acting: each step is noted in a
// launch account, and a step whose outcome only running could tell is given
// the answer that lets the account go on (or stop, for the JVM library).

#include "explain/launch_account.h"
#include "launcher/launch_host.h"

class ExplainingHost final : public LaunchHost, private Messages {
public:
    ExplainingHost(const Text& launcherPath, const ArgumentList& arguments, ExplainPlatform& platform);

    LaunchAccount& account() { return account_; }
    // The splash the launch starts, when it gets that far.
    SplashKind splashKind() const { return splashNotes_.kind; }
    // What main's class is looked up by, when the launch gets to the VM.
    const std::optional<MainClassSource>& mainLookup() const { return mainLookup_; }

    LaunchMachine machine() override;
    ArgumentList commandLineArguments() override { return account_.commandLine; }
    ExecutablePath executablePath() override { return {account_.launcherPath}; }
    bool isNtPlatform() override { return platform_.isNtPlatform; }
    bool isX86Library(const Text& library) override { return platform_.isX86Library(library); }
    InstanceStart startSingleInstance(const Text& modulePath, const ArgumentList& arguments, const Text& mainClass,
                                      bool ibmAdmitted) override;
    std::int32_t setAppUserModelId(const Text&) override { return 0; }
    void changeDirectory(const Text& folder) override;
    std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type,
                                               const RuntimeChoiceRecord& searched) override;
    PairLauncherRun runPairLauncher(const Text& pairProduct, bool waitForExit) override;
    LaterStartEnd waitForFirstInstance() override { return {}; }
    SplashStarter& splash() override { return splashNotes_; }
    LibraryLoad loadJvmLibrary(const Text& library) override;
    void restartOnExitCodes(const RestartExitCodes&) override {}
    std::uint32_t runJavaMain(JavaMainJob job, std::uint64_t stackSize) override;
    void closeNativeSplash() override {}

private:
    // Notes which splash the launch starts. The runtime's library is taken as
    // willing: whether it loads is known only by loading it.
    class SplashNotes final : public SplashStarter {
    public:
        bool startNative(const Text&, const Text&) override {
            kind = SplashKind::Native;
            return true;
        }
        void startOwn(const Text&, bool) override { kind = SplashKind::Own; }

        SplashKind kind = SplashKind::None;
    };

    Text text(TextId id) const override { return platform_.texts.text(id); }
    void showError(const Text& message) override { account_.message = message; }

    ExplainPlatform& platform_;
    LaunchAccount account_;
    SplashNotes splashNotes_;
    std::optional<MainClassSource> mainLookup_;
};
