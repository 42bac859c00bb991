#include "renderer/assets/bitmap_platform_win32.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// File names reach the platform as UTF-8; the system gets them whole, as
// wide characters, whatever its code page.
std::wstring Wide(const char* utf8) {
    const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (chars <= 0) return std::wstring();
    std::wstring text(size_t(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], chars);
    text.resize(size_t(chars) - 1);
    return text;
}

enum { FileHandle, MappingHandle, ViewHandle };

}  // namespace

bool Win32BitmapPlatform::Openable(const char* fileName) {
    FILE* file = _wfopen(Wide(fileName).c_str(), L"r");
    if (!file) return false;
    fclose(file);
    return true;
}

void Win32BitmapPlatform::UnmapFile(MappedFile* file) {
    if (file->Handles[ViewHandle]) UnmapViewOfFile(file->Handles[ViewHandle]);
    if (file->Handles[MappingHandle]) CloseHandle(file->Handles[MappingHandle]);
    if (file->Handles[FileHandle]) CloseHandle(file->Handles[FileHandle]);
    *file = MappedFile();
}

bool Win32BitmapPlatform::MapFile(const char* fileName, MappedFile* file) {
    *file = MappedFile();
    HANDLE handle = CreateFileW(Wide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    file->Handles[FileHandle] = handle;
    LARGE_INTEGER size;
    // An empty file cannot be mapped: CreateFileMappingA refuses it.
    HANDLE mapping = CreateFileMappingA(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    file->Handles[MappingHandle] = mapping;
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    file->Handles[ViewHandle] = view;
    if (!view || !GetFileSizeEx(handle, &size) || uint64_t(size.QuadPart) > SIZE_MAX) {
        UnmapFile(file);
        return false;
    }
    file->Data = static_cast<const uint8_t*>(view);
    file->Size = size_t(size.QuadPart);
    return true;
}

void Win32BitmapPlatform::ShowError(const char* text) {
    MessageBoxW(GetFocus(), Wide(text).c_str(), L"Error", MB_OK);
}
