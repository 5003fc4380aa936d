#include "harness.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

void sleepFor(Millis ms) { std::this_thread::sleep_for(ms); }

// A failed XGetImage on a window that is just closing must not end the test
// through Xlib's default handler, which exits the process.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

int statusOf(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

}  // namespace

Child::Child(const std::string& exe, const LaunchOptions& options) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        dup2(fds[1], STDERR_FILENO);
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) dup2(devnull, STDOUT_FILENO);  // the joystick report
        if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : options.env) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    errFd_ = fds[0];
    fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

Child::~Child() {
    if (!status_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        int raw = 0;
        waitpid(pid_, &raw, 0);
    }
    if (errFd_ >= 0) close(errFd_);
}

void Child::drain() {
    char buffer[4096];
    for (;;) {
        ssize_t n = read(errFd_, buffer, sizeof buffer);
        if (n <= 0) break;
        err_.append(buffer, std::size_t(n));
    }
}

std::optional<int> Child::wait(Millis timeout) {
    const auto end = Clock::now() + timeout;
    while (!status_) {
        drain();
        int raw = 0;
        pid_t done = waitpid(pid_, &raw, WNOHANG);
        if (done == pid_) {
            status_ = statusOf(raw);
            break;
        }
        if (Clock::now() >= end) return std::nullopt;
        sleepFor(Millis(5));
    }
    drain();
    return status_;
}

bool Child::running() { return !wait(Millis(0)); }

const std::string& Child::stderrText() {
    drain();
    return err_;
}

bool near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

Rgb blend(Rgb top, double alpha, Rgb bottom) {
    auto mix = [alpha](int t, int b) { return int(std::lround(alpha * t + (1 - alpha) * b)); };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)};
}

bool Image::contains(int x0, int y0, int x1, int y1, Rgb colour, int tolerance) const {
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            if (near(at(x, y), colour, tolerance)) return true;
    return false;
}

bool Image::savePng(const std::string& path) const {
    std::vector<unsigned char> raw;
    raw.reserve(std::size_t(height) * (std::size_t(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no per-row filter
        for (int x = 0; x < width; ++x) {
            Rgb c = at(x, y);
            raw.insert(raw.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                   static_cast<unsigned char>(c.b)});
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK) return false;
    packed.resize(packedSize);

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    auto be32 = [](std::vector<unsigned char>& v, std::uint32_t n) {
        for (int shift = 24; shift >= 0; shift -= 8) v.push_back(static_cast<unsigned char>(n >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<unsigned char>& data) {
        std::vector<unsigned char> bytes;
        be32(bytes, std::uint32_t(data.size()));
        bytes.insert(bytes.end(), type, type + 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        be32(bytes, std::uint32_t(crc32(0, bytes.data() + 4, uInt(bytes.size() - 4))));
        std::fwrite(bytes.data(), 1, bytes.size(), out);
    };
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::fwrite(signature, 1, sizeof signature, out);
    std::vector<unsigned char> header;
    be32(header, std::uint32_t(width));
    be32(header, std::uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter, no interlace
    chunk("IHDR", header);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return std::fclose(out) == 0;
}

XSession::XSession() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) throw std::runtime_error("cannot open the X display named by $DISPLAY");
    XSetErrorHandler(ignoreXError);
}

XSession::~XSession() {
    if (display_) XCloseDisplay(display_);
}

namespace {

std::optional<unsigned long> windowPid(Display* display, Window window) {
    Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == None) return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> pid;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1 && format == 32)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return pid;
}

std::optional<Window> search(Display* display, Window window, const std::string& name, pid_t pid) {
    char* title = nullptr;
    if (XFetchName(display, window, &title) && title) {
        bool match = name == title;
        XFree(title);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
            auto owner = windowPid(display, window);
            if (pid <= 0 || !owner || *owner == static_cast<unsigned long>(pid)) return window;
        }
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::optional<Window> found;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) found = search(display, children[i], name, pid);
        if (children) XFree(children);
    }
    return found;
}

}  // namespace

std::optional<XWindow> XSession::findWindow(const std::string& name, pid_t pid, Millis timeout) {
    const auto end = Clock::now() + timeout;
    for (;;) {
        if (auto found = search(display_, DefaultRootWindow(display_), name, pid)) return *found;
        if (Clock::now() >= end) return std::nullopt;
        sleepFor(Millis(2));
    }
}

void XSession::focus(XWindow window) {
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
}

void XSession::key(const std::string& keysym, bool shift) {
    KeySym symbol = XStringToKeysym(keysym.c_str());
    if (symbol == NoSymbol) throw std::invalid_argument("unknown key " + keysym);
    KeyCode code = XKeysymToKeycode(display_, symbol);
    KeyCode shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
    if (shift) XTestFakeKeyEvent(display_, shiftCode, True, 0);
    XTestFakeKeyEvent(display_, code, True, 0);
    XTestFakeKeyEvent(display_, code, False, 0);
    if (shift) XTestFakeKeyEvent(display_, shiftCode, False, 0);
    XSync(display_, False);
}

void XSession::pointer(XWindow window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, 0);
    XSync(display_, False);
}

void XSession::button(unsigned int number, bool press) {
    XTestFakeButtonEvent(display_, number, press ? True : False, 0);
    XSync(display_, False);
}

std::optional<Image> XSession::capture(XWindow window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes) || attributes.map_state != IsViewable)
        return std::nullopt;
    XImage* shot = XGetImage(display_, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                             AllPlanes, ZPixmap);
    if (!shot) return std::nullopt;
    auto shiftOf = [](unsigned long mask) {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return shift;
    };
    const int rs = shiftOf(shot->red_mask), gs = shiftOf(shot->green_mask), bs = shiftOf(shot->blue_mask);
    Image image;
    image.width = attributes.width;
    image.height = attributes.height;
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            unsigned long p = XGetPixel(shot, x, y);
            auto r = (p & shot->red_mask) >> rs, g = (p & shot->green_mask) >> gs, b = (p & shot->blue_mask) >> bs;
            image.pixels[std::size_t(y) * std::size_t(image.width) + std::size_t(x)] =
                std::uint32_t((r << 16) | (g << 8) | b);
        }
    XDestroyImage(shot);
    return image;
}

void XSession::requestClose(XWindow window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

int quitWithEscape(XSession& x, Child& child, Millis timeout) {
    x.key("Escape");
    auto status = child.wait(timeout);
    return status ? *status : -1;
}

}  // namespace e2e
