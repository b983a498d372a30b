#pragma once
// The section names of a settings file, as the private-profile API lists
// them, spare reading a key in a section the file does not have: under Wine
// every read of a key opens and parses the whole file again.

#include "common/text.h"

// False only when the file surely lacks the section: no name matches it
// without regard to ASCII letter case and surrounding blanks. A name with
// other characters might match under the API's own case rules, so it counts
// as a match.
bool mayHoldSection(const TextList& fileSections, const Text& section);
