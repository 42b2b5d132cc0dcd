#pragma once
// The steps a person takes with any window under test: bring it up as the
// active window, find its controls, act on a modal dialog that a command is
// about to open.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Shows the dialog as the active window so focus moves as for a person.
inline bool ShowActive(QWidget& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    return QTest::qWaitForWindowActive(&dialog);
}

template <class T>
T* Find(QWidget& dialog, const char* name)
{
    return dialog.findChild<T*>(name);
}

// Acts on the modal dialog a command is about to open; for testing the
// menu commands (Execute), which return only when the dialog closes.
template <class TAct>
void WhenModal(TAct act, int triesLeft = 200)
{
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            act(*dialog);
        else if (triesLeft > 0)
            WhenModal(act, triesLeft - 1);
    });
}
