#pragma once

#include "calc/message.h"

class QWidget;

namespace marevo {

// The one way the windows talk back to the user besides their controls: modal
// message boxes and the beep. Tests install their own to answer without a modal.
class MessageBoxAndBeep {
public:
    MessageBoxAndBeep() = default;
    MessageBoxAndBeep(const MessageBoxAndBeep&) = delete;
    MessageBoxAndBeep& operator=(const MessageBoxAndBeep&) = delete;
    virtual ~MessageBoxAndBeep() = default;

    // A modal information box with one OK button, owned by the given window;
    // returns when the user has dismissed it.
    virtual void showMessage(QWidget* owner, const Message& message);
    virtual void beep();

    static MessageBoxAndBeep& current();
    // Installs a replacement; nullptr brings back the real message box and beep.
    static void install(MessageBoxAndBeep* replacement);
};

} // namespace marevo
