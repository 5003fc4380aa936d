#include "framework/ui/utf8.hpp"

namespace tandrel {

namespace {

[[noreturn]] void invalid(std::size_t offset) {
    throw Utf8Exception("Invalid UTF-8 sequence at byte " + std::to_string(offset), offset);
}

} // namespace

char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length;
    char32_t code;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        invalid(start);
    }
    if (text.size() - start < length) invalid(start);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[start + i]);
        if ((next & 0xC0) != 0x80) invalid(start);
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) invalid(start);
    pos = start + length;
    return code;
}

bool isValidUtf8(std::string_view text) {
    try {
        for (std::size_t pos = 0; pos < text.size();) decodeUtf8(text, pos);
        return true;
    } catch (const Utf8Exception&) {
        return false;
    }
}

} // namespace tandrel
