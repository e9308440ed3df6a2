// Stand-in debug log until the shared utilities land; remove when UtilStuff provides LogIt.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "UtilStuff.h"

void LogIt(std::string_view text) {
    if (std::getenv("ORVEX_DEBUG") == nullptr) return;
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}
