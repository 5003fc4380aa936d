// Plays the game the way a person at an X display would: starts the real
// executable, finds its window, types into it through XTest and reads its
// pixels back. Shared by the end-to-end test, the screenshot tool and the
// start-up benchmark, so all three see the game the same way.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

using Clock = std::chrono::steady_clock;

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The game's own process. The environment is the caller's with every locale
// variable replaced, so the language file chosen is the one asked for.
class Process {
public:
    Process(const std::string& exe, const std::string& workDir, const std::string& lang,
            const std::string& stderrPath) {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            std::string_view v(*e);
            if (v.starts_with("LANG=") || v.starts_with("LC_ALL=") || v.starts_with("LC_MESSAGES=") ||
                v.starts_with("LANGUAGE="))
                continue;
            env.emplace_back(v);
        }
        env.push_back("LANG=" + lang);
        env.push_back("SDL_AUDIODRIVER=dummy");
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> envp;
            for (auto& s : env) envp.push_back(s.data());
            envp.push_back(nullptr);
            int nul = open("/dev/null", O_RDWR);
            int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (nul < 0 || err < 0 || chdir(workDir.c_str()) != 0) _exit(126);
            dup2(nul, 0);
            dup2(nul, 1);
            dup2(err, 2);
            char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
            execve(exe.c_str(), argv, envp.data());
            _exit(127);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    pid_t pid() const { return pid_; }

    // The exit status once the process has ended within the timeout; -1 for
    // a death by signal, nothing while it still runs.
    std::optional<int> waitExit(int timeoutMs) {
        auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!status_) {
            int st = 0;
            pid_t r = waitpid(pid_, &st, WNOHANG);
            if (r == pid_) {
                status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
                break;
            }
            if (Clock::now() >= deadline) break;
            sleepMs(5);
        }
        return status_;
    }
    bool running() { return !waitExit(0); }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// An X error (a window that vanished between two requests, focus on a window
// not yet viewable) must not end the driver; the next poll simply retries.
inline int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

struct Rgb {
    int r, g, b;
};
constexpr Rgb rgb(std::uint32_t p) { return {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)}; }
inline bool near(Rgb a, Rgb b, int tol = 6) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

// A read-back of the window in X coordinates (origin upper left).
struct Frame {
    int width = 0, height = 0;
    std::vector<Rgb> px;
    Rgb at(int x, int y) const { return px[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    // The game draws with y upward from the lower left.
    Rgb atGl(int x, int y) const { return at(x, height - 1 - y); }
};

class XSession {
public:
    XSession() {
        XSetErrorHandler(ignoreXErrors);
        dpy_ = XOpenDisplay(nullptr);
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    ~XSession() {
        if (dpy_) XCloseDisplay(dpy_);
    }
    Display* display() const { return dpy_; }

    // The viewable top-level window captioned `name`, polled until `timeoutMs`.
    Window findWindow(const std::string& name, int timeoutMs, int pollMs = 20) {
        auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            if (Window w = search(DefaultRootWindow(dpy_), name, 0)) return w;
            if (Clock::now() >= deadline) return 0;
            sleepMs(pollMs);
        }
    }

    void focus(Window w) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy_, w, &a);
        // Key events go to the child under the pointer when it lies inside
        // the focus window, so park the pointer inside the game as well.
        XWarpPointer(dpy_, None, w, 0, 0, 0, 0, a.width / 2, a.height / 2);
        XSetInputFocus(dpy_, w, RevertToParent, CurrentTime);
        XSync(dpy_, False);
    }

    void press(KeySym sym) {
        KeyCode code = XKeysymToKeycode(dpy_, sym);
        XTestFakeKeyEvent(dpy_, code, True, 0);
        XTestFakeKeyEvent(dpy_, code, False, 0);
        XSync(dpy_, False);
    }

    // What a window manager sends when the user closes the window.
    void requestClose(Window w) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = long(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy_, w, False, NoEventMask, &ev);
        XSync(dpy_, False);
    }

    std::optional<Frame> grab(Window w, int x = 0, int y = 0, int width = 0, int height = 0) {
        if (width == 0 || height == 0) {
            XWindowAttributes a{};
            if (!XGetWindowAttributes(dpy_, w, &a)) return std::nullopt;
            width = a.width;
            height = a.height;
        }
        XImage* img = XGetImage(dpy_, w, x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
        if (!img) return std::nullopt;
        Frame f{width, height, {}};
        f.px.resize(std::size_t(width) * std::size_t(height));
        const int rs = shift(img->red_mask), gs = shift(img->green_mask), bs = shift(img->blue_mask);
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i) {
                unsigned long p = XGetPixel(img, i, j);
                f.px[std::size_t(j) * std::size_t(width) + std::size_t(i)] = {
                    int((p & img->red_mask) >> rs), int((p & img->green_mask) >> gs),
                    int((p & img->blue_mask) >> bs)};
            }
        XDestroyImage(img);
        return f;
    }

private:
    static int shift(unsigned long mask) {
        int s = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++s;
        }
        return s;
    }

    Window search(Window w, const std::string& name, int depth) {
        char* title = nullptr;
        if (XFetchName(dpy_, w, &title) && title) {
            bool match = name == title;
            XFree(title);
            XWindowAttributes a{};
            if (match && XGetWindowAttributes(dpy_, w, &a) && a.map_state == IsViewable) return w;
        }
        if (depth > 3) return 0;
        Window root = 0, parent = 0, *kids = nullptr;
        unsigned n = 0;
        if (!XQueryTree(dpy_, w, &root, &parent, &kids, &n)) return 0;
        Window found = 0;
        for (unsigned i = 0; i < n && !found; ++i) found = search(kids[i], name, depth + 1);
        if (kids) XFree(kids);
        return found;
    }

    Display* dpy_ = nullptr;
};

// ---- What the game draws -------------------------------------------------

constexpr std::uint32_t background = 0xBBADA0;
constexpr std::uint32_t emptyCell = 0xCDC0B4;
constexpr std::uint32_t gold = 0xEFAD3F;

struct TileColour {
    int value;
    std::uint32_t colour;
};
// Value 0 is the empty cell; values past 4096 all share the last colour.
inline const std::vector<TileColour>& tileColours() {
    static const std::vector<TileColour> t = {
        {0, emptyCell},   {2, 0xEEE4DA},    {4, 0xEDE0C8},     {8, 0xF2B179},     {16, 0xF59563},
        {32, 0xF67C5F},   {64, 0xF65E3B},   {128, 0xEDCF72},   {256, 0xEDCC61},   {512, 0xEDC850},
        {1024, 0xEDC53F}, {2048, 0xEDC22E}, {4096, 0x5FDB93},  {8192, 0x25BB64}};
    return t;
}

enum class Look { Plain, Dark, Gold, Unknown };

// A translucent overlay of alpha 0.75 over a cell of colour c.
inline Rgb veiled(Rgb c, Look look) {
    Rgb top = look == Look::Gold ? rgb(gold) : Rgb{0, 0, 0};
    auto mix = [](int over, int under) { return int(0.75 * over + 0.25 * under + 0.5); };
    return {mix(top.r, c.r), mix(top.g, c.g), mix(top.b, c.b)};
}

// A board as read off the screen: its look and the value in each cell
// (row-major from the top left), or -1 where no known colour was found.
struct BoardView {
    Look look = Look::Unknown;
    int cells[16]{};
    int tiles() const {
        int n = 0;
        for (int v : cells) n += v > 0;
        return n;
    }
    std::vector<int> values() const {
        std::vector<int> v;
        for (int c : cells)
            if (c > 0) v.push_back(c);
        std::sort(v.begin(), v.end());
        return v;
    }
    bool sameCells(const BoardView& o) const { return std::equal(cells, cells + 16, o.cells); }
};

// Reads board at left edge `x0`. A cell is sampled off its centre, clear of
// the digits; a board takes the look most of its cells agree on (captions
// over an overlay hide a few), and none may contradict it.
inline BoardView readBoard(const Frame& f, int x0) {
    int counts[3]{};
    int values[3][16];
    for (int cy = 0; cy < 4; ++cy)
        for (int cx = 0; cx < 4; ++cx) {
            int i = cy * 4 + cx;
            Rgb p = f.atGl(x0 + 50 + 100 * cx - 35, 400 - 100 * cy + 35);
            for (int l = 0; l < 3; ++l) {
                values[l][i] = -1;
                for (auto [value, colour] : tileColours()) {
                    Rgb want = l == 0 ? rgb(colour) : veiled(rgb(colour), Look(l));
                    if (near(p, want)) {
                        values[l][i] = value;
                        break;
                    }
                }
                counts[l] += values[l][i] >= 0;
            }
        }
    BoardView v;
    for (int l = 0; l < 3; ++l) {
        bool others = false;
        for (int k = 0; k < 3; ++k) others |= k != l && counts[k] > 0;
        if ((l == 0 ? counts[l] == 16 : counts[l] >= 12) && !others) {
            v.look = Look(l);
            std::copy(values[l], values[l] + 16, v.cells);
        }
    }
    return v;
}

constexpr int leftBoard = 0;
constexpr int rightBoard = 410;

}  // namespace e2e
