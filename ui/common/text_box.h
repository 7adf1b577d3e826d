#pragma once

#include <QLineEdit>

namespace marevo {

// A single-line box that, like a classic Windows text box, shows its selection
// only while it has the focus: the boxes that wait for their turn show plain
// text, and a whole-text selection made meanwhile appears when the focus comes.
class TextBox : public QLineEdit {
    Q_OBJECT

public:
    TextBox(const QString& text, QWidget* parent);

    // Selects the whole text: at once when the box has the focus, otherwise as
    // the focus comes to it.
    void selectWholeText();
    // Puts back the text the box was made with, and selects it whole.
    void restoreInitialText();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QString initialText_;
    bool wholeTextOnFocus_ = false;
};

} // namespace marevo
