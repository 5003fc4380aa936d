#include <gtest/gtest.h>

#include "framework/ui/i18n.hpp"
#include "framework/ui/utf8.hpp"

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace tandrel {
namespace {

namespace fs = std::filesystem;

// Each case runs in a process of its own, so the module table starts empty.
class Localisation : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir);
        localeName = "xx_YY";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path file() const { return dir / "xx_YY.lang"; }
    void load(std::string_view content) {
        std::ofstream(file(), std::ios::binary) << content;
        loadLocale(dir.string());
    }

    fs::path dir = fs::path(::testing::TempDir()) / ("tandrel-i18n-" + std::to_string(getpid()));
};

TEST_F(Localisation, KeysWithoutEntryShowAsThemselves) {
    loadLocale((dir / "missing").string());
    loadLocale(dir.string()); // directory without a file for the locale
    EXPECT_EQ(localize("_You win!_", U'_'), "You win!");
    EXPECT_EQ(localize("a _one_ b _two_ c", U'_'), "a one b two c");
    EXPECT_EQ(localize("x__y", U'_'), "xy");
    EXPECT_EQ(localize("_abc", U'_'), "");
    EXPECT_EQ(localize("ab_c", U'_'), "ab");
    EXPECT_EQ(lookup("You win!"), "You win!");
}

TEST_F(Localisation, LoadedEntriesTranslateAndChain) {
    load("\"You win!\" = \"Gewonnen!\"\n\"A\" = \"_Other_\"\n\"Other\" = \"B\"\n\"K\" = \"x\"\n\"K\" = \"y\"");
    EXPECT_EQ(localize("_You win!_", U'_'), "Gewonnen!");
    EXPECT_EQ(localize("_A_", U'_'), "B");
    EXPECT_EQ(lookup("K"), "y") << "the later line wins";
    EXPECT_EQ(localize("§K§ and _K_", U'§'), "y and _K_") << "any code point delimits";
}

TEST_F(Localisation, CyclesEndWithTheKeyShownUntranslated) {
    load("\"Self\" = \"x_Self_\"\n\"Ping\" = \"_Pong_!\"\n\"Pong\" = \"_Ping_?\"");
    EXPECT_EQ(localize("_Self_", U'_'), "xSelf");
    EXPECT_EQ(localize("_Ping_", U'_'), "Ping?!");
}

TEST_F(Localisation, FanOutStaysBounded) {
    // Each level names the next one four times: 4^40 expansions unbounded.
    std::string content;
    for (int level = 0; level < 40; ++level) {
        const std::string next = "_k" + std::to_string(level + 1) + "_";
        content += "\"k" + std::to_string(level) + "\" = \"" + next + next + next + next + "\"\n";
    }
    load(content);
    const auto start = std::chrono::steady_clock::now();
    const std::string result = localize("_k0_", U'_');
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_LT(result.size(), 100'000u);
    EXPECT_NE(result.find("k40"), std::string::npos);
}

TEST_F(Localisation, MalformedFileStoresNothing) {
    EXPECT_THROW(load("\"a\" = \"b\"\n\"c\" = \"d\"\n\"e\" \"f\"\n"), LocaleFileException);
    EXPECT_EQ(lookup("a"), "a");
    EXPECT_EQ(lookup("c"), "c");
}

TEST_F(Localisation, InvalidUtf8IsRejectedWithFileAndLine) {
    try {
        load("\"ok\" = \"fine\"\n\"caf\xe9\" = \"Kaffee\"\n");
        FAIL() << "a Latin-1 key loaded";
    } catch (const LocaleFileException& e) {
        EXPECT_EQ(e.path, file().string());
        EXPECT_EQ(e.line, 2u);
        EXPECT_STREQ(e.what(), "The key is not valid UTF-8") << "the reporter names file and line, once";
    }
    EXPECT_EQ(lookup("ok"), "ok");
    EXPECT_THROW(parseLocale("\"k\" = \"\xc3(\"", "f"), LocaleFileException);
    EXPECT_THROW(localize("_k\xff_", U'_'), Utf8Exception);
}

TEST_F(Localisation, MegabyteValueLoads) {
    const std::string value(1 << 20, 'v');
    load("\"big\" = \"" + value + "\"\n");
    EXPECT_EQ(lookup("big"), value);
}

LocaleFileException parseFailure(std::string_view text) {
    try {
        parseLocale(text, "test.lang");
    } catch (const LocaleFileException& e) {
        return e;
    }
    throw std::logic_error("parsed: " + std::string(text));
}

TEST(LocaleFile, LineGrammar) {
    const auto entries = parseLocale("\"a\"\t  =  \"b\"\n\"c\"=\"d\"\n\"\" = \"\"\n\"k\" = \"x = y\"", "f");
    const LocaleEntries expected{{"a", "b"}, {"c", "d"}, {"", ""}, {"k", "x = y"}};
    EXPECT_EQ(entries, expected);
    EXPECT_TRUE(parseLocale("", "f").empty());
    EXPECT_EQ(parseLocale("\"a\" = \"b\"\n", "f").size(), 1u) << "a final line feed ends the last line";
}

TEST(LocaleFile, FailuresNameTheProblemAndTheLine) {
    const auto crlf = parseFailure("\"a\" = \"b\"\r\n");
    EXPECT_STREQ(crlf.what(), "Trailing characters at the end of line: `\r'");
    EXPECT_EQ(crlf.line, 1u);
    EXPECT_EQ(crlf.path, "test.lang");

    const auto empty = parseFailure("\"a\" = \"b\"\n\n\"c\" = \"d\"\n");
    EXPECT_STREQ(empty.what(), "parseToFormatSpec: Cannot find character `\"' in the input string.");
    EXPECT_EQ(empty.line, 2u);

    EXPECT_STREQ(parseFailure("\"a\" = \"b\" ").what(), "Trailing characters at the end of line: ` '");
    for (const char* line : {"a = \"b\"", "\"a = \"b\"", "\"a\" \"b\"", "\"a\" = b", "\"a\" = \"b", "\"a\" ="}) {
        const auto failure = parseFailure(line);
        EXPECT_EQ(failure.line, 1u) << line;
        EXPECT_EQ(std::string(failure.what()).find("test.lang"), std::string::npos) << failure.what();
    }
}

TEST(LocaleName, FromTheEnvironment) {
    EXPECT_EQ(localeNameFrom(nullptr, nullptr, "de_DE.UTF-8"), "de_DE");
    EXPECT_EQ(localeNameFrom("", "", "de_DE.UTF-8@euro"), "de_DE");
    EXPECT_EQ(localeNameFrom("fr_FR.UTF-8", "it_IT", "de_DE"), "fr_FR");
    EXPECT_EQ(localeNameFrom("", "pt_BR", "de_DE"), "pt_BR");
    EXPECT_EQ(localeNameFrom(nullptr, nullptr, "nl"), "nl_");
    for (const char* none : {"C", "POSIX", "C.UTF-8", "", "/usr/lib/locale/de_DE"})
        EXPECT_EQ(localeNameFrom(nullptr, nullptr, none), "_") << none;
    EXPECT_EQ(localeNameFrom(nullptr, nullptr, nullptr), "_");
}

TEST_F(Localisation, FormatThenLocalize) {
    load("\"Score\" = \"Punkte\"\n");
    EXPECT_EQ(localizeFormat("_Score_: %s", 1234u), "Punkte: 1234");
    EXPECT_EQ(localizeFormat("100%% _Score_"), "100% Punkte");
    EXPECT_EQ(localizeFormat("%s|%s", -42, std::string("_Score_")), "-42|Punkte") << "arguments are localised too";
    EXPECT_EQ(localizeFormat("%s", 0u, 7u), "0");
    EXPECT_THROW(localizeFormat("_Score_: %s"), FormatException);
    EXPECT_THROW(localizeFormat("%d", 1), FormatException);
    EXPECT_THROW(localizeFormat("50%", 1), FormatException);
}

TEST(Utf8, DecodesWellFormedAndRejectsTheRest) {
    const std::string text = "a\u00e9\u20ac\U0001F600";
    std::u32string decoded;
    for (std::size_t pos = 0; pos < text.size();) decoded += decodeUtf8(text, pos);
    EXPECT_EQ(decoded, U"a\u00e9\u20ac\U0001F600");
    for (const char* bad :
         {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\xC3(", "\xFF"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    }
    std::size_t pos = 2;
    EXPECT_THROW(decodeUtf8("ab\xE2\x82", pos), Utf8Exception);
    EXPECT_EQ(pos, 2u) << "a failed decode does not move on";
}

} // namespace
} // namespace tandrel
