#include "ui/common/controls.h"

#include "ui/common/text_box.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace marevo {

namespace {

// Pressed from the keyboard by the space bar alone. Qt's GNOME platform theme, which Xfce and
// MATE get too, has Enter press the focused button as well, as GTK does.
class Button final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->ignore();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

// The fill a drawn control lies on: the topmost panel under its centre, else the window.
QColor fillBehind(std::span<const ControlDesign> controls, std::size_t place) {
    const QPoint centre = toPixels(controls[place].twips).center();
    for (std::size_t below = place; below-- > 0;) {
        const ControlDesign& c = controls[below];
        if (c.kind == ControlKind::Panel && toPixels(c.twips).contains(centre)) {
            return c.colour.value_or(kWindowColour);
        }
    }
    return kWindowColour;
}

QWidget* createControl(const ControlDesign& c, QWidget* window, QColor fill) {
    const QString text = QString::fromUtf8(c.text);
    QWidget* widget = nullptr;
    switch (c.kind) {
    case ControlKind::Panel: {
        auto* panel = new QFrame(window);
        panel->setFrameStyle(QFrame::Box | QFrame::Plain);
        panel->setLineWidth(1);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, c.colour.value_or(kWindowColour));
        panel->setPalette(palette);
        panel->setAutoFillBackground(true);
        // The border lies between the panel's fill and the one around it.
        keepReadable(panel, {palette.color(QPalette::Window), fill}, kLineContrast);
        widget = panel;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, window);
        applyLabelLook(label, c.alignment);
        if (c.colour) {
            QPalette palette = label->palette();
            palette.setColor(label->foregroundRole(), *c.colour);
            label->setPalette(palette);
        } else {
            keepReadable(label, {fill}, kTextContrast);
        }
        widget = label;
        break;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(window);
        picture->setPixmap(QPixmap(text));
        widget = picture;
        break;
    }
    case ControlKind::TextBox: {
        widget = new TextBox(text, window);
        break;
    }
    case ControlKind::Button: {
        auto* button = new Button(text, window);
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(QLatin1String(c.name));
    widget->setGeometry(toPixels(c.twips));
    if (c.font) {
        widget->setFont(designFont(*c.font));
    }
    if (c.spokenName != nullptr) {
        widget->setAccessibleName(QString::fromUtf8(c.spokenName));
    }
    return widget;
}

} // namespace

BuiltControls buildControls(QWidget* window, std::span<const ControlDesign> controls) {
    BuiltControls built;
    built.reserve(controls.size());
    for (std::size_t place = 0; place < controls.size(); ++place) {
        built.push_back(createControl(controls[place], window, fillBehind(controls, place)));
    }
    // Each box is heard by its caption.
    for (std::size_t place = 0; place < controls.size(); ++place) {
        auto* label = qobject_cast<QLabel*>(built[place]);
        const char* buddy = controls[place].buddy;
        if (label == nullptr || buddy == nullptr) {
            continue;
        }
        if (const auto buddyPlace = findPlace(controls, buddy)) {
            label->setBuddy(built[*buddyPlace]);
        }
    }
    return built;
}

} // namespace marevo
