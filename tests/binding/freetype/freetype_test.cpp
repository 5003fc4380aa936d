// gtest first: the GLX header of the fake brings in Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "binding/freetype/freetype.hpp"
#include "binding/util/exception.hpp"
#include "fixtures/fakeglx.hpp"

namespace tandrel {
namespace {

using Fake = test::FakeWindowSystem;

// A FreeType of another release: one lacking what came after the baseline
// (2.11's FT_Get_Transform, 2.12's FT_Get_Color_Glyph_ClipBox) still loads;
// one lacking what the baseline has (2.10's FT_Library_SetLcdGeometry) does not.
TEST(FreeTypeLoader, OnlyEntryPointsWithinTheBaselineMustExist) {
    Fake fake;
    test::FakedLookup<VandorFTLoader> older;
    Fake::missing = {"FT_Get_Transform", "FT_Get_Color_Glyph_ClipBox"};
    older.load();
    EXPECT_TRUE(older.isLoaded());
    EXPECT_EQ(ft.FT_Get_Transform, nullptr);
    EXPECT_NE(ft.FT_Load_Glyph, nullptr);

    test::FakedLookup<VandorFTLoader> lacking;
    Fake::missing = {"FT_Library_SetLcdGeometry"};
    try {
        lacking.load();
        FAIL() << "expected SymbolLoadException";
    } catch (const SymbolLoadException& e) {
        EXPECT_STREQ(e.what(), "Failed to load symbol FT_Library_SetLcdGeometry from shared library libfreetype.so.6");
    }
}

} // namespace
} // namespace tandrel
