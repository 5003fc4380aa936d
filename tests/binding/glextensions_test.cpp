// The extension table against a fake window system: the driver's strings and
// the procedure lookup are the test's, so every state can be reached.

// gtest first: the GLX header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "binding/opengl/gl.hpp"
#include "binding/opengl/glx.hpp"
#include "binding/util/exception.hpp"

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace tandrel {
namespace {

std::string glString, glxString;
int glxStringReads = 0;
std::set<std::string> missing;
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
    return reinterpret_cast<const GLubyte*>(name == GL_EXTENSIONS ? glString.c_str() : "2.1 Fake");
}
const char* fakeQueryExtensionsString(Display*, int) {
    ++glxStringReads;
    return glxString.c_str();
}
__GLXextFuncPtr fakeLookup(const GLubyte* name) {
    return missing.count(reinterpret_cast<const char*>(name)) ? nullptr : &fakeEntry;
}

struct Extensions : testing::Test {
    void SetUp() override {
        savedGL = gl;
        savedGLX = glx;
        gl.glGetString = &fakeGetString;
        glx.glXGetCurrentContext = &fakeContext;
        glx.glXGetCurrentDisplay = &fakeDisplay;
        glx.glXQueryContext = &fakeQueryContext;
        glx.glXQueryExtensionsString = &fakeQueryExtensionsString;
        glx.glXGetProcAddressARB = &fakeLookup;
        glxStringReads = 0;
        missing.clear();
    }
    void TearDown() override {
        gl = savedGL;
        glx = savedGLX;
    }
    GLTable savedGL;
    GLXTable savedGLX;
    VandorGLLoader loader;  // fresh: nothing fetched, nothing loaded
};

TEST_F(Extensions, SupportedOnlyAsAWholeEntryOfEitherString) {
    glString = "GL_ARB_a GL_EXT_texture3D GL_ARB_b GL_EXT_texture GL_ARB_c";
    glxString = "GLX_ARB_x GLX_EXT_y";
    const struct {
        const char* name;
        bool supported;
    } cases[] = {
        {"GL_ARB_a", true},         // at the start
        {"GL_ARB_b", true},         // in the middle
        {"GL_ARB_c", true},         // at the end
        {"GL_EXT_texture", true},   // first seen as the start of a longer name
        {"GL_EXT_texture3", false}, // only ever inside a longer name
        {"EXT_texture3D", false},   // only ever the end of one
        {"", false},
        {"GLX_EXT_y", true},        // from the window system's string
        {"GLX_EXT", false},
    };
    for (const auto& c : cases) EXPECT_EQ(loader.isExtensionSupported(c.name), c.supported) << c.name;
}

TEST_F(Extensions, WindowSystemStringIsReadOnlyWhenNeededAndOnce) {
    glString = "GL_ARB_a";
    glxString = "GLX_ARB_x";
    EXPECT_TRUE(loader.isExtensionSupported("GL_ARB_a"));
    EXPECT_EQ(glxStringReads, 0);
    EXPECT_TRUE(loader.isExtensionSupported("GLX_ARB_x"));
    EXPECT_FALSE(loader.isExtensionSupported("GLX_ARB_z"));
    EXPECT_EQ(glxStringReads, 1);
}

TEST_F(Extensions, StatesAndReports) {
    glString = "GL_EXT_texture3D GL_ARB_multitexture GL_EXT_texture";
    glxString = "GLX_EXT_swap_control";
    missing = {"glClientActiveTextureARB"};  // the second of GL_ARB_multitexture's
    gl.glActiveTextureARB = nullptr;
    gl.glClientActiveTextureARB = nullptr;
    glx.glXSwapIntervalEXT = nullptr;
    loader.loadExtensions();

    EXPECT_EQ(loader.extensionState("GL_ARB_multitexture"), GLExtensionState::ExtLoadFailed);
    EXPECT_NE(gl.glActiveTextureARB, nullptr);  // found before the missing one: stays bound
    EXPECT_EQ(gl.glClientActiveTextureARB, nullptr);
    EXPECT_EQ(loader.extensionState("GL_EXT_texture3D"), GLExtensionState::ExtLoaded);
    EXPECT_NE(gl.glTexImage3DEXT, nullptr);
    EXPECT_NE(glx.glXSwapIntervalEXT, nullptr);
    EXPECT_EQ(loader.extensionState("GL_ARB_imaging"), GLExtensionState::ExtUnsupported);
    EXPECT_EQ(loader.extensionState("GL_TANDREL_unknown"), GLExtensionState::ExtNotListed);
    EXPECT_TRUE(loader.isExtensionLoaded("GL_EXT_texture"));
    EXPECT_FALSE(loader.isExtensionLoaded("GL_ARB_multitexture"));
    EXPECT_FALSE(loader.isExtensionLoaded("GL_TANDREL_unknown"));

    EXPECT_EQ(loader.loadedExtensionNames(),
              (std::vector<std::string>{"GLX_EXT_swap_control", "GL_EXT_texture", "GL_EXT_texture3D"}));
    const auto notLoaded = loader.notLoadedExtensionNames();
    EXPECT_TRUE(std::is_sorted(notLoaded.begin(), notLoaded.end()));
    EXPECT_EQ(std::count(notLoaded.begin(), notLoaded.end(), "GL_ARB_multitexture (Failed to Load)"), 1);
    EXPECT_EQ(std::count(notLoaded.begin(), notLoaded.end(), "GL_ARB_imaging (Unsupported by Driver)"), 1);
    EXPECT_EQ(std::count(notLoaded.begin(), notLoaded.end(), "GLX_SGI_video_sync (Unsupported by Driver)"), 1);
}

TEST_F(Extensions, EachOperationNeedsAContext) {
    glx.glXGetCurrentContext = &noContext;
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { loader.loadExtensions(); },
         "An OpenGL context must be created and activated before attempting to load extensions."},
        {[&] { loader.isExtensionSupported("GL_ARB_a"); },
         "An OpenGL context must be created and activated before attempting to check for supported extensions."},
        {[&] { loader.isExtensionLoaded("GL_ARB_a"); },
         "An OpenGL context must be created and activated, and extensions must be loaded, before checking for "
         "loaded extensions."},
        {[&] { loader.extensionState("GL_ARB_a"); },
         "An OpenGL context must be created and activated, and extensions must be loaded, before chacking "
         "extension state."},
        {[&] { loader.loadModernVersions(30); },
         "An OpenGL context must be created and activated before attempting to load modern versions."},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no failure for: " << c.message;
        } catch (const VandorException& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

} // namespace
} // namespace tandrel
