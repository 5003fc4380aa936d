#pragma once

#include "framework/core/drawable.hpp"
#include "framework/ui/font.hpp"
#include "framework/ui/textline.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace tandrel {

// The network match for a person without a command line, over the middle of
// the window: host a match, or type the address of one to join. What went
// wrong with the last try shows under the address.
class NetPanel : public Drawable {
public:
    enum class Action { None, Close, Host, Join };

    // The font is the owner's and must outlive the panel.
    explicit NetPanel(Font& font);

    bool open = false;
    // Opens with the address offered, and no complaint yet.
    void show(const std::string& address);
    // A key pressed while it is open, with the character it typed (0 for
    // none).
    Action key(std::int32_t key, std::uint32_t character);
    const std::string& address() const { return typed; }
    void setStatus(const std::string& text);
    void draw(double dt) override;
    void free() override {}

private:
    std::string typed;
    // The title, what each key does, the address with a cursor, the status.
    std::array<TextLine, 6> lines;
};

} // namespace tandrel
