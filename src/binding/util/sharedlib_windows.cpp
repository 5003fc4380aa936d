#include "binding/util/sharedlib.hpp"

#include "binding/libraries.hpp"

#include <windows.h>

#include <cstring>

namespace tandrel {

namespace {
// The system's text for an error code, without the line break Windows ends
// it with, since the loader's message puts each failure on a line of its own.
std::string systemErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message(text ? text : "", length);
    LocalFree(text);
    message.erase(message.find_last_not_of(" \t\r\n") + 1);
    return message.empty() ? "Unknown" : message;
}
} // namespace

void* systemlib::open(const std::string& name, std::string& error) {
    // No dialog box for a library that cannot be loaded: the failure is reported as an error.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    HMODULE handle = LoadLibraryA(name.c_str());
    const DWORD code = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (!handle) error = systemErrorText(code);
    return static_cast<void*>(handle);
}

void* systemlib::symbol(void* handle, const std::string& name) {
    // GetProcAddress hands back a FARPROC; the table stores plain addresses.
    const FARPROC found = GetProcAddress(static_cast<HMODULE>(handle), name.c_str());
    void* address;
    std::memcpy(&address, &found, sizeof address);
    return address;
}

void systemlib::close(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

// Pinning serves the leak checker of the sanitizer build, which is built for Linux only.
void pinLoadedLibraries() {}

} // namespace tandrel
