// The desktop capture of a saver run: the whole virtual screen (every
// monitor), mirrored left to right, saved as the hand-over bitmap file the
// renderer reads.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/common/memory_canvas_win32.h"

// Copies the picture's size of the source from (sourceX, sourceY) into the
// picture, mirrored: the source's leftmost column becomes the picture's
// rightmost; rows keep their order.
bool CopyMirrored(const MemoryCanvas& picture, HDC source, int sourceX = 0, int sourceY = 0);

// Which file a name led to, so that a file can be recognised later.
struct FileIdentity {
    DWORD Volume = 0;
    DWORD IndexHigh = 0;
    DWORD IndexLow = 0;
};

// Writes the picture (Pic_1, a 24-bit memory canvas) as a bitmap file in place of whatever path held
// (see ReplaceFileWith); written, when given, receives the new file's identity.
// False when the picture is not in place; the name may then still hold an
// earlier file, so nothing may rely on it.
bool SaveCaptureSurface(const MemoryCanvas& picture, const std::wstring& path, FileIdentity* written);

// All of the above for the virtual screen (negative coordinates included), at
// the hand-over path; its folder is made when missing. On another desktop
// than the user's own the user's wallpaper stands in for each monitor.
bool SaveMirroredScreen(const std::wstring& path, FileIdentity* written);

// Puts bytes under path by writing a fresh file in the same folder and
// renaming it over the name: a file or link already there is replaced, never
// written through. On failure the fresh file is removed and the name is left
// as it was: deleting by name could follow a planted link to a file of the user's.
bool ReplaceFileWith(const std::wstring& path, const std::vector<uint8_t>& bytes, FileIdentity* written);

// Deletes the file at path when it is exactly the file with this identity,
// through the very handle whose identity was checked, so nothing can be put
// in its place between the check and the deletion; a link at path is looked
// at itself, never followed. True when it was deleted.
bool DeleteIfSameFile(const std::wstring& path, const FileIdentity& identity);
