#pragma once
// The words a report uses for each state of a launch account: an id for JSON
// and a phrase for people.

#include "explain/launch_account.h"
#include "launcher/app_user_model_id.h"

struct Name {
    const char16_t* id;
    const char16_t* phrase;
};

Name nameOf(ValueOrigin origin);
Name nameOf(RuntimeSource source);
Name nameOf(SourceOutcome outcome);
Name nameOf(RegistryKeyOutcome outcome);
Name nameOf(RegistryEntryOutcome outcome);
Name nameOf(ChoiceReason reason);
Name nameOf(RegistryView view);
Name nameOf(LibraryLoad::Result result);
Name nameOf(SplashKind kind);
Name nameOf(LaunchOutcome outcome);
Name nameOf(LaunchMode mode);

enum class MainClassOrigin { Setting, Manifest, ModuleSetting, Descriptor };
MainClassOrigin mainClassOrigin(const MainAccount& main);
Name nameOf(MainClassOrigin origin);
Name nameOf(MainSourceProblem problem);
Name nameOf(AppUserModelIdProblem problem);
