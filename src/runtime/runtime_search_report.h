#pragma once
// Where a runtime search looked and why nothing there was taken, in the
// user's language: what the console launcher prints when no runtime is found.

#include "common/messages.h"
#include "common/text.h"
#include "runtime/runtime_choice_record.h"

// One line per place, "<place>: <reason>", in the order searched; sources
// that were not configured are left out. programFolder ends in a backslash.
TextList runtimeSearchReport(const RuntimeChoiceRecord& searched, const Text& programFolder,
                             const Messages& messages);
