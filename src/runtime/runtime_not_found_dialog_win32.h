#pragma once
// The dialog that tells the user no runtime was found, links to the download
// site and lets them browse to a runtime folder already installed.

#include <optional>

#include "common/messages.h"
#include "common/platform.h"
#include "common/text.h"
#include "runtime/runtime_choice.h"

// Shows dialog 201 owned by the active window. The folder the user confirmed
// with OK and its JVM library of the type; nothing for Cancel, for closing
// the dialog and when it cannot be shown.
std::optional<PickedRuntime> showRuntimeNotFoundDialog(const Text& message, JvmType type, const FileProbe& files,
                                                      const Messages& messages);
