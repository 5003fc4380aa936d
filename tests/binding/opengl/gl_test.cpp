// gtest first: the GLX header brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "binding/util/exception.hpp"
#include "fixtures/fakeglx.hpp"
#include "fixtures/recorder.hpp"

#include <cstring>
#include <optional>
#include <string>

namespace tandrel {
namespace {

TEST(GLVersion, CodeFromTheLeadingVersionOfTheString) {
    EXPECT_EQ(glVersionCode("2.1 Mesa 7.0"), 21);
    EXPECT_EQ(glVersionCode("4.6.0 NVIDIA"), 40);
    EXPECT_EQ(glVersionCode("4.5 (Compatibility Profile) Mesa 22.3.6"), 40);
    EXPECT_EQ(glVersionCode("1.1"), 11);
    EXPECT_EQ(glVersionCode("3.3.0"), 33);
    EXPECT_EQ(glVersionCode(nullptr), 40);
}

TEST(GLVersion, Names) {
    EXPECT_EQ(vandorGL().versionString(0), "OpenGL Version None");
    EXPECT_EQ(vandorGL().versionString(12), "OpenGL Version 1.2");
    EXPECT_EQ(vandorGL().versionString(40), "OpenGL Version 4.0");
    EXPECT_EQ(vandorGL().versionString(16), "Uknown OpenGL Version");
}

using Fake = test::FakeWindowSystem;

struct ExtendedVersions : testing::Test {
    void SetUp() override {
        vandorGL().load();
        fake.emplace(); // over the real slots, which it puts back at the end
    }
    std::optional<Fake> fake;
};

TEST_F(ExtendedVersions, BindsUpToTheContextVersion) {
    Fake::version = "1.4 Fake";
    gl.glBlendColor = nullptr;
    gl.glBindBuffer = nullptr;
    vandorGL().loadExtendedVersions(12);
    EXPECT_NE(gl.glDrawRangeElements, nullptr); // 1.2
    EXPECT_NE(gl.glActiveTexture, nullptr);     // 1.3
    EXPECT_NE(gl.glBlendColor, nullptr);        // 1.4
    EXPECT_EQ(gl.glBindBuffer, nullptr);        // 1.5 is above the context
    EXPECT_EQ(vandorGL().loadedVersion(), 14);
}

TEST_F(ExtendedVersions, MissingEntryPointAboveTheRequiredVersionLeavesItsSlotEmpty) {
    Fake::version = "2.1 Fake";
    Fake::missing = {"glActiveTexture"};
    gl.glActiveTexture = nullptr;
    EXPECT_NO_THROW(vandorGL().loadExtendedVersions(12));
    EXPECT_EQ(gl.glActiveTexture, nullptr);
    EXPECT_NE(gl.glUniformMatrix2x3fv, nullptr); // 2.1
    EXPECT_EQ(vandorGL().loadedVersion(), 21);
}

TEST_F(ExtendedVersions, MissingRequiredEntryPointRaises) {
    Fake::version = "2.1 Fake";
    Fake::missing = {"glDrawRangeElements"};
    try {
        vandorGL().loadExtendedVersions(12);
        FAIL() << "expected SymbolLoadException";
    } catch (const SymbolLoadException& e) {
        EXPECT_STREQ(e.what(), "Failed to load symbol glDrawRangeElements from shared library libGL.so.1");
    }
}

TEST_F(ExtendedVersions, ModernVersionsBindFrom30UpToTheContext) {
    Fake::version = "3.1 Fake";
    gl.glGenVertexArrays = nullptr;
    gl.glDrawArraysInstanced = nullptr;
    gl.glFramebufferTexture = nullptr;
    gl.glDrawRangeElements = nullptr;
    vandorGL().loadModernVersions(30);
    EXPECT_NE(gl.glGenVertexArrays, nullptr);     // 3.0
    EXPECT_NE(gl.glDrawArraysInstanced, nullptr); // 3.1
    EXPECT_EQ(gl.glFramebufferTexture, nullptr);  // 3.2 is above the context
    EXPECT_EQ(gl.glDrawRangeElements, nullptr);   // 1.2 is not theirs
    EXPECT_EQ(vandorGL().loadedVersion(), 31);

    Fake::version = "2.1 Fake";
    EXPECT_EQ(test::failureOf([] { vandorGL().loadModernVersions(30); }),
              "Required GL version OpenGL Version 3.0 is not available.");
}

// SDL 2 offscreen or on Wayland: GLX holds no context, EGL does, and the
// procedure lookup and the window-system extensions are EGL's.
TEST_F(ExtendedVersions, AnEGLContextIsFoundAndAskedThroughEGL) {
    fake->useEGL();
    Fake::version = "1.2 Fake";
    Fake::windowExtensions = "EGL_KHR_surfaceless_context";
    test::calls().clear();
    ASSERT_TRUE(vandorGL().hasContext());
    vandorGL().loadExtendedVersions(12);
    EXPECT_TRUE(vandorGL().isExtensionSupported("EGL_KHR_surfaceless_context"));
    EXPECT_EQ(test::callsNamed("glXGetProcAddressARB").size(), 0u);
    EXPECT_EQ(test::callsNamed("eglGetProcAddress").size(), 4u); // OpenGL 1.2's four
}

TEST_F(ExtendedVersions, RefusesAnOlderContextOrNoneAtAll) {
    Fake::version = "1.1 Fake";
    EXPECT_EQ(test::failureOf([] { vandorGL().loadExtendedVersions(12); }),
              "Required GL version OpenGL Version 1.2 is not available.");
    fake->dropContext();
    EXPECT_FALSE(vandorGL().hasContext());
    EXPECT_EQ(test::failureOf([] { vandorGL().loadExtendedVersions(12); }),
              "An OpenGL context must be created and activated before attempting to load extended versions.");
}

} // namespace
} // namespace tandrel
