// ripplume-add-to-xscreensaver [--remove] [--other-owner]: puts Ripplume on
// the list of display modes in ~/.xscreensaver (or takes it off), so that
// XScreenSaver runs it and xscreensaver-settings offers it. The file is
// replaced whole (whole_file.h) inside its folder, held open, only when
// something changes, one run at a time. Anything that cannot be read,
// followed or written safely stops the run with the file as it was: a link
// leading nowhere, a file of another user (unless --other-owner asks for
// it), a file with no XScreenSaver settings in it, a read or write that
// fails. Root editing another user's file does so with that user's rights
// alone, so that nothing the user swaps in meanwhile leads it further.
#include <fcntl.h>
#include <grp.h>
#include <malloc.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "linux/xscreensaver_list/whole_file.h"
#include "linux/xscreensaver_list/xscreensaver_list.h"

namespace {

// A message on standard error; 1, the exit status of a run that changed nothing.
int Fail(const std::string& message) {
    std::fprintf(stderr, "ripplume-add-to-xscreensaver: %s\n", message.c_str());
    return 1;
}

std::string UserName(uid_t uid) {
    const passwd* user = getpwuid(uid);
    return user ? user->pw_name : "user " + std::to_string(uid);
}

struct Place {
    std::string Path;  // the file to edit
    bool Linked = false;
    uid_t LinkOwner = 0;
};

// ~/.xscreensaver, or the file its link (as dotfile managers make) leads to,
// which is edited where it lies so that the link stays.
bool Locate(const std::string& listed, Place& place, std::string& why) {
    place.Path = listed;
    struct stat link = {};
    if (lstat(listed.c_str(), &link) != 0) {
        if (errno == ENOENT) return true;
        why = listed + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISLNK(link.st_mode)) return true;
    place.Linked = true;
    place.LinkOwner = link.st_uid;
    char* target = realpath(listed.c_str(), nullptr);  // followed once; then held, never followed again
    if (target) {
        place.Path = target;
        std::free(target);
        return true;
    }
    const int error = errno;
    char leadsTo[4096] = "";
    const ssize_t length = readlink(listed.c_str(), leadsTo, sizeof leadsTo - 1);
    leadsTo[length > 0 ? length : 0] = '\0';
    if (error == ENOENT) {
        why = listed + " is a link to " + leadsTo + ", which is not there: make that file, or remove the link";
    } else if (error == ELOOP) {
        why = listed + " is a link that leads round in a loop (to " + leadsTo + "): mend or remove it";
    } else {
        why = listed + " is a link to " + leadsTo + " that cannot be followed: " + std::strerror(error);
    }
    return false;
}

// The process keeps the rights of the file's owner alone (its groups too),
// for good: every later step is one that user could take.
bool ActAs(uid_t owner, gid_t fallbackGroup, std::string& why) {
    const passwd* user = getpwuid(owner);
    const gid_t group = user ? user->pw_gid : fallbackGroup;
    const bool grouped = user ? initgroups(user->pw_name, group) == 0 : setgroups(0, nullptr) == 0;
    if (!grouped || setgid(group) != 0 || setuid(owner) != 0) {
        why = "cannot take on the rights of " + UserName(owner) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Large buffers (a file's copies, its longest line) come from the kernel
    // and go back to it when freed, so that they do not pile up in the heap.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    bool remove = false, otherOwner = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--remove" && !remove) {
            remove = true;
        } else if (option == "--other-owner" && !otherOwner) {
            otherOwner = true;
        } else {
            std::fprintf(stderr, "usage: ripplume-add-to-xscreensaver [--remove] [--other-owner]\n");
            return 2;
        }
    }
    const char* home = std::getenv("HOME");
    if (!home || !*home) return Fail("HOME is not set");
    const std::string listed = std::string(home) + "/.xscreensaver";
    Place place;
    std::string why;
    if (!Locate(listed, place, why)) return Fail(why + "; nothing was changed");
    if (!place.Linked) {
        char* folder = realpath(home, nullptr);
        if (!folder) return Fail(std::string(home) + ": " + std::strerror(errno) + "; nothing was changed");
        place.Path = std::string(folder) + "/.xscreensaver";
        std::free(folder);
    }
    const std::string& path = place.Path;
    const std::string name = NameOf(path);
    const HeldFolder folder = OpenFolderWithoutLinks(FolderOf(path), why);
    if (folder.Fd < 0) return Fail(why + "; nothing was changed");

    // Whose settings these are: the file's owner, or while there is none, its folder's.
    struct stat file = {}, folderInfo = {};
    const bool exists = fstatat(folder.Fd, name.c_str(), &file, AT_SYMLINK_NOFOLLOW) == 0;
    if (fstat(folder.Fd, &folderInfo) != 0) return Fail(folder.Path + ": " + std::strerror(errno));
    const uid_t owner = exists ? file.st_uid : folderInfo.st_uid, me = geteuid();
    if (!otherOwner && (owner != me || (place.Linked && place.LinkOwner != me))) {
        const uid_t other = owner != me ? owner : place.LinkOwner;
        const std::string& whose = owner != me ? (exists ? path : folder.Path) : listed;
        return Fail(whose + " belongs to " + UserName(other) + ": run ripplume-add-to-xscreensaver as " +
                    UserName(other) + " (or give --other-owner to edit it anyway); nothing was changed");
    }
    if (place.Linked && place.LinkOwner != owner) {
        return Fail(listed + ", a link of " + UserName(place.LinkOwner) + ", leads to " + path + " of " +
                    UserName(owner) + ": not edited; nothing was changed");
    }
    const gid_t ownerGroup = exists ? file.st_gid : folderInfo.st_gid;
    if (me == 0 && owner != 0 && !ActAs(owner, ownerGroup, why)) return Fail(why + "; nothing was changed");
    if (exists && faccessat(folder.Fd, name.c_str(), W_OK, AT_SYMLINK_NOFOLLOW) != 0 && errno == EACCES) {
        return Fail(path + " is read-only: make it writable to let Ripplume change it; nothing was changed");
    }

    // Runs at the same time take turns, each reading what the last wrote.
    RemoveReplacementOnSignals();
    constexpr int LockSeconds = 10;
    const bool locked = LockFolder(folder, LockSeconds, [&] {
        Fail("waiting for another program, which holds the lock on " + folder.Path + " (" +
             std::to_string(LockSeconds) + " s at most)");
    });
    if (!locked) {
        return Fail("another program kept " + folder.Path + " locked for " + std::to_string(LockSeconds) +
                    " s: gave up; nothing was changed");
    }
    // The system's list, which a user file without a list of its own starts from.
    std::string defaults;
    if (!remove) {
        const char* defaultsPath = std::getenv("RIPPLUME_APP_DEFAULTS");
        const std::string system = defaultsPath && *defaultsPath ? defaultsPath : "/etc/X11/app-defaults/XScreenSaver";
        struct stat systemInfo = {};
        if (ReadWholeFile(system, defaults, systemInfo, why) == ReadResult::Failed) {
            return Fail("the system's list " + system + " cannot be read: " + why + "; nothing was changed");
        }
    }

    // Another program (xscreensaver-settings saving) may replace the file
    // between the read and the rename: its change is never dropped, the edit
    // is made again on it.
    constexpr int Attempts = 3;
    for (int attempt = 1;; ++attempt) {
        std::string user;
        const ReadResult read = ReadWholeFileAt(folder, name, user, file, why);
        if (read == ReadResult::Failed) return Fail(path + " cannot be read: " + why + "; nothing was changed");
        if (!HoldsXScreenSaverSettings(user)) {
            return Fail(path + " holds none of XScreenSaver's settings, so it is not its settings file" +
                        (place.Linked ? " (" + listed + " links to it)" : "") + "; nothing was changed");
        }
        const ListEdit edit = remove ? WithoutRipplume(user) : WithRipplumeListed(user, defaults);
        if (!edit.Error.empty()) return Fail(path + " is left as it was: " + edit.Error);
        if (edit.Changed) {
            Ownership keep;
            if (read == ReadResult::Read) {
                keep = {mode_t(file.st_mode & 07777), file.st_uid, file.st_gid};
            } else {
                const mode_t mask = umask(0);
                umask(mask);
                keep = {mode_t(0666 & ~mask), owner, owner == me ? getegid() : folderInfo.st_gid};
            }
            const ReplaceResult replaced = ReplaceWholeFileAt(
                folder, name, edit.Text, keep, [&] { return StillAsRead(folder, name, read, file, user); }, why);
            if (replaced == ReplaceResult::ChangedMeanwhile) {
                if (attempt == Attempts) {
                    return Fail(path + " was changed by another program during each of " + std::to_string(Attempts) +
                                " edits: try again later; it is left as that program left it");
                }
                Fail(path + " was changed by another program meanwhile: editing it again");
                continue;
            }
            if (replaced == ReplaceResult::Failed) {
                return Fail(path + " cannot be written: " + why +
                            (place.Linked ? " (" + listed + " links to it)" : "") + "; it is left as it was");
            }
            if (read == ReadResult::Read && file.st_nlink > 1) {
                Fail(path + " had other names (hard links); they keep the old contents");
            }
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
}
