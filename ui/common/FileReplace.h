#pragma once
// Whole-file writes of settings and exports: the text goes to a file beside the target, every
// write and the close are checked, and only then does it replace the target. A full disk
// leaves the old file (or none) and raises; it never leaves an empty or half-written file.

#include <string>
#include <string_view>

// Raises EOrvexError naming the file when any step fails.
void ReplaceFileContents(const std::string& path, std::string_view text);
