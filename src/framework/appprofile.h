#pragma once

#include <functional>
#include <string>

#include "framework/profile.h"

// The application's INI profile on disk ($MIRVAL_PROFILE, else the user's
// configuration folder). Every read loads the file afresh and every change is
// written back at once, atomically, so a profile edited by hand or by another
// running copy is always seen as it stands.
class AppProfile {
public:
    static std::string Path();
    // The profile as it is on disk; empty when there is none or it cannot be read.
    static IniProfile Read();
    // Why the profile cannot be read; empty when it can (or does not exist).
    static std::string ReadError();
    // Loads, applies change, and saves. False when the file could not be written.
    static bool Write(const std::function<void(IniProfile&)>& change);
};
