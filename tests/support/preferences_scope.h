#pragma once

#include "platform/preferences.h"

namespace td::test {

// Points QSettings, for the rest of the test process, at a folder of its
// own, so no test reads or writes the user's settings. Called by every fake world.
void keepSettingsPrivate();

// Preferences stored for one test, told to the open windows as a change in
// the preferences dialog is; the defaults again when the test ends.
class ScopedPreferences {
public:
    explicit ScopedPreferences(const Preferences& preferences)
    {
        keepSettingsPrivate();
        savePreferences(preferences);
    }
    ~ScopedPreferences() { savePreferences(Preferences{}); }
    ScopedPreferences(const ScopedPreferences&) = delete;
    ScopedPreferences& operator=(const ScopedPreferences&) = delete;
};

}  // namespace td::test
