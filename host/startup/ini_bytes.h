// A settings (.ini) file read from its bytes, as the system's profile
// functions read it, so that a file written under one code page can be read
// under another: the system's functions decode the whole file in today's
// code page and lose what another one wrote.
#pragma once
#include <string>

// The value of key in section, both given as the bytes the file holds them
// in. Lines end in LF or CR LF; blanks around names and values are ignored;
// section and key names match with ASCII letters in any case; a value in
// matching quotes loses them. The first such key of the first such section
// counts. False when there is none.
bool FindIniValue(const std::string& fileBytes, const std::string& section, const std::string& key, std::string& value);
