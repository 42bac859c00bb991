// Conversion between the host's Unicode text and the system's ANSI code page,
// which every narrow system call (profile functions, MCI, sounds) expects.
#pragma once
#include <string>

// Characters the code page lacks become "?"; none is swapped for a look-alike
// (no best fit), so a changed name can never name another file.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

// True, with the bytes in ansi, when the code page holds every character.
bool ToAnsiExact(const std::wstring& text, std::string& ansi);

// The same for a given code page (a settings file written on another system).
std::string ToCodePage(unsigned codePage, const std::wstring& text);
// The text of bytes in a given code page; false when they are not valid text there.
bool FromCodePageExact(unsigned codePage, const std::string& bytes, std::wstring& text);

// A file or folder name that survives the trip through the code page: the
// name itself when the code page holds it, else its short (8.3) form, else
// the short form of its folder with the last part as it is. Empty when no
// such name exists; the caller then has no name to use rather than a wrong one.
std::wstring AnsiSafePath(const std::wstring& path);
