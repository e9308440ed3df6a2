#pragma once
// The output file a user names for a run: it must not be one of the run's inputs.

#include <string>

// True when both paths reach one existing file, however spelt: "..", a link, another case on a
// disk that ignores case. False when either does not exist.
bool SameFile(const std::string& a, const std::string& b);
