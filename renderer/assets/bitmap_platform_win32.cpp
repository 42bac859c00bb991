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
    if (file->handles[ViewHandle]) UnmapViewOfFile(file->handles[ViewHandle]);
    if (file->handles[MappingHandle]) CloseHandle(file->handles[MappingHandle]);
    if (file->handles[FileHandle]) CloseHandle(file->handles[FileHandle]);
    *file = MappedFile();
}

bool Win32BitmapPlatform::MapFile(const char* fileName, MappedFile* file) {
    *file = MappedFile();
    HANDLE handle = CreateFileW(Wide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    file->handles[FileHandle] = handle;
    LARGE_INTEGER size;
    // An empty file cannot be mapped: CreateFileMappingA refuses it.
    HANDLE mapping = CreateFileMappingA(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    file->handles[MappingHandle] = mapping;
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    file->handles[ViewHandle] = view;
    if (!view || !GetFileSizeEx(handle, &size) || uint64_t(size.QuadPart) > SIZE_MAX) {
        UnmapFile(file);
        return false;
    }
    file->data = static_cast<const uint8_t*>(view);
    file->size = size_t(size.QuadPart);
    return true;
}

void Win32BitmapPlatform::ShowError(const char* text) {
    MessageBoxW(GetFocus(), Wide(text).c_str(), L"Error", MB_OK);
}
