#include "game/net/session.hpp"
#include "game/net/socket.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tandrel::net {

std::optional<std::uint16_t> parsePort(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 1 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::optional<JoinTarget> parseJoinTarget(std::string_view text) {
    JoinTarget target;
    std::string_view rest;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        target.host = text.substr(1, close - 1);
        if (target.host.find(':') == std::string::npos) return std::nullopt;
        rest = text.substr(close + 1);
    } else {
        const std::size_t colon = text.find(':');
        // A second colon means an IPv6 address: its port needs the brackets.
        if (colon != std::string_view::npos && text.find(':', colon + 1) != std::string_view::npos) return std::nullopt;
        target.host = text.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
    }
    if (target.host.empty()) return std::nullopt;
    // Characters no name or address contains; a space or a control character
    // here is a typing slip, not a name to look up.
    if (std::any_of(target.host.begin(), target.host.end(), [](char c) {
            return !(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':' || c == '_' ||
                     c == '%');
        }))
        return std::nullopt;
    if (!rest.empty()) {
        if (rest.front() != ':') return std::nullopt;
        const auto port = parsePort(rest.substr(1));
        if (!port) return std::nullopt;
        target.port = *port;
    }
    return target;
}

std::string joinText(const JoinTarget& target) {
    const bool v6 = target.host.find(':') != std::string::npos;
    return (v6 ? "[" + target.host + "]" : target.host) + ":" + std::to_string(target.port);
}

std::vector<std::string> localAddresses() {
    auto found = interfaceAddresses();
    // IPv4 first: the shorter to type and the likelier to work across a router.
    std::stable_partition(found.begin(), found.end(), [](const InterfaceAddress& a) { return a.family == Family::V4; });
    const bool onlyLoopback = std::all_of(found.begin(), found.end(), [](const auto& a) { return a.loopback; });
    std::vector<std::string> result;
    for (const auto& a : found)
        if (onlyLoopback || !a.loopback) result.push_back(a.text);
    return result;
}

} // namespace tandrel::net
