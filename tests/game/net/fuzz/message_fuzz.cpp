// libFuzzer target over the network message decoder: the input is a byte
// stream from a peer, handed over in pieces whose sizes the input also picks.

#include "game/net/protocol.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tandrel::net;
    if (size == 0) return 0;
    // The first byte sets the size of the pieces: 1 to 16 bytes.
    const std::size_t piece = (data[0] & 15u) + 1;
    const std::span<const std::uint8_t> stream(data + 1, size - 1);

    Decoder decoder;
    Message message;
    std::size_t start = 0;
    for (std::size_t at = 0; at < stream.size();) {
        std::span<const std::uint8_t> input = stream.subspan(at, std::min(piece, stream.size() - at));
        while (!input.empty()) {
            const std::size_t before = input.size();
            const Decoder::Status status = decoder.next(input, message);
            at += before - input.size();
            if (status == Decoder::Status::Malformed) {
                if (decoder.error().empty()) __builtin_trap();
                return 0;
            }
            if (status == Decoder::Status::Complete) {
                // What was accepted is exactly what the encoder writes for it.
                const Encoded again = encode(message);
                if (again.size != at - start || std::memcmp(again.bytes.data(), stream.data() + start, again.size) != 0)
                    __builtin_trap();
                start = at;
            }
        }
    }
    return 0;
}
