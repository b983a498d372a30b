#pragma once
// The dialog that shows an uncaught Java exception and lets the user go on or stop.

#include "common/text.h"
#include "vm/main_invocation.h"

// An empty report shows nothing and counts as Ignore; a dialog that cannot be shown counts as Stop.
ExceptionChoice showExceptionDialog(const Text& report);
