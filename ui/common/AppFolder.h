#pragma once
// The executable's folder, against which System/ and the remembered file names resolve.

#include <string>

// The folder with a trailing '/'.
std::string ExeFolder();
// Tests point the application at a folder of their own; empty restores the real one.
void SetExeFolder(const std::string& folder);
// The path as it is remembered: relative to the executable's folder when it lies inside that
// folder's tree, else as is.
std::string RelativeToExe(const std::string& path);
