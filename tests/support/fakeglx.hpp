#pragma once

// A fake window system for the OpenGL loader: a current context whose
// GL_VERSION and extension strings are the test's, and a procedure lookup
// that finds every name but those in `missing`; glGetString and the lookup
// are logged with the recorder's calls. Include gtest before it: GLX
// brings in Xlib, whose macros clash with gtest's names.

#include "binding/opengl/gl.hpp"
#include "binding/opengl/glx.hpp"

#include <functional>
#include <set>
#include <string>

namespace tandrel::test {

class FakeWindowSystem {
public:
    // Installs the fakes over the real slots, with a fresh state.
    FakeWindowSystem();
    // Puts the real slots back.
    ~FakeWindowSystem();
    FakeWindowSystem(const FakeWindowSystem&) = delete;
    FakeWindowSystem& operator=(const FakeWindowSystem&) = delete;

    // From now on no context is current.
    void dropContext();

    static inline std::string version;           // GL_VERSION
    static inline std::string extensions;        // GL_EXTENSIONS
    static inline std::string windowExtensions;  // glXQueryExtensionsString
    static inline int windowExtensionReads = 0;
    static inline std::set<std::string> missing;  // names the lookup does not find

private:
    GLTable savedGL;
    GLXTable savedGLX;
};

// The message of the VandorException a call raised; "no failure" when none.
std::string failureOf(const std::function<void()>& call);

} // namespace tandrel::test
