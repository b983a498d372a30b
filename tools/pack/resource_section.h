#pragma once
// Replacing the resources of a PE image. The resource section is rebuilt in
// place when it is the last section or only the base relocations follow it
// (they are moved behind it); otherwise a new resource section is added at
// the end and the old one is left unused. Section table, image size, data
// directories, debug and symbol pointers into a moved overlay, and the
// checksum are made to match. Signed images are refused: any change would
// break the signature.

#include "pack/pe_file.h"
#include "pack/resource_tree.h"

Outcome<Bytes> withResources(ByteView image, const PeFile& pe, const ResourceList& resources);
