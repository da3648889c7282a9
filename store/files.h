// Where the program's own files live: "tbox.ini", "palette.ini", "palini.dll"
// and "help.html" all stand in the program directory.
#pragma once

#include <string>

// ---- Globals owned by the file locations ----
extern std::string g_programDir;  // the executable's folder, without a trailing backslash

// The program directory, a backslash and `name`.
std::string ProgramFilePath(const char* name);
