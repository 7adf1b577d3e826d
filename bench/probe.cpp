// Starts a program and times its start-up from outside, as one more X client on
// the same display, without any help from the program:
//  - mapped: from the start (just before the fork) to the moment its window,
//    found by its title, is viewable (mapped, and so is the window manager's frame);
//  - painted: to the moment one pixel of the window has the colour the program
//    paints there, looked at every few hundred microseconds: its first frame;
// then asks the window manager to close the window (_NET_CLOSE_WINDOW) and waits
// for the program to end, which gives its peak resident memory.
//
// Usage: marevo-probe --title TEXT --pixel X,Y --colour RRGGBB [--poll-us N]
//                     [--settle-ms N] [--timeout S] [--log FILE] -- PROGRAM [ARG...]
//   --title     the window's title (_NET_WM_NAME, or WM_NAME)
//   --pixel     a point of the window's client area, in pixels
//   --colour    the colour the program paints at that point, as hex RGB
//   --poll-us   microseconds between two looks at the pixel (default 500)
//   --settle-ms milliseconds to leave the program alone after its first frame (default 0)
//   --timeout   seconds allowed for each step: mapping, painting, ending (default 10)
//   --log       file that receives the program's standard output and error (default: ours)
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

[[noreturn]] void usage(const char* problem) {
    std::fprintf(stderr,
                 "marevo-probe: %s\n"
                 "usage: marevo-probe --title TEXT --pixel X,Y --colour RRGGBB [--poll-us N]\n"
                 "                    [--settle-ms N] [--timeout S] [--log FILE] -- PROGRAM "
                 "[ARG...]\n",
                 problem);
    std::exit(2);
}

long number(const char* text, int base) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, base);
    if (end == text || *end != '\0' || value < 0) {
        usage("not a number where one belongs");
    }
    return value;
}

Options parse(int argc, char* argv[]) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) {
            usage("an option without its value");
        }
        const char* value = argv[++i];
        if (arg == "--title") {
            options.title = value;
        } else if (arg == "--pixel") {
            const std::string_view text = value;
            const auto comma = text.find(',');
            if (comma == std::string_view::npos) {
                usage("--pixel wants X,Y");
            }
            options.x = static_cast<int>(number(std::string(text.substr(0, comma)).c_str(), 10));
            options.y = static_cast<int>(number(std::string(text.substr(comma + 1)).c_str(), 10));
        } else if (arg == "--colour") {
            options.colour = static_cast<std::uint32_t>(number(value, 16)) & 0xFFFFFFU;
        } else if (arg == "--poll-us") {
            options.poll = std::chrono::microseconds(number(value, 10));
        } else if (arg == "--settle-ms") {
            options.settle = std::chrono::milliseconds(number(value, 10));
        } else if (arg == "--timeout") {
            options.timeout = std::chrono::seconds(number(value, 10));
        } else if (arg == "--log") {
            options.log = value;
        } else {
            usage("an unknown option");
        }
    }
    if (options.title.empty() || options.x < 0 || options.y < 0 || i >= argc) {
        usage("--title, --pixel, --colour and a program are needed");
    }
    options.command.assign(argv + i, argv + argc);
    options.command.push_back(nullptr);
    return options;
}

class Display {
public:
    Display() {
        int screenNumber = 0;
        connection_ = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection_) != 0) {
            std::fprintf(stderr, "marevo-probe: cannot open the display\n");
            std::exit(1);
        }
        // The program started here must not inherit the connection.
        fcntl(xcb_get_file_descriptor(connection_), F_SETFD, FD_CLOEXEC);
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        littleEndian_ = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
        for (int i = 0; i < screenNumber; ++i) {
            xcb_screen_next(&screens);
        }
        root_ = screens.data->root;
        netWmName_ = atom("_NET_WM_NAME");
        utf8String_ = atom("UTF8_STRING");
        netCloseWindow_ = atom("_NET_CLOSE_WINDOW");
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    Display(Display&&) = delete;
    Display& operator=(Display&&) = delete;

    xcb_window_t root() const { return root_; }

    // Tells of every window created, mapped or reparented directly under `window`.
    void watchChildren(xcb_window_t window) { selectEvents(window, true); }
    void watchWindow(xcb_window_t window) { selectEvents(window, false); }

    void sync() {
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
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

    bool broken() const { return xcb_connection_has_error(connection_) != 0; }

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

    void selectEvents(xcb_window_t window, bool children) {
        const std::uint32_t mask =
            children ? XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY : XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        // A window already gone gives an error event, which the event loop passes over.
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
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

struct Child {
    pid_t pid = -1;
    bool ended = false;
    int status = 0;
    rusage usage{};
    Clock::time_point endedAt;

    // Reaps the program if it has ended; true once it has.
    bool reap() {
        if (!ended && wait4(pid, &status, WNOHANG, &usage) == pid) {
            ended = true;
            endedAt = Clock::now();
        }
        return ended;
    }
};

pid_t start(const Options& options) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!options.log.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.log.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, options.command.front(), &actions, nullptr,
                                   options.command.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        std::fprintf(stderr, "marevo-probe: cannot start %s: %s\n", options.command.front(),
                     std::strerror(error));
        std::exit(1);
    }
    return pid;
}

} // namespace

int main(int argc, char* argv[]) {
    const Options options = parse(argc, argv);
    Display display;
    display.watchChildren(display.root());
    display.sync(); // the watch is in force before the program starts

    const Clock::time_point startedAt = Clock::now();
    Child child;
    child.pid = start(options);
    const char* failure = nullptr;

    // The window: a new top-level window with the title, known at its own map
    // (the window manager maps it inside its frame, then maps the frame).
    // Mapped: the window is viewable. Painted: the pixel has the colour; before
    // its first frame the window shows what lies under it (Qt gives its windows
    // no background of their own). The pixel is looked at from the window's own
    // map on, so a frame painted the moment the window became viewable is seen.
    std::vector<xcb_window_t> created;
    xcb_window_t window = XCB_NONE;
    std::optional<Clock::time_point> mappedAt;
    std::optional<Clock::time_point> paintedAt;
    std::optional<std::uint32_t> first;
    std::uint32_t seen = 0;
    while (!paintedAt && failure == nullptr) {
        const Clock::time_point now = Clock::now();
        if (now - startedAt > options.timeout && (!mappedAt || now - *mappedAt > options.timeout)) {
            failure = mappedAt ? "the pixel did not get its colour in time"
                               : "no window with the title was mapped in time";
        } else if (child.reap()) {
            failure = "the program ended before its first frame";
        } else if (display.broken()) {
            failure = "the connection to the display broke";
        }
        if (failure != nullptr) {
            break;
        }

        // Every event that has come; while the window is unknown, wait a little for one.
        auto wait = window == XCB_NONE ? 5ms : 0ms;
        while (const Reply<xcb_generic_event_t> event = display.event(wait)) {
            wait = 0ms;
            const Clock::time_point when = Clock::now();
            const auto type = event->response_type & 0x7FU;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* creation =
                    reinterpret_cast<const xcb_create_notify_event_t*>(event.get());
                if (creation->parent == display.root()) {
                    created.push_back(creation->window);
                    display.watchWindow(creation->window);
                }
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
                const bool own = map->event == map->window;
                if (window == XCB_NONE && own &&
                    std::find(created.begin(), created.end(), map->window) != created.end() &&
                    display.title(map->window) == options.title) {
                    window = map->window;
                }
                // A window mapped before its watch began is found when its frame is mapped.
                for (auto it = created.begin(); window == XCB_NONE && !own && it != created.end();
                     ++it) {
                    if (display.viewable(*it) && display.title(*it) == options.title) {
                        window = *it;
                    }
                }
                if (window != XCB_NONE && !mappedAt && display.viewable(window)) {
                    mappedAt = when;
                }
            }
        }
        if (window == XCB_NONE) {
            continue;
        }

        // A window not yet viewable has no pixels to read.
        const Clock::time_point lookedAt = Clock::now();
        if (const auto colour = display.pixel(window, options.x, options.y)) {
            if (!mappedAt) {
                mappedAt = lookedAt;
            }
            seen = *colour;
            if (!first) {
                first = seen;
            }
            if (seen == options.colour) {
                paintedAt = lookedAt;
                break;
            }
        }
        std::this_thread::sleep_for(options.poll);
    }

    // Ended: the window manager's close request, then the program's own end.
    if (failure == nullptr) {
        std::this_thread::sleep_for(options.settle);
        display.requestClose(window);
        const Clock::time_point closedAt = Clock::now();
        while (!child.reap()) {
            if (Clock::now() - closedAt > options.timeout) {
                failure = "the program did not end after the close request";
                break;
            }
            while (display.event(0ms)) {
            }
            std::this_thread::sleep_for(1ms);
        }
    }
    if (!child.ended) {
        kill(child.pid, SIGKILL);
        wait4(child.pid, &child.status, 0, &child.usage);
        child.ended = true;
        child.endedAt = Clock::now();
    }

    const bool clean = WIFEXITED(child.status) && WEXITSTATUS(child.status) == 0;
    if (failure == nullptr && !clean) {
        failure = "the program did not end with status 0";
    }
    std::printf("mapped_ms=%.3f painted_ms=%.3f ended_ms=%.3f maxrss_kb=%ld status=%d "
                "first_colour=%06x\n",
                mappedAt ? msBetween(startedAt, *mappedAt) : -1.0,
                paintedAt ? msBetween(startedAt, *paintedAt) : -1.0,
                msBetween(startedAt, child.endedAt), child.usage.ru_maxrss,
                WIFEXITED(child.status) ? WEXITSTATUS(child.status) : 128 + WTERMSIG(child.status),
                first.value_or(0));
    if (failure != nullptr) {
        std::fprintf(stderr, "marevo-probe: %s: %s (last colour seen %06x)\n",
                     options.command.front(), failure, seen);
        return 1;
    }
    return 0;
}
