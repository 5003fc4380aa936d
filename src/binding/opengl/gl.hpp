#pragma once

#include "binding/opengl/glheaders.hpp"
#include "binding/util/loader.hpp"

namespace tandrel {

// Window-system procedure type (GLX's __GLXextFuncPtr).
using GLProc = void (*)();

// Every OpenGL entry point the program calls; empty until bound.
struct GLTable {
#define TANDREL_GL(name) decltype(&::name) name = nullptr;
#include "binding/opengl/gl_functions.inc"
#undef TANDREL_GL
#define TANDREL_GL_VERSION(version, name) decltype(&::name) name = nullptr;
#include "binding/opengl/gl_versions.inc"
#undef TANDREL_GL_VERSION
    // GLX lookups, typed by hand so that Xlib's macros stay out of every file.
    GLProc (*glXGetProcAddressARB)(const GLubyte* name) = nullptr;
    void* (*glXGetCurrentContext)() = nullptr;
};

extern GLTable gl;

// The version code (major x 10 + minor) of a GL_VERSION string: the first of
// 4.0, 3.3, ... 1.1 it begins with, 40 when it begins with none of them.
int glVersionCode(const char* versionString);
// "OpenGL Version 1.2" for 12, "OpenGL Version None" for 0.
std::string glVersionName(int code);

class VandorGLLoader : public SharedLibLoader {
public:
    VandorGLLoader() : SharedLibLoader("libGL.so.2,libGL.so.1,libGL.so") {}
    void bindAllSymbols() override;

    // The highest OpenGL version bound so far: 11 once the library is loaded.
    virtual int loadedVersion() const;
    // Binds what 1.2 ... 2.1 added, up to the context's version; entry points
    // of versions up to minVersion must exist.
    virtual void loadExtendedVersions(int minVersion);
    virtual std::string versionString(int version) const;
    virtual bool hasContext() const;
    // Binds through the window system's lookup for the current context; a
    // missing optional entry point leaves the slot as it was.
    virtual void bindContextSymbol(void* slot, const std::string& name, bool mustExist);

    // The version code of the current context's GL_VERSION string.
    int contextVersion() const;

private:
    int loadedVersion_ = 0;
};

VandorGLLoader& vandorGL();

} // namespace tandrel
