#pragma once

#include "ui/common/look.h"
#include "ui/common/twips.h"

#include <QColor>
#include <QWidget>

#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace marevo {

enum class ControlKind {
    Panel,   // a filled rectangle with a one-pixel border: QFrame
    Label,   // transparent, fixed size, wrapped text: QLabel
    Picture, // a picture at its own size: QLabel
    TextBox, // a single-line box with no limit on its length: TextBox
    Button,  // neither default nor cancel button, so Enter and Esc press nothing: QPushButton
};

// One control of a window as designed.
struct ControlDesign {
    const char* name;
    ControlKind kind;
    const char* text; // caption, initial text or picture
    Twips twips;
    std::optional<FontDesign> font; // none: the window's font
    Qt::Alignment alignment;
    std::optional<QColor> colour; // text colour of a label, fill of a panel
    const char* buddy;            // of a label: the control it names for screen readers
    const char* spokenName;       // of a panel or picture: what screen readers say of it
};

// What the builder made, in the order of the window's table.
using BuiltControls = std::vector<QWidget*>;

// Creates the controls in the order given, each above the ones before it, named
// as designed and placed in pixels.
BuiltControls buildControls(QWidget* window, std::span<const ControlDesign> controls);

constexpr std::optional<std::size_t> findPlace(std::span<const ControlDesign> controls,
                                               std::string_view name) {
    for (std::size_t place = 0; place < controls.size(); ++place) {
        if (controls[place].name == name) {
            return place;
        }
    }
    return std::nullopt;
}

// The place of a named control in a window's table, found while compiling, so
// that a misspelt name stops the build.
consteval std::size_t placeOf(std::span<const ControlDesign> controls, std::string_view name) {
    const std::optional<std::size_t> place = findPlace(controls, name);
    if (!place) {
        throw std::invalid_argument("no control of this name"); // stops the build
    }
    return *place;
}

// A control that the builder made, as the class its kind is built as.
template <typename T> T* builtAs(const BuiltControls& built, std::size_t place) {
    return qobject_cast<T*>(built.at(place));
}

} // namespace marevo
