// The extension table against a fake window system: the driver's strings and
// the procedure lookup are the test's, so every state can be reached.

// gtest first: the GLX header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "fixtures/fakeglx.hpp"

#include <algorithm>
#include <functional>
#include <string>

namespace tandrel {
namespace {

using Fake = test::FakeWindowSystem;

struct Extensions : testing::Test {
    Fake fake;
    VandorGLLoader loader; // fresh: nothing fetched, nothing loaded
};

TEST_F(Extensions, SupportedOnlyAsAWholeEntryOfEitherString) {
    Fake::extensions = "GL_ARB_a GL_EXT_texture3D GL_ARB_b GL_EXT_texture GL_ARB_c";
    Fake::windowExtensions = "GLX_ARB_x GLX_EXT_y";
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
        {"GLX_EXT_y", true}, // from the window system's string
        {"GLX_EXT", false},
    };
    for (const auto& c : cases) EXPECT_EQ(loader.isExtensionSupported(c.name), c.supported) << c.name;
}

TEST_F(Extensions, WindowSystemStringIsReadOnlyWhenNeededAndOnce) {
    Fake::extensions = "GL_ARB_a";
    Fake::windowExtensions = "GLX_ARB_x";
    EXPECT_TRUE(loader.isExtensionSupported("GL_ARB_a"));
    EXPECT_EQ(Fake::windowExtensionReads, 0);
    EXPECT_TRUE(loader.isExtensionSupported("GLX_ARB_x"));
    EXPECT_FALSE(loader.isExtensionSupported("GLX_ARB_z"));
    EXPECT_EQ(Fake::windowExtensionReads, 1);
}

TEST_F(Extensions, StatesAndReports) {
    Fake::extensions = "GL_EXT_texture3D GL_ARB_multitexture GL_EXT_texture";
    Fake::windowExtensions = "GLX_EXT_swap_control";
    Fake::missing = {"glClientActiveTextureARB"}; // the second of GL_ARB_multitexture's
    gl.glActiveTextureARB = nullptr;
    gl.glClientActiveTextureARB = nullptr;
    glx.glXSwapIntervalEXT = nullptr;
    loader.loadExtensions();

    EXPECT_EQ(loader.extensionState("GL_ARB_multitexture"), GLExtensionState::ExtLoadFailed);
    EXPECT_NE(gl.glActiveTextureARB, nullptr); // found before the missing one: stays bound
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
    fake.dropContext();
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
    for (const auto& c : cases) EXPECT_EQ(test::failureOf(c.call), c.message);
}

} // namespace
} // namespace tandrel
