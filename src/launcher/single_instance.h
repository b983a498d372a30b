#pragma once
// What single-instance operation decides without the platform: whether the
// settings ask for it, and the names of the objects the processes of one
// executable share.

#include <cstdint>

#include "common/text.h"
#include "launcher/settings_source.h"

// "Single Instance" is "yes" exactly and "Application Type" is not "service".
bool singleInstanceRequested(const SettingsSource& layered);

// The executable's full path with every backslash replaced by '_'. It names
// the shared block and the registered message.
Text instanceName(const Text& modulePath);

// Set just before main is called; hand-overs wait for it.
Text mainStartedEventName(const Text& instance);

// Held by the process that sets up the first instance or writes a hand-over.
Text handOverMutexName(const Text& instance);

// Created by a later start, set by the first instance once it has copied the
// arguments of the later start whose main thread has this id.
Text argumentsTakenEventName(const Text& instance, std::uint32_t laterThreadId);
