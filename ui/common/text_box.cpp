#include "ui/common/text_box.h"

#include <limits>

namespace marevo {

TextBox::TextBox(const QString& text, QWidget* parent)
    : QLineEdit(text, parent), initialText_(text) {
    setMaxLength(std::numeric_limits<int>::max());
}

void TextBox::selectWholeText() {
    if (hasFocus()) {
        setSelection(0, static_cast<int>(text().size()));
        return;
    }
    deselect();
    wholeTextOnFocus_ = true;
}

void TextBox::restoreInitialText() {
    setText(initialText_);
    selectWholeText();
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (wholeTextOnFocus_) {
        wholeTextOnFocus_ = false;
        setSelection(0, static_cast<int>(text().size()));
    }
}

} // namespace marevo
