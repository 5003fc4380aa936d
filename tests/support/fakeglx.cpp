#include "support/fakeglx.hpp"

#include "binding/util/exception.hpp"
#include "support/recorder.hpp"

namespace tandrel::test {

namespace {
int contextTag = 0;
void fakeEntry() {}
GLXContext fakeContext() { return reinterpret_cast<GLXContext>(&contextTag); }
GLXContext noContext() { return nullptr; }
Display* fakeDisplay() { return reinterpret_cast<Display*>(&contextTag); }
int fakeQueryContext(Display*, GLXContext, int, int* value) {
    *value = 0;
    return 0;
}
const GLubyte* fakeGetString(GLenum name) {
    calls().push_back(Call{"glGetString", {double(name)}});
    const std::string& s = name == GL_EXTENSIONS ? FakeWindowSystem::extensions : FakeWindowSystem::version;
    return reinterpret_cast<const GLubyte*>(s.c_str());
}
const char* fakeQueryExtensionsString(Display*, int) {
    ++FakeWindowSystem::windowExtensionReads;
    return FakeWindowSystem::windowExtensions.c_str();
}
__GLXextFuncPtr fakeLookup(const GLubyte* name) {
    calls().push_back(Call{"glXGetProcAddressARB", {}});
    return FakeWindowSystem::missing.count(reinterpret_cast<const char*>(name)) ? nullptr : &fakeEntry;
}
} // namespace

FakeWindowSystem::FakeWindowSystem() : savedGL(gl), savedGLX(glx) {
    version = "2.1 Fake";
    extensions.clear();
    windowExtensions.clear();
    windowExtensionReads = 0;
    missing.clear();
    gl.glGetString = &fakeGetString;
    glx.glXGetCurrentContext = &fakeContext;
    glx.glXGetCurrentDisplay = &fakeDisplay;
    glx.glXQueryContext = &fakeQueryContext;
    glx.glXQueryExtensionsString = &fakeQueryExtensionsString;
    glx.glXGetProcAddressARB = &fakeLookup;
}

FakeWindowSystem::~FakeWindowSystem() {
    gl = savedGL;
    glx = savedGLX;
}

void FakeWindowSystem::dropContext() { glx.glXGetCurrentContext = &noContext; }

std::string failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const VandorException& e) {
        return e.what();
    }
    return "no failure";
}

} // namespace tandrel::test
