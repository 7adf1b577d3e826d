// Starts a program and times its window from outside, as an X client: from the start to the first
// frame in which a point of the window shows the expected colour. Then asks the window manager to
// close the window, waits for the program and prints
//   painted_ms=… maxrss_kb=… status=…
// with the peak resident memory that wait4 reports. The program's output goes to stderr.
//
// Usage: marevo-probe TITLE X,Y RRGGBB PROGRAM [ARG...]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* connection = nullptr;

xcb_atom_t atom(const char* name) {
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, length, name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

Reply<xcb_get_property_reply_t> property(xcb_window_t window, xcb_atom_t name) {
    return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
}

// The window with this title among those the window manager manages, or XCB_NONE.
xcb_window_t managedWindow(xcb_window_t root, std::string_view title) {
    static const xcb_atom_t clientList = atom("_NET_CLIENT_LIST");
    static const xcb_atom_t name = atom("_NET_WM_NAME");
    const auto clients = property(root, clientList);
    if (!clients || clients->format != 32) {
        return XCB_NONE;
    }
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));
    for (int i = 0; i < xcb_get_property_value_length(clients.get()) / 4; ++i) {
        const auto text = property(windows[i], name);
        if (text && std::string_view(static_cast<const char*>(xcb_get_property_value(text.get())),
                                     xcb_get_property_value_length(text.get())) == title) {
            return windows[i];
        }
    }
    return XCB_NONE;
}

// The colour shown at a point of the window (Xvfb's 24-bit little-endian pixels); all bits set
// while the window is not viewable.
std::uint32_t colourAt(xcb_window_t window, int x, int y) {
    const Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), 1, 1, ~0U),
        nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < 4) {
        return ~0U;
    }
    const std::uint8_t* bytes = xcb_get_image_data(image.get());
    return bytes[0] | bytes[1] << 8U | bytes[2] << 16U;
}

// The close request a pager sends, as when the user closes the window.
void requestClose(xcb_window_t root, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("_NET_CLOSE_WINDOW");
    message.data.data32[1] = 2; // source: a pager
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace

int main(int argc, char* argv[]) {
    int x = 0;
    int y = 0;
    if (argc < 5 || std::sscanf(argv[2], "%d,%d", &x, &y) != 2) {
        std::fprintf(stderr, "usage: marevo-probe TITLE X,Y RRGGBB PROGRAM [ARG...]\n");
        return 2;
    }
    const std::string_view title = argv[1];
    const auto colour = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 16));
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "marevo-probe: cannot open the display\n");
        return 1;
    }
    fcntl(xcb_get_file_descriptor(connection), F_SETFD, FD_CLOEXEC);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    alarm(120); // a program that never shows its frame, or never ends, ends the probe

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    pid_t pid = -1;
    const auto startedAt = std::chrono::steady_clock::now();
    if (posix_spawnp(&pid, argv[4], &actions, nullptr, argv + 4, environ) != 0) {
        std::fprintf(stderr, "marevo-probe: cannot start %s\n", argv[4]);
        return 1;
    }
    xcb_window_t window = XCB_NONE;
    while (window == XCB_NONE || colourAt(window, x, y) != colour) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "marevo-probe: %s ended before its first frame\n", argv[4]);
            return 1;
        }
        std::this_thread::sleep_for(500us);
        window = window != XCB_NONE ? window : managedWindow(root, title);
    }
    const std::chrono::duration<double, std::milli> painted =
        std::chrono::steady_clock::now() - startedAt;

    std::this_thread::sleep_for(300ms); // what the program does after its first frame
    requestClose(root, window);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    std::printf("painted_ms=%.3f maxrss_kb=%ld status=%d\n", painted.count(), usage.ru_maxrss,
                status);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
