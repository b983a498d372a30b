#pragma once
// The thread the application's Java code runs on, with a stack of the size
// the VM options ask for, and what that thread asks of Windows.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>

#include "vm/main_invocation.h"

// Runs the work on a new thread with that committed stack size (0: the
// executable's default) and waits for it without a time limit, running APCs
// queued to the calling thread meanwhile. When no thread can be created the
// work runs on the calling thread instead.
std::uint32_t runOnJavaMainThread(std::uint64_t stackSize, const std::function<std::uint32_t()>& work);

class WindowsJavaMainActions final : public JavaMainActions {
public:
    // mainStarted: the event later starts wait for, or null. foundMainClass:
    // receives a class the jar or module named. closeSplash: closes the
    // launcher's own splash window, if one is shown. reportUncaught: tells the
    // user of an uncaught exception (a dialog, or standard error).
    // mainStarting: told just before main is called, after later starts are let go on.
    WindowsJavaMainActions(HANDLE mainStarted, Text& foundMainClass, std::function<void()> closeSplash,
                           std::function<ExceptionChoice(const Text&)> reportUncaught,
                           std::function<void()> beforeApplicationCode, std::function<void()> mainStarting)
        : mainStarted_(mainStarted), foundMainClass_(foundMainClass), closeSplash_(std::move(closeSplash)),
          reportUncaught_(std::move(reportUncaught)), beforeApplicationCode_(std::move(beforeApplicationCode)),
          mainStarting_(std::move(mainStarting)) {}

    void mainClassFound(const Text& className) override { foundMainClass_ = className; }
    std::unique_ptr<ReportFile> newReportFile() override;
    void signalMainStarted() override;
    void closeSplash() override;
    ExceptionChoice showExceptionDialog(const Text& report) override;
    void sleepForever() override;
    void beforeApplicationCode() override { beforeApplicationCode_(); }

private:
    HANDLE mainStarted_;
    Text& foundMainClass_;
    std::function<void()> closeSplash_;
    std::function<ExceptionChoice(const Text&)> reportUncaught_;
    std::function<void()> beforeApplicationCode_;
    std::function<void()> mainStarting_;
};
