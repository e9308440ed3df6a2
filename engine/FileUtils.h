#pragma once
// Paths relative to a base folder, and the plain files of a folder.

#include <string>
#include <vector>

// RelFileName resolved against the folder Path. '/' and '\' both separate pieces, so names
// stored with either resolve; an absolute name is returned unchanged. "." is skipped, ".."
// drops the last folder (never above the root), the final file name is kept as it stands.
std::string GetAbsolutePath(const std::string& Path, const std::string& RelFileName);

// Appends the names of the plain, not hidden files of DirPath, sorted by name.
// Nothing when the folder does not exist.
void GetFilenames(const std::string& DirPath, std::vector<std::string>& Filenames);

// Folder of the running executable, ending with '/': System/ lies beside it.
std::string GetExecutableDir();
