#include "linux/xscreensaver_list/whole_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

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

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& text, struct stat& info, std::string& why) {
    text.clear();
    // Not blocking: a named pipe put in the file's place cannot hold the run up.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return ReadResult::Missing;
        why = std::strerror(errno);
        return ReadResult::Failed;
    }
    if (fstat(fd, &info) != 0) {
        why = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        why = "it is a folder, not a file";
    } else if (!S_ISREG(info.st_mode)) {
        why = "it is not a regular file";
    }
    std::vector<char> buffer(65536);
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

bool ReplaceWholeFile(const std::string& path, const std::string& text, const Ownership& keep, std::string& why) {
    std::string name = path + ".ripplume-XXXXXX";
    // mkostemp makes it new (O_EXCL) with mode 0600: never more open than the file.
    const int fd = mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0) {
        why = "cannot make a new file in " + FolderOf(path) +
              ", where the file is replaced whole: " + std::strerror(errno);
        return false;
    }
    KeepOwner(fd, keep);
    int error = fchmod(fd, keep.Mode) == 0 ? 0 : errno;
    if (!error) error = WriteAll(fd, text);
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error && rename(name.c_str(), path.c_str()) != 0) error = errno;
    if (!error) return true;
    unlink(name.c_str());
    why = std::strerror(error);
    return false;
}

bool LockFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd);
            return false;
        }
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
