#include "ui/common/controls.h"

#include "ui/common/text_box.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace marevo {

namespace {

QWidget* createControl(const ControlDesign& c, QWidget* window) {
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
        auto* button = new QPushButton(text, window);
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(QLatin1String(c.name));
    if (c.index >= 0) {
        widget->setProperty("index", c.index);
    }
    widget->setGeometry(toPixels(c.twips));
    if (c.font) {
        widget->setFont(designFont(*c.font));
    }
    return widget;
}

} // namespace

void buildControls(QWidget* window, std::span<const ControlDesign> controls) {
    for (const ControlDesign& c : controls) {
        createControl(c, window);
    }
}

} // namespace marevo
