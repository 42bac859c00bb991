// ripplume-add-to-xscreensaver [--remove]: puts Ripplume on the list of
// display modes in ~/.xscreensaver (or takes it off), so that XScreenSaver
// runs it and xscreensaver-settings offers it. The file is replaced whole,
// keeping its permissions, only when something changes.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "renderer/x11/xscreensaver_list.h"

namespace {

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return !file.bad();
}

bool ReplaceWhole(const std::string& path, const std::string& text) {
    struct stat old = {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    const std::string fresh = path + ".ripplume-new";
    {
        std::ofstream file(fresh, std::ios::binary | std::ios::trunc);
        file << text;
        file.flush();
        if (!file) {
            std::remove(fresh.c_str());
            return false;
        }
    }
    if (chmod(fresh.c_str(), mode) != 0 || std::rename(fresh.c_str(), path.c_str()) != 0) {
        std::remove(fresh.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool remove = argc == 2 && std::string(argv[1]) == "--remove";
    if (argc > 2 || (argc == 2 && !remove)) {
        std::fprintf(stderr, "usage: ripplume-add-to-xscreensaver [--remove]\n");
        return 2;
    }
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        std::fprintf(stderr, "ripplume-add-to-xscreensaver: HOME is not set\n");
        return 1;
    }
    std::string path = std::string(home) + "/.xscreensaver";
    // A file kept elsewhere and linked here (as dotfile managers do) is
    // edited where it lies, so that the link stays.
    if (char* target = realpath(path.c_str(), nullptr)) {
        path = target;
        std::free(target);
    }
    std::string user;
    struct stat info = {};
    if (stat(path.c_str(), &info) == 0 && !ReadWhole(path, user)) {
        std::fprintf(stderr, "ripplume-add-to-xscreensaver: cannot read %s\n", path.c_str());
        return 1;
    }
    // The system's list, which a user file without a list of its own starts from.
    const char* defaultsPath = std::getenv("RIPPLUME_APP_DEFAULTS");
    std::string defaults;
    ReadWhole(defaultsPath && *defaultsPath ? defaultsPath : "/etc/X11/app-defaults/XScreenSaver", defaults);

    const ListEdit edit = remove ? WithoutRipplume(user) : WithRipplumeListed(user, defaults);
    if (!edit.Error.empty()) {
        std::fprintf(stderr, "ripplume-add-to-xscreensaver: %s is left as it was: %s\n", path.c_str(),
                     edit.Error.c_str());
        return 1;
    }
    if (edit.Changed && !ReplaceWhole(path, edit.Text)) {
        std::fprintf(stderr, "ripplume-add-to-xscreensaver: cannot write %s\n", path.c_str());
        return 1;
    }
    if (remove) {
        std::printf(edit.Changed ? "Ripplume is off the list in %s.\n" : "Ripplume was not on the list in %s.\n",
                    path.c_str());
    } else {
        std::printf(edit.Changed ? "Ripplume is on the list in %s: choose it in xscreensaver-settings.\n"
                                 : "Ripplume is already on the list in %s.\n",
                    path.c_str());
    }
    return 0;
}
