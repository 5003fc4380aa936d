#include "framework/core/entry.hpp"

#include <cstdio>

namespace tandrel {

void reportFailure(const char*, const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

} // namespace tandrel
