#pragma once

#include "binding/util/exception.hpp"

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tandrel {

// A line of a language file that does not have the form "key" = "value".
class LocaleFileException : public VandorException {
public:
    LocaleFileException(const std::string& message, std::string path, std::size_t line)
        : VandorException(message), path(std::move(path)), line(line) {}
    std::string path;
    // 1-based.
    std::size_t line;
};

// A printf-style directive that cannot be satisfied.
class FormatException : public VandorException {
public:
    explicit FormatException(const std::string& message) : VandorException(message) {}
};

using Translations = std::unordered_map<std::string, std::string>;
using LocaleEntries = std::vector<std::pair<std::string, std::string>>;

// The user's language and country joined by an underscore ("de_DE"), set
// from systemLocaleName() before main runs.
extern std::string localeName;

// What the system says the user's language and country are, joined by an
// underscore; a part the system does not give is empty, so "_" names no
// language file. Linux reads the environment (see localeNameFrom), Windows
// GetLocaleInfoA; one file per platform.
std::string systemLocaleName();

// The locale name for the given values of LC_ALL, LC_MESSAGES and LANG (any
// may be null); the first non-empty one is used.
std::string localeNameFrom(const char* lcAll, const char* lcMessages, const char* lang);

// The entries of a language file's text, in file order. path only labels
// errors. Throws LocaleFileException for the first line that does not match.
LocaleEntries parseLocale(std::string_view text, const std::string& path);

// Adds the entries of <directory>/<localeName>.lang to the table, later keys
// winning. A missing directory or file is not an error; a malformed file
// stores nothing and throws.
void loadLocale(const std::string& directory);

// The translation of key, or key itself when there is none.
std::string lookup(const std::string& key);

// Replaces every key between two delimiters by its translation, itself
// localised. An unterminated key is dropped. Throws Utf8Exception for text
// that is not UTF-8.
std::string localize(std::string_view text, char32_t delimiter);
std::string localize(std::string_view text, char32_t delimiter, const Translations& table);

// One argument of localizeFormat: an integer or a string.
class FormatArg {
public:
    template <std::integral T>
    FormatArg(T value) : isText_(false) {
        if constexpr (std::is_signed_v<T>) {
            negative_ = value < 0;
            // Modular negation also covers the most negative value.
            magnitude_ = negative_ ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        } else {
            magnitude_ = value;
        }
    }
    FormatArg(std::string_view value) : isText_(true), text_(value) {}
    FormatArg(const std::string& value) : FormatArg(std::string_view(value)) {}
    FormatArg(const char* value) : FormatArg(std::string_view(value)) {}

    void appendTo(std::string& out) const;

private:
    bool isText_;
    bool negative_ = false;
    std::uint64_t magnitude_ = 0;
    std::string_view text_;
};

// printf-style formatting reduced to what captions need: "%s" prints the next
// argument, "%%" a percent sign. Any other directive, or one left without an
// argument, throws FormatException. Unused arguments are ignored, as printf does.
std::string formatText(std::string_view format, std::span<const FormatArg> args);

// Formats first, then localises with '_' as the delimiter.
template <typename... Args>
std::string localizeFormat(std::string_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    return localize(formatText(format, list), U'_');
}

} // namespace tandrel
