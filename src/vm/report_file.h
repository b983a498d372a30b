#pragma once
// A file the runtime writes a report into that the launcher then reads back,
// even from the VM's exit hook, where no Java code can run any more.

#include <string>

#include "common/text.h"

class ReportFile {
public:
    virtual ~ReportFile() = default;  // removes the file
    virtual const Text& path() const = 0;
    // What has been written so far; empty when nothing or unreadable.
    virtual std::string read() const = 0;
    // For the exit hook: the process ends without unwinding.
    virtual void remove() = 0;
};
