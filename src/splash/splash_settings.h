#pragma once
// The splash settings of the "Display" section, as written in the settings file.

#include "common/text.h"

struct SplashSettings {
    Text image;         // "Splash Screen": the image file; empty: no splash
    Text shadow;        // "Splash Screen Shadow"
    Text preferNative;  // "Preffer Native Splash Screen"

    // Only the exact word "true" asks for the drop shadow.
    bool wantsShadow() const { return shadow == u"true"; }
    // "Yes" in any letter case prefers the runtime's own splash library.
    bool prefersNative() const { return preferNative.equalsIgnoreCase(u"Yes"); }
};
