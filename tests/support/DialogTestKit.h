#pragma once
// Shared by the dialog tests: a prompt whose answers the test scripts, and
// the steps a person takes in a dialog.
#include "ui/dialogs/D_ParamDialog.h"
#include "codec/dc_Map54.h"
#include "support/Documents.h"
#include "support/WindowTestKit.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <string>
#include <vector>


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
