// Starts a program and times its start-up from outside, as one more X client on
// the same display, without any help from the program:
//  - mapped: from the start (just before the fork) to the moment its window,
//    found by its title, is viewable (mapped, and so is the window manager's frame);
//  - painted: to the moment one pixel of the window has the colour the program
//    paints there, looked at every few hundred microseconds: its first frame;
// then asks the window manager to close the window (_NET_CLOSE_WINDOW) and waits
// for the program to end, which gives its peak resident memory.
//
// Usage: marevo-probe TITLE X,Y RRGGBB POLL_US SETTLE_MS TIMEOUT_S LOG PROGRAM [ARG...]
//   TITLE      the window's title (_NET_WM_NAME, or WM_NAME)
//   X,Y        a point of the window's client area, in pixels
//   RRGGBB     the colour the program paints at that point, as hex RGB
//   POLL_US    microseconds between two looks at the pixel
//   SETTLE_MS  milliseconds to leave the program alone after its first frame
//   TIMEOUT_S  seconds allowed for each step: mapping, painting, ending
//   LOG        file that receives the program's standard output and error
//
// Prints one line: mapped_ms=... painted_ms=... ended_ms=... maxrss_kb=... status=...
// first_colour=... (the pixel at the first look, before the program painted it).
// Exits 0 when the window was seen painted and the program ended by itself with
// status 0; 1 otherwise (after killing the program if it was still running); 2 on
// a usage error.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Options {
    std::string title;
    int x = -1;
    int y = -1;
    std::uint32_t colour = 0;
    std::chrono::microseconds poll{500};
    std::chrono::milliseconds settle{0};
    std::chrono::seconds timeout{10};
    std::string log;
    std::vector<char*> command; // ends with a null pointer
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: marevo-probe TITLE X,Y RRGGBB POLL_US SETTLE_MS TIMEOUT_S LOG "
                         "PROGRAM [ARG...]\n");
    std::exit(2);
}

int number(std::string_view text, int base = 10) {
    int value = -1;
    const char* end = text.data() + text.size();
    if (std::from_chars(text.data(), end, value, base).ptr != end || value < 0) {
        usage();
    }
    return value;
}

Options parse(int argc, char* argv[]) {
    if (argc < 9) {
        usage();
    }
    const std::string_view pixel = argv[2];
    const auto comma = std::min(pixel.find(','), pixel.size());
    Options options{argv[1],
                    number(pixel.substr(0, comma)),
                    number(pixel.substr(std::min(comma + 1, pixel.size()))),
                    static_cast<std::uint32_t>(number(argv[3], 16)),
                    std::chrono::microseconds(number(argv[4])),
                    std::chrono::milliseconds(number(argv[5])),
                    std::chrono::seconds(number(argv[6])),
                    argv[7],
                    {argv + 8, argv + argc}};
    options.command.push_back(nullptr);
    return options;
}

class Display {
public:
    Display() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_) != 0) {
            std::fprintf(stderr, "marevo-probe: cannot open the display\n");
            std::exit(1);
        }
        // The program started here must not inherit the connection.
        fcntl(xcb_get_file_descriptor(connection_), F_SETFD, FD_CLOEXEC);
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        littleEndian_ = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
        root_ = xcb_setup_roots_iterator(setup).data->root; // Xvfb's only screen
        netWmName_ = atom("_NET_WM_NAME");
        utf8String_ = atom("UTF8_STRING");
        netCloseWindow_ = atom("_NET_CLOSE_WINDOW");
        // Every window created, mapped or reparented directly under the root is told of,
        // from before the program starts.
        watch(root_, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    xcb_window_t root() const { return root_; }

    void watch(xcb_window_t window, std::uint32_t mask) {
        // A window already gone gives an error event, which the event loop passes over.
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }

    // The next event, if one has come; waits at most `wait` for one.
    Reply<xcb_generic_event_t> event(std::chrono::milliseconds wait) {
        Reply<xcb_generic_event_t> next(xcb_poll_for_event(connection_));
        if (!next && wait.count() > 0) {
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(wait.count()));
            next.reset(xcb_poll_for_event(connection_));
        }
        return next;
    }

    bool viewable(xcb_window_t window) {
        const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    std::string title(xcb_window_t window) {
        std::string text = property(window, netWmName_, utf8String_);
        return text.empty() ? property(window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) : text;
    }

    // The colour of one pixel of a viewable window as 0xRRGGBB, if it can be read.
    std::optional<std::uint32_t> pixel(xcb_window_t window, int x, int y) {
        const Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), 1, 1, ~0U),
            nullptr));
        if (!image || image->depth < 24 || xcb_get_image_data_length(image.get()) < 4) {
            return std::nullopt;
        }
        const std::uint8_t* bytes = xcb_get_image_data(image.get());
        const std::uint32_t value = littleEndian_ ? bytes[0] | (bytes[1] << 8U) | (bytes[2] << 16U)
                                                  : bytes[3] | (bytes[2] << 8U) | (bytes[1] << 16U);
        return value & 0xFFFFFFU;
    }

    // Asks the window manager to close the window, as a taskbar or pager does.
    void requestClose(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = netCloseWindow_;
        message.data.data32[0] = XCB_CURRENT_TIME;
        message.data.data32[1] = 2; // source: a pager
        xcb_send_event(connection_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

private:
    xcb_atom_t atom(const char* name) {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    std::string property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, name, type, 0, 1024), nullptr));
        if (!reply || reply->format != 8) {
            return {};
        }
        return {static_cast<const char*>(xcb_get_property_value(reply.get())),
                static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    bool littleEndian_ = true;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    xcb_atom_t utf8String_ = XCB_ATOM_NONE;
    xcb_atom_t netCloseWindow_ = XCB_ATOM_NONE;
};

// The program under measurement, started at once; reaped once it has ended.
struct Child {
    explicit Child(const Options& options) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.log.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        const int error = posix_spawnp(&pid, options.command.front(), &actions, nullptr,
                                       options.command.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            std::fprintf(stderr, "marevo-probe: cannot start %s: %s\n", options.command.front(),
                         std::strerror(error));
            std::exit(1);
        }
    }

    // True once the program has ended; with flags 0, waits for that.
    bool reap(int flags = WNOHANG) {
        if (!endedAt && wait4(pid, &status, flags, &usage) == pid) {
            endedAt = Clock::now();
        }
        return endedAt.has_value();
    }

    // The exit status, or 128 and the signal that ended it.
    int exitCode() const {
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    pid_t pid = -1;
    int status = 0;
    rusage usage{};
    std::optional<Clock::time_point> endedAt;
};

// One start of the program, watched from the display in three steps.
class Probe {
public:
    explicit Probe(const Options& options) : options_(options) {}

    // Mapped: the window is viewable. Painted: the pixel has the colour; before its first
    // frame the window shows what lies under it (Qt gives its windows no background of
    // their own). The pixel is looked at from the window's own map on, so a frame painted
    // the moment the window became viewable is seen.
    const char* waitForFirstFrame() {
        while (true) {
            const Clock::time_point now = Clock::now();
            if (now - startedAt_ > options_.timeout &&
                (!mappedAt_ || now - *mappedAt_ > options_.timeout)) {
                return mappedAt_ ? "the pixel did not get its colour in time"
                                 : "no window with the title was mapped in time";
            }
            if (child_.reap()) {
                return "the program ended before its first frame";
            }
            findWindow();
            if (window_ != XCB_NONE && lookAtPixel()) {
                return nullptr;
            }
            if (window_ != XCB_NONE) {
                std::this_thread::sleep_for(options_.poll);
            }
        }
    }

    // Ended: the window manager's close request, then the program's own end.
    const char* close() {
        std::this_thread::sleep_for(options_.settle);
        display_.requestClose(window_);
        const Clock::time_point closedAt = Clock::now();
        while (!child_.reap()) {
            if (Clock::now() - closedAt > options_.timeout) {
                return "the program did not end after the close request";
            }
            while (display_.event(0ms)) {
            }
            std::this_thread::sleep_for(1ms);
        }
        return child_.exitCode() == 0 ? nullptr : "the program did not end with status 0";
    }

    int report(const char* failure) {
        if (!child_.reap()) {
            kill(child_.pid, SIGKILL);
            child_.reap(0);
        }
        std::printf("mapped_ms=%.3f painted_ms=%.3f ended_ms=%.3f maxrss_kb=%ld status=%d "
                    "first_colour=%06x\n",
                    mappedAt_ ? msBetween(startedAt_, *mappedAt_) : -1.0,
                    paintedAt_ ? msBetween(startedAt_, *paintedAt_) : -1.0,
                    msBetween(startedAt_, *child_.endedAt), child_.usage.ru_maxrss,
                    child_.exitCode(), first_.value_or(0));
        if (failure == nullptr) {
            return 0;
        }
        std::fprintf(stderr, "marevo-probe: %s: %s (last colour seen %06x)\n",
                     options_.command.front(), failure, seen_);
        return 1;
    }

private:
    // The window: a new top-level window with the title, known at its own map (the window
    // manager maps it inside its frame, then maps the frame). Reads every event that has
    // come; while the window is unknown, waits a little for one.
    void findWindow() {
        auto wait = window_ == XCB_NONE ? 5ms : 0ms;
        while (const Reply<xcb_generic_event_t> event = display_.event(wait)) {
            wait = 0ms;
            const Clock::time_point when = Clock::now();
            const auto type = event->response_type & 0x7FU;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* creation =
                    reinterpret_cast<const xcb_create_notify_event_t*>(event.get());
                if (creation->parent == display_.root()) {
                    created_.push_back(creation->window);
                    display_.watch(creation->window, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
                }
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
                const bool own = map->event == map->window;
                if (window_ == XCB_NONE && own &&
                    std::find(created_.begin(), created_.end(), map->window) != created_.end() &&
                    display_.title(map->window) == options_.title) {
                    window_ = map->window;
                }
                // A window mapped before its watch began is found when its frame is mapped.
                for (auto it = created_.begin();
                     window_ == XCB_NONE && !own && it != created_.end(); ++it) {
                    if (display_.viewable(*it) && display_.title(*it) == options_.title) {
                        window_ = *it;
                    }
                }
                if (window_ != XCB_NONE && !mappedAt_ && display_.viewable(window_)) {
                    mappedAt_ = when;
                }
            }
        }
    }

    // True once the pixel has the colour; a window not yet viewable has no pixels to read.
    bool lookAtPixel() {
        const Clock::time_point lookedAt = Clock::now();
        const auto colour = display_.pixel(window_, options_.x, options_.y);
        if (!colour) {
            return false;
        }
        mappedAt_ = mappedAt_.value_or(lookedAt);
        seen_ = *colour;
        first_ = first_.value_or(seen_);
        if (seen_ == options_.colour) {
            paintedAt_ = lookedAt;
        }
        return paintedAt_.has_value();
    }

    const Options& options_;
    Display display_;
    Clock::time_point startedAt_ = Clock::now();
    Child child_{options_};
    std::vector<xcb_window_t> created_;
    xcb_window_t window_ = XCB_NONE;
    std::optional<Clock::time_point> mappedAt_;
    std::optional<Clock::time_point> paintedAt_;
    std::optional<std::uint32_t> first_;
    std::uint32_t seen_ = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    const Options options = parse(argc, argv);
    Probe probe(options);
    const char* failure = probe.waitForFirstFrame();
    return probe.report(failure != nullptr ? failure : probe.close());
}
