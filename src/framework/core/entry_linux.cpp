#include "framework/core/entry.hpp"

#include <cstdio>

namespace tandrel {

void reportFailure(const char*, const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

int answerCommandLine(const char*, int status, const std::string& text) {
    std::fputs(text.c_str(), status == 0 ? stdout : stderr);
    return status;
}

} // namespace tandrel
