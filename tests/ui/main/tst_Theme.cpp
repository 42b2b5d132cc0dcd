// The windows under a dark theme at 100%, 150% and 200% scale (ctest runs
// the test with each QT_SCALE_FACTOR): every text readable on its
// background, no caption cut off, every dialog field named for a screen
// reader.
#include "support/TestHost.h"
#include "support/DialogTestKit.h"
#include "support/ParamDialogs.h"
#include "ui/base/U_Contrast.h"
#include "ui/main/D_MultiTone.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

namespace {

// A dark desktop theme: light text on dark faces, the disabled text grey.
QPalette DarkTheme()
{
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));  // white texts on black base
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        dark.setColor(QPalette::Disabled, role, QColor(0x6e, 0x6e, 0x6e));
    return dark;
}

// One window of each kind: the main window (its grid the list kind), a
// dialog of its own layout, the parameter dialogs. The parameter dialogs share one pattern: these four hold every kind
// of field and caption it lays out, and each names one field for a screen
// reader in its own way: the label's caption (and its column's heading in a
// row of like fields), the text typed into it when the row says what to type.
enum { MainWindow = -2, MultiTone = -1 };  // or a TDialog
struct TWindowRow { const char* Name; int Window; const char* Field = nullptr, *Spoken = "", *Typed = ""; };
const TWindowRow Windows[] = {
    {"Main window", MainWindow},
    {"Multi Tone", MultiTone},
    {"Hardware", Hardware, "cmbBand", "Band Select"},  // a list
    {"Rx Adjust", RxAdjust, "edtFreqLowest", "Rx Frequency (MHz), Lowest"},
    {"Tx Adjust", TxAdjust, "edtHighL", "Tx Power High, Low", "20"},  // unlabelled field of a row
    {"Tx Power", TxPower, "edtCh10", "Channel 10", "3"},  // an accelerator inside the caption
};

QString Describe(const QWidget* w)
{
    return QString("%1 (%2) in %3").arg(w->objectName(), w->metaObject()->className(), w->window()->windowTitle());
}

// The text a control shows with its colour group, and the colour behind it.
void CheckContrast(const QWidget* w, QPalette::ColorRole text, QPalette::ColorRole back)
{
    const QPalette::ColorGroup group = w->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const double ratio = Contrast(w->palette().color(group, text), w->palette().color(group, back));
    QVERIFY2(ratio >= ReadableContrast, qPrintable(Describe(w) + QString(": contrast %1").arg(ratio)));
}

// Every caption fits its control and reads on its background; every field
// and list of a dialog has a name for a screen reader.
void Inspect(QWidget& window)
{
    // The scale the run asked for (ctest runs the test at 100%, 150% and 200%).
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(window.devicePixelRatio(), scale);
    // A window smaller than its contents need squeezes its controls.
    QVERIFY2(window.width() >= window.minimumSizeHint().width() && window.height() >= window.minimumSizeHint().height(),
             qPrintable(Describe(&window)));
    int captions = 0;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText)
            continue;
        // The whole advance across, the ink of the text (centred) up and down.
        const int margin = 2 * label->margin() + std::max(0, label->indent());
        const QFontMetrics metrics = label->fontMetrics();
        const QString shown = QString(label->text()).remove(QRegularExpression("&(?!&)"));
        const QSize needed(metrics.size(Qt::TextShowMnemonic, label->text()).width(),
                           metrics.tightBoundingRect(shown).height());
        const QSize room = label->contentsRect().size() - QSize(margin, margin);
        QVERIFY2(room.width() >= needed.width() && room.height() >= needed.height(),
                 qPrintable(Describe(label) + QString(" \"%1\": %2x%3 for %4x%5").arg(label->text())
                            .arg(room.width()).arg(room.height()).arg(needed.width()).arg(needed.height())));
        CheckContrast(label, label->foregroundRole(), label->autoFillBackground() ? label->backgroundRole()
                                                                                   : QPalette::Window);
        ++captions;
    }
    // Tool buttons show their pictures, not their texts.
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty() || qobject_cast<QToolButton*>(button))
            continue;
        const int needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
        QVERIFY2(button->width() >= needed, qPrintable(Describe(button)));
        CheckContrast(button, QPalette::ButtonText, QPalette::Button);
        ++captions;
    }
    QVERIFY(captions > 0);
    for (QAbstractItemView* view : window.findChildren<QAbstractItemView*>())
        if (view->isVisible())
            CheckContrast(view, QPalette::Text, QPalette::Base);
    for (QWidget* field : window.findChildren<QWidget*>()) {
        const bool list = qobject_cast<TParamCombo*>(field);
        if (!list && !qobject_cast<TParamEdit*>(field))
            continue;
        // Closed on the button face (a list's item in button text), as the theme is now.
        const bool open = field->isEnabled();
        const QColor face = QApplication::palette().color(open ? QPalette::Base : QPalette::Button);
        QCOMPARE(field->palette().color(QPalette::Base), face);
        CheckContrast(field, list && !open ? QPalette::ButtonText : QPalette::Text, QPalette::Base);
        // A list's own name is its item here: its caption goes with the description.
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(field);
        QVERIFY2(spoken && !field->accessibleName().isEmpty(), qPrintable(Describe(field)));
        const QString shown = list ? static_cast<QComboBox*>(field)->currentText()
                                   : static_cast<QLineEdit*>(field)->text();
        QCOMPARE(spoken->text(QAccessible::Description), field->accessibleName() + ", " + shown);
    }
}

} // namespace

class TestTheme : public QObject {
    Q_OBJECT

    // Every command can be reached without a mouse: Alt and a menu's own
    // letter opens it, the arrows and Enter pick any entry in it; what the
    // tool bar offers is in a menu too, or has a key of its own.
    static void EveryCommandHasAKey(TfrmMain& main)
    {
        QSet<QString> letters;
        for (QAction* title : main.menuBar()->actions()) {
            const QString letter = QKeySequence::mnemonic(title->text()).toString();
            QVERIFY2(!letter.isEmpty() && !letters.contains(letter), qPrintable(title->text()));
            letters.insert(letter);
        }
        QSet<QAction*> inMenus;
        QList<QAction*> entries = main.menuBar()->actions();  // and every menu's, submenus' included
        for (qsizetype k = 0; k < entries.size(); ++k) {
            inMenus.insert(entries[k]);
            if (entries[k]->menu())
                entries << entries[k]->menu()->actions();
        }
        int tools = 0;
        for (QToolBar* bar : main.findChildren<QToolBar*>())
            for (QAction* action : bar->actions()) {
                if (action->isSeparator())
                    continue;
                QVERIFY2(inMenus.contains(action) || !action->shortcut().isEmpty(), qPrintable(action->objectName()));
                ++tools;
            }
        QVERIFY(tools > 0);
    }

    // What a screen reader announces for the row's field: its name and the
    // value as the field shows it (checked for every field), following what is typed.
    static void CheckSpokenName(QWidget& dialog, const TWindowRow& row)
    {
        auto* control = dialog.findChild<QWidget*>(row.Field);
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
        QVERIFY(spoken);
        QCOMPARE(control->accessibleName(), QString(row.Spoken));
        if (qobject_cast<QComboBox*>(control)) {
            // Here a list's name is its item; readers take its caption from
            // the label that names it.
            const auto labels = spoken->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first().first->text(QAccessible::Name), QString(row.Spoken));
        } else if (*row.Typed) {
            auto* edit = qobject_cast<TParamEdit*>(control);
            const QString before = edit->text();
            TypeAndCommit(edit, row.Typed);
            QVERIFY(edit->text() != before);
            QCOMPARE(spoken->text(QAccessible::Description), QString(row.Spoken) + ", " + edit->text());
        }
    }

private slots:
    void cleanup()
    {
        QFont::removeSubstitutions("Arial");
        QApplication::setPalette(QPalette());  // the next window opens under the light default again
    }

    // Normal mode shows every field closed (button face), Manufacture open.
    // A desktop without the dialogs' font gives them a wider one: the
    // dialogs grow to fit it.
    void windowsReadAndFit_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("variant");
        for (int i = 0; i < int(std::size(Windows)); ++i)
            for (const QString variant : {"Normal", "Manufacture", "wide font"})
                if (Windows[i].Field || variant == "Normal")
                    QTest::addRow("%s, %s", Windows[i].Name, qPrintable(variant)) << i << variant;
    }
    void windowsReadAndFit()
    {
        QFETCH(int, window);
        QFETCH(QString, variant);
        const TProgramMode mode = variant == "Normal" ? Normal : Manufacture;
        const bool wideFont = variant == "wide font";
        if (wideFont)
            QFont::insertSubstitution("Arial", "DejaVu Sans");
        TMainRig rig;
        TRKmem doc = DefaultDocument();
        TfrmMain& main = rig.Start({WriteDocument(rig.Path("sample.R54"), doc)});
        const TWindowRow& row = Windows[window];
        std::unique_ptr<QWidget> shown;
        if (row.Window == MultiTone)
            shown = std::make_unique<TfrmMultiTone>(doc.Channels[0]);
        else if (row.Window != MainWindow)
            shown = ParamDialogs[row.Window](doc, mode, rig.Host.Person);
        QWidget& inspected = shown ? *shown : main;
        QVERIFY(ShowActive(inspected));
        QApplication::setPalette(DarkTheme());  // the desktop switches theme while the window is open
        QApplication::processEvents();
        if (wideFont)
            QCOMPARE(QFontInfo(inspected.font()).family(), QString("DejaVu Sans"));
        Inspect(inspected);
        if (!shown)
            EveryCommandHasAKey(main);
        if (row.Field && mode == Manufacture && !wideFont)
            CheckSpokenName(inspected, row);
    }
};

QTEST_MAIN(TestTheme)
#include "tst_Theme.moc"
