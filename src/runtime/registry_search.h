#pragma once
// One pass over the runtimes registered in one registry view: the keys the
// settings allow, the entries within the limits that hold a JVM library of
// the type, ranked, and the one the preferences choose.

#include <optional>

#include "common/platform.h"
#include "common/text.h"
#include "runtime/registry.h"
#include "runtime/runtime_choice_record.h"
#include "runtime/runtime_constraints.h"

// The chosen runtime's home folder (ending in a backslash), or nothing when
// no entry is a candidate. A record, when given, receives what was tried.
std::optional<Text> searchRegistry(RegistryView view, const RuntimeConstraints& constraints, const Registry& registry,
                                   const FileProbe& files, RegistryPassRecord* record = nullptr);
