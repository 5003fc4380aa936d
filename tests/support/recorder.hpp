#pragma once

// The recording table: points every OpenGL (and GLU) slot at a function that
// logs its name and arguments, so tests can check the exact calls a drawable
// or a layer makes without a driver; SDL's slots on request.

#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/sdl/sdl.hpp"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace tandrel::test {

struct Call {
    std::string name;
    std::vector<double> args;  // pointers are logged as their address
    bool operator==(const Call&) const = default;
};

std::vector<Call>& calls();
// Names of the logged calls, in order.
std::vector<std::string> callNames();
// Just the calls with the given name.
std::vector<Call> callsNamed(const std::string& name);

template <std::size_t N>
struct FixedName {
    char text[N];
    constexpr FixedName(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
};

template <typename A>
double logged(A a) {
    if constexpr (std::is_pointer_v<A>)
        return static_cast<double>(reinterpret_cast<std::uintptr_t>(a));
    else
        return static_cast<double>(a);
}

// The arguments of a variadic call (SDL_SetError's format) stay unread.
template <FixedName Name, typename R, typename... A>
R recordCall(A... a) {
    calls().push_back(Call{Name.text, {logged(a)...}});
    if constexpr (!std::is_void_v<R>) return R{};
}

template <FixedName Name, typename F>
struct Recorder;

template <FixedName Name, typename R, typename... A>
struct Recorder<Name, R (*)(A...)> {
    static R record(A... a) { return recordCall<Name, R>(a...); }
};

template <FixedName Name, typename R, typename... A>
struct Recorder<Name, R (*)(A..., ...)> {
    static R record(A... a, ...) { return recordCall<Name, R>(a...); }
};

// Replaces every OpenGL and GLU slot (not GLX's) with a recorder and clears
// the log; restoreTables() puts the previous slots back.
void installRecorder();
// Replaces every SDL slot with a recorder too; restoreTables() undoes it.
void recordSDL();
void restoreTables();

// Installs the recorder for the lifetime of a test fixture.
struct RecordingTable {
    RecordingTable() { installRecorder(); }
    ~RecordingTable() { restoreTables(); }
    RecordingTable(const RecordingTable&) = delete;
    RecordingTable& operator=(const RecordingTable&) = delete;
};

} // namespace tandrel::test
