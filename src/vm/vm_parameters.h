#pragma once
// "Virtual Machine Parameters": blank-separated tokens in which double-quoted
// sections keep their blanks.

#include "common/text.h"

// Tokens split at blanks outside quoted sections. A quoted section ends at the
// next double quote, or at a pair of them; an unpaired quote protects nothing.
// Runs of blanks, also at the start and the end, separate and give no token.
TextList splitVmParameters(const Text& parameters);

// Removes the quotes of each quoted section and keeps its content; in a
// closing pair the first quote stays as a literal one.
Text removeQuotes(Text token);
