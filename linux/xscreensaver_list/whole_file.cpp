#include "linux/xscreensaver_list/whole_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

namespace {

// The replacement not yet renamed, for the signal handler: its folder and name.
volatile std::sig_atomic_t PendingFolder = -1;
char PendingName[256] = "";

// The signals that remove it, held off while it is made, named and renamed.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&ending, signal);
        sigprocmask(SIG_BLOCK, &ending, &previous_);
    }
    ~EndingSignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

void RemovePendingAndEnd(int signal) {
    if (PendingFolder >= 0) unlinkat(PendingFolder, PendingName, 0);
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);  // delivered, with its default action, when this handler returns
}

// The file's owner and group, or at least its group, where the process may
// set them; else it stays the process's own.
void KeepOwner(int fd, const Ownership& keep) {
    if (fchown(fd, keep.Owner, keep.Group) == 0) return;
    if (fchown(fd, uid_t(-1), keep.Group) == 0) return;
}

int WriteAll(int fd, const std::string& text) {
    const char* at = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t written = write(fd, at, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : EIO;
        at += written;
        left -= size_t(written);
    }
    return 0;
}

// A new file (O_EXCL, mode 0600: never more open than the file) beside
// `name`, under a name of its own, noted for the signal handler.
int MakeReplacement(int folder, const std::string& name) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string base = name + ".ripplume-";
    if (base.size() + 7 > sizeof PendingName) {
        errno = ENAMETOOLONG;
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6] = {};
        if (getrandom(random, sizeof random, 0) != ssize_t(sizeof random)) return -1;
        std::string candidate = base;
        for (unsigned char r : random) candidate += letters[r % (sizeof letters - 1)];
        EndingSignalsHeld held;
        const int fd = openat(folder, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            std::memcpy(PendingName, candidate.c_str(), candidate.size() + 1);
            PendingFolder = folder;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

// The replacement renamed over the file, or removed; no longer pending.
int FinishReplacement(int folder, const std::string& name, bool rename) {
    EndingSignalsHeld held;
    int error = 0;
    if (rename && renameat(folder, PendingName, folder, name.c_str()) != 0) error = errno;
    if (!rename || error) unlinkat(folder, PendingName, 0);
    PendingFolder = -1;
    return error;
}

void NoteAlarm(int) {}

}  // namespace

HeldFolder OpenFolderWithoutLinks(const std::string& path, std::string& why) {
    if (path.empty() || path[0] != '/') {
        why = path + " is not an absolute path";
        return {-1, path};
    }
    int folder = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    size_t at = 1;
    while (folder >= 0 && at < path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(at, end - at);
        at = end + 1;
        if (name.empty() || name == ".") continue;
        const int next = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        close(folder);
        folder = next;
        if (next < 0) {
            why = path.substr(0, end) + (error == ELOOP || error == ENOTDIR
                                             ? " is no longer a folder (a link or a file was put there)"
                                             : std::string(": ") + std::strerror(error));
        }
    }
    return {folder, path};
}

namespace {

ReadResult ReadOpened(int fd, std::string& text, struct stat& info, std::string& why) {
    text.clear();
    if (fd < 0) {
        if (errno == ENOENT) return ReadResult::Missing;
        why = errno == ELOOP ? "it is a link, which is not followed here" : std::strerror(errno);
        return ReadResult::Failed;
    }
    if (fstat(fd, &info) != 0) {
        why = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        why = "it is a folder, not a file";
    } else if (!S_ISREG(info.st_mode)) {
        why = "it is not a regular file";
    } else {
        text.reserve(size_t(info.st_size));
    }
    std::vector<char> buffer(1 << 20);
    while (why.empty()) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got == 0) break;
        if (got > 0) {
            text.append(buffer.data(), size_t(got));
        } else if (errno != EINTR) {
            why = std::strerror(errno);
        }
    }
    close(fd);
    if (why.empty()) return ReadResult::Read;
    text.clear();
    return ReadResult::Failed;
}

// Not blocking: a named pipe put in the file's place cannot hold the run up.
constexpr int ReadFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

}  // namespace

ReadResult ReadWholeFileAt(const HeldFolder& folder, const std::string& name, std::string& text, struct stat& info,
                           std::string& why) {
    return ReadOpened(openat(folder.Fd, name.c_str(), ReadFlags | O_NOFOLLOW), text, info, why);
}

ReadResult ReadWholeFile(const std::string& path, std::string& text, struct stat& info, std::string& why) {
    return ReadOpened(open(path.c_str(), ReadFlags), text, info, why);
}

bool StillAsRead(const HeldFolder& folder, const std::string& name, ReadResult was, const struct stat& info,
                 const std::string& text) {
    const int fd = openat(folder.Fd, name.c_str(), ReadFlags | O_NOFOLLOW);
    if (fd < 0) return was == ReadResult::Missing && errno == ENOENT;
    struct stat now = {};
    bool same = was == ReadResult::Read && fstat(fd, &now) == 0 && now.st_dev == info.st_dev &&
                now.st_ino == info.st_ino && now.st_size == off_t(text.size());
    std::vector<char> buffer(1 << 20);
    size_t at = 0;
    while (same) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            same = got == 0 && at == text.size();
            break;
        }
        same = size_t(got) <= text.size() - at && std::memcmp(buffer.data(), text.data() + at, size_t(got)) == 0;
        at += size_t(got);
    }
    close(fd);
    return same;
}

ReplaceResult ReplaceWholeFileAt(const HeldFolder& folder, const std::string& name, const std::string& text,
                                 const Ownership& keep, const std::function<bool()>& unchanged, std::string& why) {
    const int fd = MakeReplacement(folder.Fd, name);
    if (fd < 0) {
        why =
            "cannot make a new file in " + folder.Path + ", where the file is replaced whole: " + std::strerror(errno);
        return ReplaceResult::Failed;
    }
    KeepOwner(fd, keep);
    int error = fchmod(fd, keep.Mode) == 0 ? 0 : errno;
    if (!error) error = WriteAll(fd, text);
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error && !unchanged()) {
        FinishReplacement(folder.Fd, name, false);
        return ReplaceResult::ChangedMeanwhile;
    }
    if (error) {
        FinishReplacement(folder.Fd, name, false);
    } else {
        error = FinishReplacement(folder.Fd, name, true);
    }
    if (!error) return ReplaceResult::Replaced;
    why = std::strerror(error);
    return ReplaceResult::Failed;
}

void RemoveReplacementOnSignals() {
    struct sigaction remove = {};
    remove.sa_handler = RemovePendingAndEnd;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &remove, nullptr);
}

bool LockFolder(const HeldFolder& folder, int seconds, const std::function<void()>& waiting) {
    if (flock(folder.Fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK) return true;
    waiting();
    // The alarm interrupts the wait (no SA_RESTART).
    struct sigaction alarmed = {}, previous = {};
    alarmed.sa_handler = NoteAlarm;
    sigaction(SIGALRM, &alarmed, &previous);
    alarm(unsigned(seconds));
    int locked = flock(folder.Fd, LOCK_EX);
    const int error = errno;
    alarm(0);
    sigaction(SIGALRM, &previous, nullptr);
    if (locked == 0 || error != EINTR) return true;
    return flock(folder.Fd, LOCK_EX | LOCK_NB) == 0;  // freed at the last moment
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}
