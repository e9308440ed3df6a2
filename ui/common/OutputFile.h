#pragma once
// The output file a user names for a run: it must not be one of the run's inputs, and the empty
// file that the check of its name made goes again when no run filled it.

#include <string>

// True when both paths reach one existing file, however spelt: "..", a link, another case on a
// disk that ignores case. False when either does not exist.
bool SameFile(const std::string& a, const std::string& b);

// Removes path when it is an empty plain file: a run's output is never empty, so an empty one
// is still the check's. Never raises.
void RemoveIfEmpty(const std::string& path);
