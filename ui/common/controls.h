#pragma once

#include "ui/common/look.h"
#include "ui/common/twips.h"

#include <QColor>
#include <QWidget>

#include <optional>
#include <span>

namespace marevo {

enum class ControlKind {
    Panel,   // a filled rectangle with a one-pixel border
    Label,   // transparent, fixed size, wrapped text
    Picture, // a picture at its own size
    TextBox, // a single-line box with no limit on its length
    Button,  // neither default nor cancel button: Enter and Esc press nothing
};

// One control of a window as designed.
struct ControlDesign {
    const char* name;
    int index; // within a control array, or -1
    ControlKind kind;
    const char* text; // caption, initial text or picture
    Twips twips;
    std::optional<FontDesign> font; // none: the window's font
    Qt::Alignment alignment;
    std::optional<QColor> colour; // text colour of a label, fill of a panel
};

// Creates the controls in the order given, each above the ones before it, named
// as designed and placed in pixels.
void buildControls(QWidget* window, std::span<const ControlDesign> controls);

// A control created above, by its name and, in a control array, its index.
template <typename T> T* control(const QWidget* window, const char* name, int index = -1) {
    for (T* child : window->findChildren<T*>(QLatin1String(name), Qt::FindDirectChildrenOnly)) {
        if (index < 0 || child->property("index").toInt() == index) {
            return child;
        }
    }
    Q_UNREACHABLE();
}

} // namespace marevo
