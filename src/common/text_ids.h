#pragma once
// Ids of the string table and dialog templates, shared with the resource script.

#include "../../resources/resource_ids.h"

using TextId = int;
