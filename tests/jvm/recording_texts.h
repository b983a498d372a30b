#pragma once
// The launcher's text functions for the Linux JVM tests: LoadText gives "#<id>"
// and every message box is recorded instead of shown. ReportError records
// "#<format id>(<arg>|<arg>...)", so a test sees which texts were combined.

#include <vector>

#include "common/text.h"

std::vector<Text> shownMessages();
void clearShownMessages();
