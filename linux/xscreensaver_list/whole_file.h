// A user's file read whole and replaced whole, the safe way: a read that
// fails is never taken for the end of the file, and a replacement is made
// beside the file under a name of its own, given the file's mode, owner and
// group before anything is written, synced, then renamed over it. The old
// file stays as it was until that rename, and after any failure.
#pragma once
#include <sys/stat.h>

#include <string>

enum class ReadResult { Read, Missing, Failed };

// Only a regular file is read; `info` gets its status. Failed: `why` says why.
ReadResult ReadWholeFile(const std::string& path, std::string& text, struct stat& info, std::string& why);

struct Ownership {
    mode_t Mode = 0;
    uid_t Owner = 0;
    gid_t Group = 0;
};

// The file at path (which need not exist yet) replaced by text. The owner and
// group are kept where the process may set them.
bool ReplaceWholeFile(const std::string& path, const std::string& text, const Ownership& keep, std::string& why);

// Runs at the same time take turns on a folder: the lock (flock) is held
// until the process ends. False when it cannot be taken.
bool LockFolder(const std::string& folder);

// The folder a path lies in.
std::string FolderOf(const std::string& path);
