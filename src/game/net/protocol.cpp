#include "game/net/protocol.hpp"

#include <algorithm>
#include <cstring>

namespace tandrel::net {

namespace {

constexpr std::array<char, 4> magic{'T', 'N', 'D', 'R'};
constexpr std::size_t helloFixed = magic.size() + 1;

// The largest payload each type may carry; 0 for a type that does not exist.
std::size_t payloadLimit(std::uint8_t type) {
    switch (static_cast<MessageType>(type)) {
    case MessageType::Hello: return helloFixed + maxVersionLength;
    case MessageType::Deal: return 12;
    case MessageType::Move: return 1;
    case MessageType::Busy:
    case MessageType::Again:
    case MessageType::Ping: return 0;
    }
    return 0;
}

bool knownType(std::uint8_t type) {
    return type >= static_cast<std::uint8_t>(MessageType::Hello) &&
           type <= static_cast<std::uint8_t>(MessageType::Ping);
}

// Only Hello has a payload of varying length.
bool lengthFits(std::uint8_t type, std::size_t length) {
    const std::size_t limit = payloadLimit(type);
    if (static_cast<MessageType>(type) == MessageType::Hello) return length >= helloFixed && length <= limit;
    return length == limit;
}

void putU32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

std::uint32_t getU32(const std::uint8_t* in) {
    return std::uint32_t{in[0]} << 24 | std::uint32_t{in[1]} << 16 | std::uint32_t{in[2]} << 8 | in[3];
}

} // namespace

Message Message::hello(std::string_view version) {
    Message m;
    m.type = MessageType::Hello;
    m.versionLength = static_cast<std::uint8_t>(std::min(version.size(), maxVersionLength));
    std::copy_n(version.data(), m.versionLength, m.versionBytes.data());
    return m;
}

Encoded encode(const Message& message) {
    Encoded e;
    std::uint8_t* payload = e.bytes.data() + 2;
    std::size_t length = 0;
    switch (message.type) {
    case MessageType::Hello:
        std::memcpy(payload, magic.data(), magic.size());
        payload[magic.size()] = message.protocol;
        std::memcpy(payload + helloFixed, message.versionBytes.data(), message.versionLength);
        length = helloFixed + message.versionLength;
        break;
    case MessageType::Deal:
        putU32(payload, message.deal.match);
        putU32(payload + 4, message.deal.seeds[0]);
        putU32(payload + 8, message.deal.seeds[1]);
        length = 12;
        break;
    case MessageType::Move:
        payload[0] = static_cast<std::uint8_t>(message.direction);
        length = 1;
        break;
    case MessageType::Busy:
    case MessageType::Again:
    case MessageType::Ping: break;
    }
    e.bytes[0] = static_cast<std::uint8_t>(message.type);
    e.bytes[1] = static_cast<std::uint8_t>(length);
    e.size = 2 + length;
    return e;
}

Decoder::Status Decoder::next(std::span<const std::uint8_t>& input, Message& message) {
    while (!input.empty()) {
        const std::size_t wanted = have_ < 2 ? 2 : 2 + std::size_t{buffer_[1]};
        const std::size_t take = std::min(wanted - have_, input.size());
        std::copy_n(input.begin(), take, buffer_.begin() + static_cast<std::ptrdiff_t>(have_));
        have_ += take;
        input = input.subspan(take);
        if (have_ == 2) {
            // The header is judged before any payload is waited for, so that a
            // peer announcing too much is cut off at once.
            if (!knownType(buffer_[0])) return fail("a message of unknown type");
            if (!lengthFits(buffer_[0], buffer_[1])) return fail("a message of the wrong length");
        }
        if (have_ >= 2 && have_ == 2 + std::size_t{buffer_[1]}) return finish(message);
    }
    return Status::NeedMore;
}

Decoder::Status Decoder::fail(std::string_view why) {
    error_ = why;
    return Status::Malformed;
}

Decoder::Status Decoder::finish(Message& message) {
    const std::uint8_t* payload = buffer_.data() + 2;
    const std::size_t length = buffer_[1];
    have_ = 0;
    message.type = static_cast<MessageType>(buffer_[0]);
    switch (message.type) {
    case MessageType::Hello: {
        if (!std::equal(magic.begin(), magic.end(), payload)) return fail("a greeting that is not Tandrel's");
        message.protocol = payload[magic.size()];
        message.versionLength = static_cast<std::uint8_t>(length - helloFixed);
        const std::uint8_t* version = payload + helloFixed;
        // Shown on screen: only printable ASCII gets that far.
        if (!std::all_of(version, version + message.versionLength,
                         [](std::uint8_t c) { return c >= 0x20 && c < 0x7f; }))
            return fail("a version that is not printable");
        std::copy_n(version, message.versionLength, message.versionBytes.data());
        break;
    }
    case MessageType::Deal: message.deal = {getU32(payload), {getU32(payload + 4), getU32(payload + 8)}}; break;
    case MessageType::Move:
        if (payload[0] > 3) return fail("a move in no direction");
        message.direction = static_cast<Direction>(payload[0]);
        break;
    case MessageType::Busy:
    case MessageType::Again:
    case MessageType::Ping: break;
    }
    return Status::Complete;
}

} // namespace tandrel::net
