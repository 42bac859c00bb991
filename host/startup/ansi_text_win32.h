// Conversion between the host's Unicode text and the system's ANSI code page,
// which every narrow system call (profile functions, MCI, sounds) expects.
#pragma once
#include <string>

// Characters the code page lacks become the system's default character.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
