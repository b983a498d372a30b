#pragma once
// When an application that ends is started again: the exit codes that ask
// for it, and the guard that stops a chain of restarts from looping.

#include <cstdint>
#include <vector>

#include "common/text.h"

// "Restart Exit Codes": numbers as System.exit receives them, ';'-separated.
// A piece that is not such a number, or is 0 (the ordinary end), is ignored
// and kept for tools that explain the settings.
struct RestartExitCodes {
    std::vector<std::int32_t> codes;
    TextList ignored;

    bool empty() const { return codes.empty(); }
    bool contains(std::int32_t code) const;
};

RestartExitCodes decodeRestartExitCodes(const Text& value);

// The restarts that led to this process, carried to the next one in an
// environment variable, and the process that started it.
struct RestartChain {
    std::uint32_t previousProcessId = 0;
    std::vector<std::uint64_t> restartTimes;  // milliseconds on the system clock
};

inline constexpr std::u16string_view kRestartChainVariable = u"JLAUNCH_RESTART_CHAIN";
inline constexpr std::size_t kMostRestartsInWindow = 5;
inline constexpr std::uint64_t kRestartWindowMs = 60000;

// "pid:time,time,..."; anything unreadable gives an empty chain.
RestartChain parseRestartChain(const Text& value);
Text formatRestartChain(const RestartChain& chain);

// Fewer than the most restarts happened within the window before now.
bool restartAllowed(const RestartChain& chain, std::uint64_t now);

// The chain the next process receives from this one restarting now: the
// restarts still within the window, and this one.
RestartChain nextRestartChain(const RestartChain& chain, std::uint32_t processId, std::uint64_t now);
