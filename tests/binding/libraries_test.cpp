#include "binding/libraries.hpp"

#include "binding/freetype/freetype.hpp"
#include "binding/opengl/gl.hpp"
#include "binding/opengl/glu.hpp"
#include "binding/sdl/sdl.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tandrel {
namespace {

TEST(MediaLibraries, AllFourLoadFromTheirDefaultLists) {
    loadMediaLibraries();
    EXPECT_EQ(vandorGL().sharedLib().name(), "libGL.so.1");
    EXPECT_TRUE(vandorGLU().isLoaded());
    EXPECT_TRUE(vandorSDL().isLoaded());
    EXPECT_TRUE(vandorFT().isLoaded());
    EXPECT_NE(gl.glClear, nullptr);
    EXPECT_NE(glu.gluPerspective, nullptr);
    EXPECT_NE(sdl.SDL_Init, nullptr);
    EXPECT_NE(ft.FT_Init_FreeType, nullptr);
    EXPECT_EQ(vandorGL().loadedVersion(), 11);
}

// Start-up binds every listed name that must exist: none may be one the
// installed library leaves out. GLX's are optional (glvnd leaves out a few
// vendor ones that GL/glx.h declares); those the loader calls must be there.
// Entry points newer than the baselines are optional too.
TEST(MediaLibraries, ExportEveryListedName) {
    loadMediaLibraries();
    std::vector<std::string> missing;
    auto check = [&missing](SharedLibLoader& loader, const char* name) {
        if (!loader.sharedLib().loadSymbol(name, false)) missing.push_back(loader.sharedLib().name() + " " + name);
    };
    auto checkTable = [&check](SharedLibLoader& loader, auto& table) {
        table.forEachSlot([&](void*, const char* name, bool mustExist) {
            if (mustExist) check(loader, name);
        });
    };
    checkTable(vandorGLU(), glu);
    checkTable(vandorSDL(), sdl);
    checkTable(vandorFT(), ft);
#define TANDREL_GL(name) check(vandorGL(), #name);
#include "binding/opengl/gl_functions.inc"
#undef TANDREL_GL
    for (const char* name : {"glXGetProcAddressARB", "glXGetCurrentContext", "glXGetCurrentDisplay", "glXQueryContext",
                             "glXQueryExtensionsString"})
        check(vandorGL(), name);
    EXPECT_EQ(missing, std::vector<std::string>{});
}

} // namespace
} // namespace tandrel
