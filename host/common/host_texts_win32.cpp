#include "host/common/host_texts_win32.h"

UiLanguage HostLanguage() {
    static const UiLanguage language = UiLanguageFor(GetUserDefaultUILanguage());
    return language;
}

std::wstring LoadText(UINT id) {
    // A string table is kept in blocks of 16 entries (block id / 16 + 1), each
    // a count followed by that many UTF-16 units. The block is looked up in
    // the chosen language itself, so no fallback of the system's can pick the
    // other one.
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC block =
        FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), ResourceLanguageId(HostLanguage()));
    const HGLOBAL loaded = block ? LoadResource(module, block) : nullptr;
    const auto* entry = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!entry) return std::wstring();
    const WCHAR* end = entry + SizeofResource(module, block) / sizeof(WCHAR);
    for (UINT index = 0; index < id % 16; ++index) {
        if (entry >= end) return std::wstring();
        entry += 1 + *entry;
    }
    if (entry >= end || entry + 1 + *entry > end) return std::wstring();
    return std::wstring(entry + 1, *entry);
}
