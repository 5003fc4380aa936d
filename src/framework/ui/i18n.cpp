#include "framework/ui/i18n.hpp"

#include "framework/ui/utf8.hpp"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tandrel {

std::string localeNameFrom(const char* lcAll, const char* lcMessages, const char* lang) {
    std::string_view value;
    for (const char* candidate : {lcAll, lcMessages, lang}) {
        if (candidate && *candidate) {
            value = candidate;
            break;
        }
    }
    // language[_COUNTRY][.codeset][@modifier]
    const std::string_view name = value.substr(0, value.find_first_of(".@"));
    const std::size_t underscore = name.find('_');
    std::string_view language = name.substr(0, underscore);
    std::string_view country = underscore == std::string_view::npos ? std::string_view() : name.substr(underscore + 1);
    // A locale given as a path names no language, and must not lead
    // loadLocale out of its directory.
    if (language == "C" || language == "POSIX" || name.find('/') != std::string_view::npos) language = country = {};
    return std::string(language) + "_" + std::string(country);
}

std::string localeName = systemLocaleName();

namespace {

Translations translations;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// Scans one line against: quote, key, quote, blanks, '=', blanks, quote,
// value, quote. A blank run may be empty; a field runs to the next quote.
class LineScanner {
public:
    LineScanner(std::string_view line, const std::string& path, std::size_t number)
        : rest_(line), path_(path), number_(number) {}

    std::pair<std::string, std::string> entry() {
        if (rest_.empty()) fail("parseToFormatSpec: Cannot find character `\"' in the input string.");
        expect('"', "Expected `\"' at the start of the line");
        const std::string_view key = field();
        expect('"', "Missing closing `\"' after the key");
        skipBlanks();
        expect('=', "Expected `=' after the key");
        skipBlanks();
        expect('"', "Expected `\"' after `='");
        const std::string_view value = field();
        expect('"', "Missing closing `\"' after the value");
        if (!rest_.empty()) fail("Trailing characters at the end of line: `" + std::string(rest_) + "'");
        if (!isValidUtf8(key)) fail("The key is not valid UTF-8");
        if (!isValidUtf8(value)) fail("The value is not valid UTF-8");
        return {std::string(key), std::string(value)};
    }

private:
    // The file and line travel as fields; whoever reports the error names them.
    [[noreturn]] void fail(const std::string& message) const { throw LocaleFileException(message, path_, number_); }
    void expect(char c, const char* message) {
        if (rest_.empty() || rest_.front() != c) fail(message);
        rest_.remove_prefix(1);
    }
    void skipBlanks() {
        while (!rest_.empty() && isBlank(rest_.front())) rest_.remove_prefix(1);
    }
    std::string_view field() {
        const std::string_view taken = rest_.substr(0, rest_.find('"'));
        rest_.remove_prefix(taken.size());
        return taken;
    }

    std::string_view rest_;
    const std::string& path_;
    std::size_t number_;
};

// A translation may name further keys. A key met again inside its own
// expansion is shown untranslated, which ends every cycle; and one call
// expands at most maxExpansions translations (later keys show untranslated
// too), so entries that each name several others cannot grow the result
// exponentially.
class Expander {
public:
    static constexpr std::size_t maxExpansions = 256;

    Expander(const Translations& table, char32_t delimiter) : table_(table), delimiter_(delimiter) {}

    void expand(std::string_view text, std::string& out) {
        std::string key;
        bool inKey = false;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t start = pos;
            if (decodeUtf8(text, pos) != delimiter_) {
                (inKey ? key : out).append(text.substr(start, pos - start));
            } else if (!inKey) {
                inKey = true;
            } else {
                inKey = false;
                translate(key, out);
                key.clear();
            }
        }
    }

private:
    void translate(const std::string& key, std::string& out) {
        const auto found = table_.find(key);
        if (found == table_.end() || budget_ == 0 || std::ranges::find(active_, &found->first) != active_.end()) {
            out += key;
            return;
        }
        --budget_;
        active_.push_back(&found->first);
        expand(found->second, out);
        active_.pop_back();
    }

    const Translations& table_;
    char32_t delimiter_;
    std::size_t budget_ = maxExpansions;
    std::vector<const std::string*> active_;
};

} // namespace

LocaleEntries parseLocale(std::string_view text, const std::string& path) {
    LocaleEntries entries;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        entries.push_back(LineScanner(text.substr(start, end - start), path, ++number).entry());
        start = end + 1;
    }
    return entries;
}

void loadLocale(const std::string& directory) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (!fs::is_directory(directory, ignored)) return;
    const fs::path file = fs::path(directory) / (localeName + ".lang");
    if (!fs::is_regular_file(file, ignored)) return;
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) throw VandorException("Cannot read language file " + file.string());
    for (auto& [key, value] : parseLocale(text, file.string()))
        translations.insert_or_assign(std::move(key), std::move(value));
}

std::string lookup(const std::string& key) {
    const auto found = translations.find(key);
    return found == translations.end() ? key : found->second;
}

std::string localize(std::string_view text, char32_t delimiter) { return localize(text, delimiter, translations); }

std::string localize(std::string_view text, char32_t delimiter, const Translations& table) {
    std::string out;
    Expander(table, delimiter).expand(text, out);
    return out;
}

void FormatArg::appendTo(std::string& out) const {
    if (isText_) {
        out += text_;
        return;
    }
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, magnitude_).ptr;
    if (negative_) out += '-';
    out.append(digits, end);
}

std::string formatText(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    std::size_t next = 0;
    const auto fail = [format](const char* problem, std::size_t at) {
        throw FormatException(std::string(problem) + " at byte " + std::to_string(at) + " of `" + std::string(format) +
                              "'");
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (++i == format.size()) fail("Incomplete format directive", i - 1);
        if (format[i] == '%') {
            out += '%';
        } else if (format[i] != 's') {
            fail("Unsupported format directive", i - 1);
        } else if (next == args.size()) {
            fail("Missing argument for the format directive", i - 1);
        } else {
            args[next++].appendTo(out);
        }
    }
    return out;
}

} // namespace tandrel
