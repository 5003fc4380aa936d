#pragma once

#include "binding/util/exception.hpp"

#include <cstddef>
#include <string>
#include <string_view>

namespace tandrel {

// Raised for a byte sequence that is not well-formed UTF-8.
class Utf8Exception : public VandorException {
public:
    Utf8Exception(const std::string& message, std::size_t offset) : VandorException(message), offset(offset) {}
    // Byte offset of the offending sequence in the decoded text.
    std::size_t offset;
};

// Decodes the code point starting at byte pos and moves pos past it. Rejects
// truncated sequences, stray continuation bytes, overlong forms, surrogates
// and values above U+10FFFF. Allocates nothing unless it throws.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

// True when the whole text is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

} // namespace tandrel
