#pragma once
// The dialog that shows an uncaught Java exception and lets the user go on or stop.

#include "common/text.h"

enum class ExceptionDialogAnswer { Ignore, Stop };

// An empty report shows nothing and counts as Ignore; a dialog that cannot be shown counts as Stop.
ExceptionDialogAnswer showExceptionDialog(const Text& report);
