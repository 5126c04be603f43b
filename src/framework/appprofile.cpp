#include "framework/appprofile.h"

std::string AppProfile::Path() {
    return IniProfile::DefaultPath();
}

IniProfile AppProfile::Read() {
    IniProfile profile;
    if (!profile.Load(Path())) {
        profile = IniProfile();  // unreadable: the defaults hold
    }
    profile.SetPath(Path());
    return profile;
}

std::string AppProfile::ReadError() {
    IniProfile profile;
    return profile.Load(Path()) ? std::string() : profile.LastError();
}

bool AppProfile::Write(const std::function<void(IniProfile&)>& change) {
    IniProfile profile;
    if (!profile.Load(Path())) {
        // Writing over a profile that could not be read would lose it.
        return false;
    }
    change(profile);
    return profile.Save();
}
