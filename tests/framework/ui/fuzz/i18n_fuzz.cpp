// libFuzzer target over the language-file parser, localize and the caption
// formatter. The normal test suite replays the corpus through the same entry.

#include "framework/ui/i18n.hpp"
#include "framework/ui/utf8.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// What the parser accepts must be storable and drawable as it stands.
void checkEntry(const std::string& key, const std::string& value) {
    if (key.find('"') != std::string::npos || value.find('"') != std::string::npos) __builtin_trap();
    if (!tandrel::isValidUtf8(key) || !tandrel::isValidUtf8(value)) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    tandrel::Translations table;
    try {
        for (auto& [key, value] : tandrel::parseLocale(text, "fuzz.lang")) {
            checkEntry(key, value);
            table.insert_or_assign(key, value);
        }
    } catch (const tandrel::LocaleFileException&) {
    }

    // The input is also the text: its own entries then name its own keys.
    for (char32_t delimiter : {U'_', U'"', U'\u00e9'}) {
        try {
            if (!tandrel::isValidUtf8(tandrel::localize(text, delimiter, table))) __builtin_trap();
        } catch (const tandrel::Utf8Exception&) {
            if (tandrel::isValidUtf8(text)) __builtin_trap();
        }
    }

    const tandrel::FormatArg args[] = {1234u, -7, std::string_view("_Score_")};
    try {
        tandrel::formatText(text, args);
    } catch (const tandrel::FormatException&) {
    }
    return 0;
}
