#include "framework/core/entry.hpp"

#include <windows.h>

#include <cstdio>

namespace tandrel {

namespace {
// A program of the GUI subsystem started from Explorer, or typed in a console
// without redirection, has no standard handles: each is missing or of no
// known kind. Started with them redirected (a script, a test), it has them.
bool hasHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Typed in a console, the program writes into that console, where the answer
// is awaited; false when there is none (started from Explorer). Written to
// the console itself: the C runtime's streams of a GUI program cannot be
// reopened on it.
bool writeToParentConsole(const std::string& text) {
    // ERROR_ACCESS_DENIED: attached already.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return false;
    const HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return false;
    std::string lines;
    for (char c : text) lines += c == '\n' ? "\r\n" : std::string(1, c);
    DWORD written = 0;
    const bool wrote = WriteConsoleA(console, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    CloseHandle(console);
    return wrote;
}
} // namespace

void reportFailure(const char* program, const std::string& line) {
    if (hasHandle(STD_ERROR_HANDLE)) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    } else {
        MessageBoxA(nullptr, line.c_str(), program, MB_OK | MB_ICONERROR);
    }
}

int answerCommandLine(const char* program, int status, const std::string& text) {
    const bool error = status != 0;
    if (hasHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
        FILE* stream = error ? stderr : stdout;
        std::fputs(text.c_str(), stream);
        std::fflush(stream);
    } else if (!writeToParentConsole(text)) {
        MessageBoxA(nullptr, text.c_str(), program, MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
    }
    return status;
}

} // namespace tandrel
