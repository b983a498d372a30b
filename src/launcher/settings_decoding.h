#pragma once
// How each settings value is decoded. Mode words are compared either exactly
// or without regard to case, fixed per key.

#include "common/text.h"
#include "launcher/launch_settings.h"

// "Yes" in any letter case: the on/off switches.
bool isYesAnyCase(const Text& value);

bool decodeIsService(const Text& applicationType);      // "service", exact
bool decodeSingleInstance(const Text& singleInstance);  // "yes", exact
JvmType decodeJvmType(const Text& value);
JavaVersion decodeMinimumVersion(const Text& value);
JavaVersion decodeMaximumVersion(const Text& value);
TextList decodePreferredVersions(const Text& value);
Text decodeMainClass(const Text& value);                // '.' becomes '/'
bool decodeClassicKeysOnly(const Text& registryKeys);   // "classic", exact
// "first" or "no", exact; anything else is the default, Last.
EnvironmentRuntimes decodeEnvironmentRuntimes(const Text& value);

// Sets includeJdk, includeJre and favourKind.
void decodeJvmSource(const Text& value, RuntimeConstraints& constraints);
// Sets the six provider flags; unknown words leave them as they are.
void decodeVmProvider(const Text& value, RuntimeConstraints& constraints);
