#include "store/files.h"

std::string g_programDir;

std::string ProgramFilePath(const char* name)
{
    std::string path = g_programDir;
    path += '\\';
    path += name;
    return path;
}
