// Plays the game the way a person does: starts the real executable, finds its
// X window, types on the keyboard through XTest and reads the window's pixels.
// Shared by the end-to-end tests, the screenshot helper and the start-up
// benchmark, so it links only Xlib and XTest, never the game's own libraries.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using XWindow = unsigned long;  // Xlib's Window, without dragging in its macros
struct _XDisplay;

namespace e2e {

using Millis = std::chrono::milliseconds;

struct LaunchOptions {
    std::string workDir;
    // Applied over the inherited environment; an empty value unsets the name.
    std::vector<std::pair<std::string, std::string>> env;
};

// A started child whose stderr is kept for the test to read after it ends.
class Child {
public:
    Child(const std::string& exe, const LaunchOptions& options);
    ~Child();  // kills a child still running, so no test leaves one behind
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    // Exit status (128 + signal for a killed child), or nothing on timeout.
    std::optional<int> wait(Millis timeout);
    bool running();
    const std::string& stderrText();  // complete once wait() has returned a status

private:
    void drain();
    pid_t pid_ = -1;
    int errFd_ = -1;
    std::optional<int> status_;
    std::string err_;
};

struct Rgb {
    int r, g, b;
};
constexpr Rgb rgb(std::uint32_t packed) {
    return {int((packed >> 16) & 0xFF), int((packed >> 8) & 0xFF), int(packed & 0xFF)};
}
bool near(Rgb a, Rgb b, int tolerance);
// Colour `top` laid with `alpha` over `bottom`, as source-alpha blending does.
Rgb blend(Rgb top, double alpha, Rgb bottom);

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, rows from the top
    Rgb at(int x, int y) const { return rgb(pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]); }
    bool contains(int x0, int y0, int x1, int y1, Rgb colour, int tolerance) const;
    bool savePng(const std::string& path) const;
};

class XSession {
public:
    XSession();  // connects to $DISPLAY; throws std::runtime_error without one
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // A viewable window titled `name`; with a pid, one whose _NET_WM_PID (if
    // it has one) names that process. Polls until the timeout.
    std::optional<XWindow> findWindow(const std::string& name, pid_t pid, Millis timeout);
    // There is no window manager, so the test hands the keyboard over itself.
    void focus(XWindow window);
    // Presses and releases a key named by its X keysym name ("a", "Left", "Return").
    void key(const std::string& keysym, bool shift = false);
    // Moves the pointer to (x, y) inside the window, from its top-left corner.
    void pointer(XWindow window, int x, int y);
    // Presses or releases a mouse button (1 left, 2 middle, 3 right, 4 and 5
    // the wheel's two directions).
    void button(unsigned int number, bool press);
    std::optional<Image> capture(XWindow window);
    // What a window manager sends when the user clicks the close button.
    void requestClose(XWindow window);

private:
    _XDisplay* display_ = nullptr;
};

// Presses Escape and waits for the child to end: its exit status, or -1 when
// it is still running after the timeout.
int quitWithEscape(XSession& x, Child& child, Millis timeout = Millis(5000));

}  // namespace e2e
