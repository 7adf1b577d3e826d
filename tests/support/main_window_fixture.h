#pragma once

#include "ui/about/frm_avtor.h"
#include "ui/common/message_box_and_beep.h"
#include "ui/main/frm_marevo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>

// What the tests of the main window share: opening and unloading the windows,
// the boxes, and the message boxes and beep, recorded or answered for real.

namespace marevo::testing {

inline const QString kWarning =
    QStringLiteral("S PREDMEŠALNIKOM POLNIŠ LAHKO MEŠANICE LE DO 40% KISIKA!");

// The main window as the program opens it, shown; the numbers in US English.
inline FrmMarevo* openMainWindow() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto* window = new FrmMarevo;
    window->show();
    return window;
}

// Unloads every window a test left open.
inline void unloadWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<FrmMarevo*>(window) || qobject_cast<FrmAvtor*>(window)) {
            delete window;
        }
    }
}

inline bool becomesActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// Whether the program can bring a window back to the front. Qt's minimal platform, on which the
// Windows build's test programs run, activates a window only as it is first shown.
inline bool windowsCanBeSwitched() {
    return QGuiApplication::platformName() != QLatin1String("minimal");
}

// Gives the keyboard back to a window when the one in front of it has gone, as a window manager
// does; the offscreen platform leaves no window active then, and the minimal one cannot switch
// windows, so there the application is told directly.
inline bool reactivate(QWidget* window) {
    if (windowsCanBeSwitched()) {
        window->activateWindow();
    } else {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(window);
        QT_WARNING_POP
    }
    return becomesActive(window);
}

// The shown windows that keep the application running by Qt's rule: it ends
// when the last of them closes.
inline int windowsKeepingTheProgramRunning() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->isVisible() && w->testAttribute(Qt::WA_QuitOnClose);
    }));
}

// The four boxes, top to bottom.
inline QList<QLineEdit*> boxes(const FrmMarevo& w) {
    return {w.TxTZpritisk, w.TxTZkisik, w.TxTKkisik, w.TxtKpritisk};
}

inline QStringList boxTexts(const FrmMarevo& w) {
    QStringList texts;
    for (const QLineEdit* box : boxes(w)) {
        texts << box->text();
    }
    return texts;
}

// Puts the texts into the boxes, top to bottom, as a user would leave them.
inline void fillBoxes(const FrmMarevo& w, const QStringList& texts) {
    const QList<QLineEdit*> all = boxes(w);
    for (int i = 0; i < all.size(); ++i) {
        all[i]->setText(texts[i]);
    }
}

// A replacement for the message boxes and the beep, installed for its lifetime.
class InstalledMessageBoxAndBeep : public MessageBoxAndBeep {
public:
    InstalledMessageBoxAndBeep() { install(this); }
    ~InstalledMessageBoxAndBeep() override { install(nullptr); }
    InstalledMessageBoxAndBeep(const InstalledMessageBoxAndBeep&) = delete;
    InstalledMessageBoxAndBeep& operator=(const InstalledMessageBoxAndBeep&) = delete;
};

// Answers every message box at once and notes, for each message and beep, what
// the window showed at that moment: "title: text [focus box 'selected text',
// result '…', warning '…']", or "beep [focus …]".
class MessageAndBeepRecorder : public InstalledMessageBoxAndBeep {
public:
    explicit MessageAndBeepRecorder(const FrmMarevo* window) : window_(window) {}

    void showMessage(QWidget* owner, const Message& message) override {
        QCOMPARE(owner, window_);
        events << QStringLiteral("%1: %2 %3").arg(message.title, message.text, shown());
    }
    void beep() override { events << QStringLiteral("beep ") + shown(); }

    QStringList events;

private:
    QString shown() const {
        const QWidget* focus = window_->focusWidget();
        const auto* box = qobject_cast<const QLineEdit*>(focus);
        return QStringLiteral("[focus %1 '%2', result '%3', warning '%4']")
            .arg(focus ? focus->objectName() : QStringLiteral("none"),
                 box ? box->selectedText() : QString(), window_->Lblprocent->text(),
                 window_->LblPozor->text());
    }

    const FrmMarevo* window_;
};

// What a real message box showed, and whether one keystroke dismissed it.
struct AnsweredBox {
    const QWidget* owner = nullptr;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    QString focus; // the control of the box that had the focus
    bool dismissed = false;
};

// Arms an answer for the next modal message box: once it is shown and active,
// it notes what it says and presses the key on its focused control. A box that
// the key does not dismiss is closed anyway, so the test fails instead of hanging.
inline std::shared_ptr<AnsweredBox> answerNextBox(QObject* context, Qt::Key key) {
    auto answered = std::make_shared<AnsweredBox>();
    QTimer::singleShot(0, context, [answered, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        answered->owner = box->parentWidget();
        answered->title = box->windowTitle();
        answered->text = box->text();
        answered->icon = box->icon();
        answered->buttons = box->standardButtons();
        answered->modal = box->isModal();
        QWidget* focus = becomesActive(box) ? QApplication::focusWidget() : nullptr;
        if (focus != nullptr && box->isAncestorOf(focus)) {
            const auto* button = qobject_cast<const QPushButton*>(focus);
            answered->focus = button ? button->text() : focus->metaObject()->className();
            QTest::keyClick(focus, key);
            answered->dismissed = !box->isVisible();
        }
        if (box->isVisible()) {
            box->reject();
        }
    });
    return answered;
}

} // namespace marevo::testing
