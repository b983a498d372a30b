#pragma once
// A report file in the user's temporary folder.

#include <memory>

#include "vm/report_file.h"

// Nothing when the temporary folder has no room for one.
std::unique_ptr<ReportFile> newTemporaryReportFile();
