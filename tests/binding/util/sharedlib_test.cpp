#include "binding/util/sharedlib.hpp"
#include "binding/util/exception.hpp"
#include "binding/util/loader.hpp"

#include <gtest/gtest.h>

#include "binding/freetype/freetype.hpp"
#include "fixtures/fakeglx.hpp"

#include <cmath>

namespace tandrel {
namespace {

TEST(SharedLib, UsesTheFirstCandidateThatLoadsAndReportsNothing) {
    SharedLib lib;
    lib.load({"libtandrel-missing.so", "libm.so.6", "libc.so.6"});
    EXPECT_TRUE(lib.isLoaded());
    EXPECT_EQ(lib.name(), "libm.so.6");
    EXPECT_NE(lib.loadSymbol("cos"), nullptr);
    lib.unload();
    EXPECT_FALSE(lib.isLoaded());
}

TEST(SharedLib, NamesEveryFailedCandidateOnItsOwnLine) {
    SharedLib lib;
    try {
        lib.load({"libtandrel-missing-a.so", "libtandrel-missing-b.so"});
        FAIL() << "expected SharedLibLoadException";
    } catch (const SharedLibLoadException& e) {
        const std::string m = e.what();
        EXPECT_EQ(m.rfind("Failed to load one or more shared libraries:\n\tlibtandrel-missing-a.so - ", 0), 0u) << m;
        const auto second = m.find("\n\tlibtandrel-missing-b.so - ");
        ASSERT_NE(second, std::string::npos) << m;
        // Each line carries the loader's own text for that name.
        EXPECT_NE(m.find("libtandrel-missing-a.so: cannot open shared object file"), std::string::npos) << m;
        EXPECT_GT(m.size(), second + std::string("\n\tlibtandrel-missing-b.so - ").size());
        EXPECT_TRUE(e.libName.empty());
    }
    EXPECT_FALSE(lib.isLoaded());
}

TEST(SharedLib, MissingRequiredSymbolRaisesUnlessTheCallbackSkipsIt) {
    SharedLib lib;
    lib.load({"libm.so.6"});
    try {
        lib.loadSymbol("tandrel_no_such_symbol");
        FAIL() << "expected SymbolLoadException";
    } catch (const SymbolLoadException& e) {
        EXPECT_STREQ(e.what(), "Failed to load symbol tandrel_no_such_symbol from shared library libm.so.6");
        EXPECT_EQ(e.symbolName, "tandrel_no_such_symbol");
    }
    EXPECT_EQ(lib.loadSymbol("tandrel_no_such_symbol", false), nullptr);

    std::string seenLib, seenSymbol;
    setMissingSymbolCallback([&](const std::string& l, const std::string& s) {
        seenLib = l;
        seenSymbol = s;
        return true;
    });
    EXPECT_EQ(lib.loadSymbol("tandrel_no_such_symbol"), nullptr);
    EXPECT_EQ(seenLib, "libm.so.6");
    EXPECT_EQ(seenSymbol, "tandrel_no_such_symbol");

    setMissingSymbolCallback([](const std::string&, const std::string&) { return false; });
    EXPECT_THROW(lib.loadSymbol("tandrel_no_such_symbol"), SymbolLoadException);
    setMissingSymbolCallback(nullptr);
}

// A loader with a table of one slot, the way the media loaders are built.
struct MathLoader : SharedLibLoader {
    MathLoader() : SharedLibLoader("libtandrel-missing.so , libm.so.6") {}
    void bindAllSymbols() override {
        bindSymbol(&cosine, "cos");
        bindSymbol(&optional, "tandrel_no_such_symbol", false);
        ++bindings;
    }
    std::size_t boundSymbolCount() const override { return (cosine != nullptr) + (optional != nullptr); }
    void clearSymbols() override { cosine = optional = nullptr; }
    double (*cosine)(double) = nullptr;
    double (*optional)(double) = nullptr;
    int bindings = 0;
};

TEST(SharedLibLoader, LoadsFromItsCommaSeparatedListAndBindsOnce) {
    MathLoader loader;
    loader.load();
    ASSERT_TRUE(loader.isLoaded());
    EXPECT_EQ(loader.sharedLib().name(), "libm.so.6");
    ASSERT_NE(loader.cosine, nullptr);
    EXPECT_DOUBLE_EQ(loader.cosine(0.0), 1.0);
    EXPECT_EQ(loader.optional, nullptr);
    loader.load(); // already loaded: nothing happens
    EXPECT_EQ(loader.bindings, 1);
    EXPECT_NE(loader.loadSymbol("sin"), nullptr);
    loader.unload();
    EXPECT_FALSE(loader.isLoaded());
}

// A bind that raised once must raise again, not pass for loaded with half
// a table; and no slot may outlive the library it points into.
TEST(SharedLibLoader, AFailedBindAndUnloadLeaveItUnloadedWithItsSlotsEmpty) {
    test::FakeWindowSystem fake;
    test::FakedLookup<VandorFTLoader> loader;
    test::FakeWindowSystem::missing = {"FT_Done_Glyph"}; // after FT_Init_FreeType in the list
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_THROW(loader.load(), SymbolLoadException);
        EXPECT_FALSE(loader.isLoaded());
        EXPECT_EQ(loader.boundSymbolCount(), 0u);
    }
    test::FakeWindowSystem::missing.clear();
    loader.load();
    EXPECT_NE(ft.FT_Init_FreeType, nullptr);
    loader.unload();
    EXPECT_FALSE(loader.isLoaded());
    EXPECT_EQ(loader.boundSymbolCount(), 0u);
}

// dlopen("") would hand back the program itself and pass it off as the library.
TEST(SharedLibLoader, RefusesAnEmptyNameInEveryBuild) {
    const struct {
        std::string names, message;
    } cases[] = {
        {"", "Refused an empty name in the shared library candidate list \"\""},
        {"libtandrel-missing.so,",
         "Refused an empty name in the shared library candidate list \"libtandrel-missing.so, \""},
        {"libm.so.6, ,libc.so.6",
         "Refused an empty name in the shared library candidate list \"libm.so.6, , libc.so.6\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names);
        MathLoader loader;
        try {
            loader.load(c.names);
            ADD_FAILURE() << "loaded " << loader.sharedLib().name();
        } catch (const SharedLibLoadException&) {
            ADD_FAILURE() << "reported as a failed candidate";
        } catch (const VandorException& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_FALSE(loader.isLoaded());
        EXPECT_EQ(loader.bindings, 0);
    }
}

TEST(SharedLibLoader, SplitsNamesAndTrimsBlanks) {
    EXPECT_EQ(splitLibNames("libSDL.so, libSDL.so.0,\tlibSDL-1.2.so ,libSDL-1.2.so.0"),
              (std::vector<std::string>{"libSDL.so", "libSDL.so.0", "libSDL-1.2.so", "libSDL-1.2.so.0"}));
    EXPECT_EQ(splitLibNames("one"), (std::vector<std::string>{"one"}));
}

} // namespace
} // namespace tandrel
