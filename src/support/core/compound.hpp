#pragma once

namespace tandrel {

// A plain pair addressed by position; its members carry no meaning of their own.
template <typename A, typename B>
struct Compound {
    A first{};
    B second{};
};

} // namespace tandrel
