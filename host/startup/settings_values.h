// Text and number rules of the host's settings and command line, kept apart
// from Win32 so they can be checked anywhere.
//
// Numbers are read as host/common/decimal_text.h says; full-width digits are
// numbers only in the repeat box (RepeatFromText).
#pragma once
#include <cstdint>
#include <string>

// The settings file's one section and its three keys. They are stored in the
// ANSI code page; on code page 932 the keys are the bytes
// 42 47 4D 8B E6 95 AA, 42 47 4D D8 CB DF B0 C4 and 42 47 4D CC A7 B2 D9.
inline constexpr wchar_t SettingsSection[] = L"Section";
inline constexpr wchar_t KeyBgmKind[] = L"BGM区分";
inline constexpr wchar_t KeyBgmRepeat[] = L"BGMﾘﾋﾟｰﾄ";  // half-width katakana, five characters
inline constexpr wchar_t KeyBgmFile[] = L"BGMﾌｧｲﾙ";

// A settings-file value as LoadSettings takes it: empty text gives 0; a number
// gives its integer part rounded down; text that is not a number, or a result
// outside -32768..32767, leaves the earlier value.
int16_t SettingFromText(const std::wstring& text, int16_t earlier);

// The form a number is written in: a blank before a non-negative value,
// a minus sign before a negative one (" 2", "-1").
std::wstring SettingText(int16_t value);

// The repeat box's text as OK stores it: a number rounded to the nearest
// whole number (halves to the even neighbour). Full-width digits, signs,
// points and blanks, as typed with a Japanese input method, count as their
// ASCII forms. Text that is not a number, and a number whose rounded value
// does not fit 16 bits, store 0.
int16_t RepeatFromText(const std::wstring& text);

// Full-width ASCII forms (U+FF01..U+FF5E) and the ideographic space as ASCII.
std::wstring FoldFullWidth(const std::wstring& text);

// Format pattern "##": digits without leading zeros, empty for 0, a minus
// sign kept for negative values.
std::wstring FormatHashHash(int value);

// The folder part of a path: everything before its last ":" or "\", without
// a trailing "\" ("C:\Music\song.mp3" -> "C:\Music", "C:song.mp3" -> "C:").
std::wstring DirectoryOf(const std::wstring& path);
