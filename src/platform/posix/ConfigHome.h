#pragma once

#include <string>

namespace scourix {

// Where the running user's settings live. The environment names the folders, but it may
// be another user's: `sudo -E` keeps HOME and XDG_CONFIG_HOME, and a folder made there as
// root would leave the user unable to save their own settings. So a folder from the
// environment is used only when it is the effective user's own (or would be made inside
// a folder of theirs); otherwise the home the password database gives that user is used,
// and XDG_CONFIG_HOME is ignored.
class ConfigHome {
public:
    // $XDG_CONFIG_HOME/scourix, else $HOME/.config/scourix, by the rule above; "" when
    // there is none (no HOME, or one that is not an absolute path).
    static std::string folder();

    // Whether path, or the nearest folder above it that exists, belongs to the effective
    // user.
    static bool ownedByMe(const std::string& path);
};

}  // namespace scourix
