#include "ui/about/tool_window.h"

#include <QWidget>

#ifdef MAREVO_HAVE_XCB
#include <QGuiApplication>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <xcb/xcb.h>
#endif

namespace marevo {

namespace {

constexpr Qt::WindowFlags kCaptionOnly = Qt::CustomizeWindowHint | Qt::WindowTitleHint;

#ifdef MAREVO_HAVE_XCB

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

enum Atom : std::size_t {
    ClientLeader,
    WindowType,
    TypeUtility,
    TypeNormal,
    State,
    SkipTaskbar,
    SkipPager,
    MotifHints,
    AtomCount
};
using Atoms = std::array<xcb_atom_t, AtomCount>;

std::optional<Atoms> internAtoms(xcb_connection_t* connection) {
    constexpr std::array<const char*, AtomCount> names = {
        "WM_CLIENT_LEADER",           "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_UTILITY",
        "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_STATE",       "_NET_WM_STATE_SKIP_TASKBAR",
        "_NET_WM_STATE_SKIP_PAGER",   "_MOTIF_WM_HINTS"};
    std::array<xcb_intern_atom_cookie_t, AtomCount> cookies{};
    for (std::size_t i = 0; i < AtomCount; ++i) {
        cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    }
    Atoms atoms{};
    for (std::size_t i = 0; i < AtomCount; ++i) {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        if (!reply) {
            return std::nullopt;
        }
        atoms[i] = reply->atom;
    }
    return atoms;
}

// WM_HINTS, nine 32-bit fields: the flag that says a window group is named,
// and the field that names it.
constexpr uint32_t kWindowGroupHint = 1U << 6;
constexpr std::size_t kWindowGroupField = 8;

// Motif's window-manager hints, five 32-bit fields: which of the next fields
// count, the functions the window manager offers, the decorations it draws,
// the input mode and a status.
constexpr uint32_t kMotifFunctions = 1U << 0;
constexpr uint32_t kMotifDecorations = 1U << 1;
constexpr uint32_t kMotifFunctionMove = 1U << 2;
constexpr uint32_t kMotifFunctionClose = 1U << 5;
constexpr uint32_t kMotifBorder = 1U << 1;
constexpr uint32_t kMotifTitle = 1U << 3;

// The window keeps none of the marks by which a window manager tells which
// application a window belongs to: the client leader, and the window group in
// WM_HINTS. Xfwm4, for one, keeps a utility window above every other window
// of its own application.
void leaveApplicationGroup(xcb_connection_t* connection, xcb_window_t window, const Atoms& atoms) {
    xcb_delete_property(connection, window, atoms[ClientLeader]);
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9),
        nullptr));
    if (!reply || reply->format != 32 || reply->value_len <= kWindowGroupField) {
        return;
    }
    std::array<uint32_t, kWindowGroupField + 1> hints{};
    std::memcpy(hints.data(), xcb_get_property_value(reply.get()), sizeof hints);
    hints[0] &= ~kWindowGroupHint;
    hints[kWindowGroupField] = XCB_NONE;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS,
                        XCB_ATOM_WM_HINTS, 32, hints.size(), hints.data());
}

#endif

} // namespace

Qt::WindowFlags independentToolWindowFlags() {
#ifdef MAREVO_HAVE_XCB
    // Qt makes an X11 tool window transient for the whole application when it
    // shows it, and window managers then keep it above the main window. An
    // ordinary window, told below that it is a utility window, belongs to nobody.
    if (onX11()) {
        return Qt::Window | kCaptionOnly;
    }
#endif
    // Elsewhere a tool window without a parent has no owner and no taskbar button.
    return Qt::Tool | kCaptionOnly;
}

void presentAsIndependentToolWindow([[maybe_unused]] QWidget* window) {
#ifdef MAREVO_HAVE_XCB
    if (!onX11()) {
        return;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const std::optional<Atoms> atoms = internAtoms(connection);
    if (!atoms) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());

    // A utility window, or an ordinary one where the window manager knows no utility windows.
    const std::array<xcb_atom_t, 2> types = {(*atoms)[TypeUtility], (*atoms)[TypeNormal]};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, (*atoms)[WindowType], XCB_ATOM_ATOM,
                        32, types.size(), types.data());

    // Off taskbars and pagers, added to whatever state Qt asks for itself.
    const std::array<xcb_atom_t, 2> states = {(*atoms)[SkipTaskbar], (*atoms)[SkipPager]};
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, (*atoms)[State], XCB_ATOM_ATOM, 32,
                        states.size(), states.data());

    leaveApplicationGroup(connection, id, *atoms);

    // Qt names only the functions (moving, resizing) and leaves the decorations
    // to the window manager, which may then draw a window menu all the same. A
    // border and a caption, nothing more. Moving and closing are offered: every
    // close request of the window system (Alt+F4, a pager's) closes the window as
    // "Zapri" does, as on Windows; a window manager that refused to close a
    // window without the function would ignore them.
    const std::array<uint32_t, 5> motif = {kMotifFunctions | kMotifDecorations,
                                           kMotifFunctionMove | kMotifFunctionClose,
                                           kMotifBorder | kMotifTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, (*atoms)[MotifHints],
                        (*atoms)[MotifHints], 32, motif.size(), motif.data());
#endif
}

} // namespace marevo
