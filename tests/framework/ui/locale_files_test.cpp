#include <gtest/gtest.h>

#include "binding/freetype/freetype.hpp"
#include "fixtures/display.hpp"
#include "framework/ui/ftfont.hpp"
#include "framework/ui/i18n.hpp"
#include "framework/ui/utf8.hpp"
#include "game/gameapp.hpp"
#include "game/playercaptions.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace tandrel {
namespace {

namespace fs = std::filesystem;

const char* const fontPath = TANDREL_BUILD_DIR "/data/fonts/clearsans/ClearSans-Bold.ttf";
const char* const localeDir = TANDREL_SOURCE_DIR "/locale";

// The phrases the game's captions look up, and whether a headline font
// (size 27) or the caption font (size 16) shows them.
const std::map<std::string, bool> captions{
    {"You win!", true},
    {"You lose!", true},
    {"Game Over", true},
    {"Score", true},
    {"Press <Enter> to restart", false},
    {"Wait other player to finish", false},
    {"Computer", false},
    {"easy", false},
    {"normal", false},
    {"hard", false},
    {"expert", false},
    {"person", false},
    {"next", false},
    {"play the computer", false},
    {"Best", false},
    {"you", false},
    {"computer", false},
    {"Network match", false},
    {"Type an address, Enter joins", false},
    {"host a match", false},
    {"back to the game", false},
    {"Not an address", false},
    {"Waiting for a player", false},
    {"Port", false},
    {"Connecting to", false},
    {"The other player left", false},
};

std::map<std::string, Translations> shippedFiles() {
    std::map<std::string, Translations> files;
    for (const auto& entry : fs::directory_iterator(localeDir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Translations& table = files[entry.path().stem().string()];
        for (auto& [key, value] : parseLocale(text, entry.path().string())) table.insert_or_assign(key, value);
    }
    return files;
}

TEST(ShippedLocales, EveryFileLoadsAndTranslatesEveryCaption) {
    const auto files = shippedFiles();
    for (const char* name : {"de_DE", "fr_FR", "es_ES", "it_IT", "pt_BR", "ru_RU", "pl_PL", "nl_NL"})
        EXPECT_TRUE(files.contains(name)) << name;
    for (const auto& [name, table] : files) {
        EXPECT_EQ(table.size(), captions.size()) << name;
        localeName = name;
        loadLocale(localeDir);
        for (const auto& [key, headline] : captions) {
            ASSERT_TRUE(table.contains(key)) << name << ": " << key;
            EXPECT_FALSE(table.at(key).empty()) << name << ": " << key;
            EXPECT_EQ(localize("_" + key + "_", U'_'), table.at(key)) << name;
        }
    }
}

TEST(ShippedLocales, EveryCharacterHasAGlyph) {
    vandorFT().load();
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ASSERT_EQ(ft.FT_Init_FreeType(&library), 0);
    ASSERT_EQ(ft.FT_New_Face(library, fontPath, 0, &face), 0);
    for (const auto& [name, table] : shippedFiles()) {
        for (const auto& [key, value] : table) {
            for (std::size_t pos = 0; pos < value.size();) {
                const char32_t code = decodeUtf8(value, pos);
                EXPECT_NE(ft.FT_Get_Char_Index(face, code), 0u) << name << ": U+" << std::hex << unsigned(code);
            }
        }
    }
    ft.FT_Done_Face(face);
    ft.FT_Done_FreeType(library);
}

TEST(ShippedLocales, CaptionsFitOnABoard) {
    ASSERT_NO_FATAL_FAILURE(test::requireDisplay());
    ASSERT_NO_FATAL_FAILURE(test::openTestWindow(64, 64));
    FreeTypeFont large(fontPath, 27);
    FreeTypeFont small(fontPath, 16);
    FreeTypeFont caption(fontPath, GameApp::captionFontSize);
    const float boardWidth = 400;
    for (const auto& [name, table] : shippedFiles()) {
        for (const auto& [key, headline] : captions) {
            const std::string shown = table.at(key) + (key == "Score" ? ": 999999" : "");
            EXPECT_LE((headline ? large : small).textWidth(shown), boardWidth - 20) << name << ": " << shown;
        }
        // The tally under a result, with the longest level name.
        localeName = name;
        loadLocale(localeDir);
        EXPECT_LE(small.textWidth(localizeFormat("_%s_: _you_ %s, _computer_ %s", "expert", 9999, 9999)),
                  boardWidth - 20)
            << name;
        // Who plays a board is told by phrases joined together.
        EXPECT_LE(PlayerCaptions(caption).widest, boardWidth - 20) << name;
    }
}

} // namespace
} // namespace tandrel
