#pragma once
// Folders the system names for us. Both come back without a trailing '/'.

#include <string>

class CSystemFolders {
public:
    // The user's roaming application-data folder: the generic configuration
    // folder ($XDG_CONFIG_HOME, by default ~/.config).
    static std::string RoamingAppData();
    // The temporary folder ($TMPDIR, by default /tmp); empty when there is none.
    static std::string Temp();
};
