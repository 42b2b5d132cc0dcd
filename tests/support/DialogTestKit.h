#pragma once
// Shared by the dialog tests: a prompt whose answers the test scripts, and
// the steps a person takes in a dialog.
#include "ui/dialogs/D_ParamDialog.h"
#include "files/U_FileAccess.h"
#include "codec/dc_Map54.h"
#include "support/Documents.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// Focuses a field, types into it and commits with Enter as a person would.
inline void TypeAndCommit(TParamEdit* edit, const QString& keys)
{
    edit->setFocus(Qt::TabFocusReason);
    if (keys.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);  // empties the field
    else
        QTest::keyClicks(edit, keys);
    QTest::keyClick(edit, Qt::Key_Return);
}

inline void ClickOk(QWidget& dialog)
{
    QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
}

// The bytes of the data file the document saves to.
inline std::vector<uint8_t> SavedBytes(TRKmem doc)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("saved.R54").toStdString();
    TMap54 image;
    TScriptedPrompt prompt;
    if (!WriteDataFile(path, doc, image, prompt))
        return {};
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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
