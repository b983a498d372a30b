#pragma once
// Ids of the string table and dialog templates, shared with the resource script.

#include "../../resources/resource_ids.h"
#include "common/text.h"

using TextId = int;

// Looks a text up by id: LoadText in the launcher, a stand-in in tests.
using TextLoader = Text (*)(TextId);
