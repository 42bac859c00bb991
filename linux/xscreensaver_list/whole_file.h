// A user's file read whole and replaced whole, the safe way, inside a folder
// held open: nothing is reached through a link once the folder is held, so
// swapping a folder for a link meanwhile leads nowhere. A read that fails is
// never taken for the end of the file; a replacement is made beside the file
// under a name of its own, given the file's mode, owner and group before
// anything is written, synced, checked against a change made meanwhile, then
// renamed over it inside the held folder. The old file stays as it was until
// that rename, and after any failure.
#pragma once
#include <sys/stat.h>

#include <functional>
#include <string>

// A folder held open, and its path for messages.
struct HeldFolder {
    int Fd = -1;
    std::string Path;
};

// The folder at an absolute path with no links in it, reached from / one name
// at a time without following any; Fd -1 (with `why`) when a name is missing,
// not a folder or a link. It stays open until the process ends.
HeldFolder OpenFolderWithoutLinks(const std::string& path, std::string& why);

enum class ReadResult { Read, Missing, Failed };

// Only a regular file is read, never through a link; `info` gets its status.
// Failed: `why` says why.
ReadResult ReadWholeFileAt(const HeldFolder& folder, const std::string& name, std::string& text, struct stat& info,
                           std::string& why);

// Whether `name` is still the file read (the same file, with the same bytes),
// or still missing when it was.
bool StillAsRead(const HeldFolder& folder, const std::string& name, ReadResult was, const struct stat& info,
                 const std::string& text);

// The same at a path, following links: for files only read, never replaced.
ReadResult ReadWholeFile(const std::string& path, std::string& text, struct stat& info, std::string& why);

struct Ownership {
    mode_t Mode = 0;
    uid_t Owner = 0;
    gid_t Group = 0;
};

enum class ReplaceResult { Replaced, Failed, ChangedMeanwhile };

// The file `name` in the folder (which need not exist yet) replaced by text.
// The owner and group are kept where the process may set them. Just before
// the rename, `unchanged` says whether the file is still as it was read;
// when not, nothing is replaced (ChangedMeanwhile).
ReplaceResult ReplaceWholeFileAt(const HeldFolder& folder, const std::string& name, const std::string& text,
                                 const Ownership& keep, const std::function<bool()>& unchanged, std::string& why);

// SIGTERM, SIGINT and SIGHUP remove a replacement not yet renamed, then end
// the process as the signal would.
void RemoveReplacementOnSignals();

// Runs at the same time take turns on a folder: the lock (flock) is held until
// the process ends. `waiting` is called once if another holds it; false when
// it is not had within `seconds`. A folder that cannot be locked at all counts
// as locked: the rename still keeps each run's file whole.
bool LockFolder(const HeldFolder& folder, int seconds, const std::function<void()>& waiting);

// The folder a path lies in, and the last name in it.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
