#include "framework/core/entry.hpp"

#include <windows.h>

#include <cstdio>

namespace tandrel {

namespace {
// A program of the GUI subsystem started from Explorer (or from a console
// without redirection) has no stderr: its handle is missing or of no known
// kind. Started with stderr redirected (a script, a test), it has one.
bool hasStandardError() {
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}
} // namespace

void reportFailure(const char* program, const std::string& line) {
    if (hasStandardError()) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    } else {
        MessageBoxA(nullptr, line.c_str(), program, MB_OK | MB_ICONERROR);
    }
}

} // namespace tandrel
