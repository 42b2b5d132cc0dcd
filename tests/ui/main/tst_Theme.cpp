// The windows under a dark theme at 100%, 150% and 200% scale (ctest runs
// the test with each QT_SCALE_FACTOR): every text readable on its
// background, no caption cut off, every dialog field named for a screen
// reader.
#include "support/TestHost.h"
#include "support/WindowTestKit.h"
#include "ui/base/U_Contrast.h"
#include "codec/dc_Map54.h"
#include "ui/link/D_Config.h"
#include "ui/link/D_Radio.h"
#include "ui/main/D_About.h"
#include "ui/main/D_FData.h"
#include "ui/main/D_MultiTone.h"
#include "ui/dialogs/D_SelectList.h"
#include "ui/dialogs/D_Hardware.h"
#include "ui/dialogs/D_RxAdjust.h"
#include "ui/dialogs/D_TxAdjust.h"
#include "ui/dialogs/D_TxPower.h"

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

#include <memory>

namespace {

// A dark desktop theme: light text on dark faces, the disabled text grey.
QPalette DarkTheme()
{
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText, QPalette::HighlightedText})
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        dark.setColor(QPalette::Disabled, role, QColor(0x6e, 0x6e, 0x6e));
    return dark;
}

using TOpen = std::unique_ptr<TParamDialog> (*)(TRKmem&, TProgramMode, TPrompt&);

template <class TForm>
std::unique_ptr<TParamDialog> Open(TRKmem& doc, TProgramMode mode, TPrompt& prompt)
{
    return std::make_unique<TForm>(doc, mode, prompt);
}

// The parameter dialogs share one pattern: these four hold every kind of
// field and caption it lays out. Each names one field for a screen reader
// in its own way: the label's caption (and its column's heading in a row of
// like fields), the text typed into it when the row says what to type.
struct TDialogRow { const char* Name; TOpen Open; const char* Field; const char* Spoken; const char* Typed; };
const TDialogRow Dialogs[] = {
    {"Hardware", Open<TfrmHardware>, "cmbBand", "Band Select", ""},  // a list
    {"Rx Adjust", Open<TfrmRxAdjust>, "edtFreqLowest", "Rx Frequency (MHz), Lowest", ""},
    {"Tx Adjust", Open<TfrmTxAdjust>, "edtHighL", "Tx Power High, Low", "20"},  // unlabelled field of a row
    {"Tx Power", Open<TfrmTxPower>, "edtCh10", "Channel 10", "3"},  // an accelerator inside the caption
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
        if (!qobject_cast<TParamEdit*>(field) && !qobject_cast<TParamCombo*>(field))
            continue;
        if (qobject_cast<TParamEdit*>(field))
            CheckContrast(field, QPalette::Text, QPalette::Base);
        // A list's own name is its item here: its caption goes with the description.
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(field);
        QVERIFY(spoken);
        const QString described = spoken->text(QAccessible::Description);
        QVERIFY2(!field->accessibleName().isEmpty() && described.startsWith(field->accessibleName() + ", "),
                 qPrintable(Describe(field)));
    }
}

} // namespace

class TestTheme : public QObject {
    Q_OBJECT

    TScriptedPrompt Prompt;
    TRKmem Doc = DefaultDocument();
    std::unique_ptr<TParamDialog> Dialog;

    bool Show(TOpen open, TProgramMode mode)
    {
        Dialog = open(Doc, mode, Prompt);
        return ShowActive(*Dialog);
    }

    // Every command can be reached without a mouse: Alt and a menu's own
    // letter opens it, the arrows and Enter pick any entry in it; what the
    // tool bar offers is in a menu too, or has a key of its own.
    static void EveryCommandHasAKey(TfrmMain& main)
    {
        QSet<QAction*> inMenus;
        QSet<QString> letters;
        std::vector<QMenu*> menus;
        for (QAction* title : main.menuBar()->actions()) {
            const QString letter = QKeySequence::mnemonic(title->text()).toString();
            QVERIFY2(!letter.isEmpty() && !letters.contains(letter), qPrintable(title->text()));
            letters.insert(letter);
            if (title->menu())
                menus.push_back(title->menu());
        }
        for (size_t m = 0; m < menus.size(); ++m)
            for (QAction* action : menus[m]->actions()) {
                inMenus.insert(action);
                if (action->menu())
                    menus.push_back(action->menu());
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
    // value as the field shows it, following what is typed.
    void CheckSpokenName(const TDialogRow& row)
    {
        auto* control = Dialog->findChild<QWidget*>(row.Field);
        QVERIFY(control);
        auto* combo = qobject_cast<QComboBox*>(control);
        const auto shown = [&] { return combo ? combo->currentText() : static_cast<QLineEdit*>(control)->text(); };
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
        QVERIFY(spoken);
        const QString name(row.Spoken);
        QCOMPARE(control->accessibleName(), name);
        if (combo) {
            // Here a list's name is its item; readers take its caption from
            // the label that names it.
            const auto labels = spoken->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first().first->text(QAccessible::Name), name);
        } else {
            QCOMPARE(spoken->text(QAccessible::Name), name);
        }
        const QString before = shown();
        QVERIFY(!before.isEmpty());
        if (*row.Typed) {
            control->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(control, row.Typed);
            QTest::keyClick(control, Qt::Key_Return);
            QVERIFY(shown() != before);
        }
        QCOMPARE(spoken->text(QAccessible::Value), shown());
        QCOMPARE(spoken->text(QAccessible::Description), name + ", " + shown());
    }

private slots:
    void initTestCase() { QApplication::setPalette(DarkTheme()); }
    void cleanup()
    {
        Dialog.reset();
        QFont::removeSubstitutions("Arial");
    }

    // The windows not built on the parameter dialog pattern, one of each kind.
    void otherWindowsReadAndFit_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"Main window", "About", "Raw data", "Multi Tone", "Port", "Transfer", "Tone list"})
            QTest::newRow(name) << name;
    }
    void otherWindowsReadAndFit()
    {
        QFETCH(QString, window);
        TMainRig rig;
        TfrmMain& main = rig.Start({WriteDocument(rig.Path("sample.R54"), Doc)});
        TChannel channel = Doc.Channels[0];
        TMap54 image;
        std::unique_ptr<QWidget> shown;
        if (window == "Main window") {
            QVERIFY(QTest::qWaitForWindowExposed(&main));
            Inspect(main);
            EveryCommandHasAKey(main);
            return;
        }
        if (window == "About")
            shown = std::make_unique<TfrmAbout>(rig.Dir.path(), true);
        else if (window == "Raw data")
            shown = std::make_unique<TfrmFData>(Doc, image);
        else if (window == "Multi Tone")
            shown = std::make_unique<TfrmMultiTone>(channel);
        else if (window == "Port")
            shown = std::make_unique<TfrmConfig>(1, rig.Host.PortHost(), rig.Host.Person);
        else if (window == "Transfer")
            shown = std::make_unique<TfrmRadio>(&main, rig.Host.Person);
        else
            shown = std::make_unique<TfrmSelList>();  // the longer DCS list shares its layout
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        Inspect(*shown);
    }

    // Normal mode shows every field closed (button face), Manufacture open.
    // A desktop without the dialogs' font gives them a wider one: the
    // dialogs grow to fit it.
    void dialogsReadAndFit_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("wideFont");
        for (int i = 0; i < int(std::size(Dialogs)); ++i) {
            QTest::addRow("%s, closed", Dialogs[i].Name) << i << int(Normal) << false;
            QTest::addRow("%s, open", Dialogs[i].Name) << i << int(Manufacture) << false;
            QTest::addRow("%s, wide font", Dialogs[i].Name) << i << int(Manufacture) << true;
        }
    }
    void dialogsReadAndFit()
    {
        QFETCH(int, dialog);
        QFETCH(int, mode);
        QFETCH(bool, wideFont);
        if (wideFont)
            QFont::insertSubstitution("Arial", "DejaVu Sans");
        QVERIFY(Show(Dialogs[dialog].Open, TProgramMode(mode)));
        if (wideFont)
            QCOMPARE(QFontInfo(Dialog->font()).family(), QString("DejaVu Sans"));
        Inspect(*Dialog);
        if (mode == Manufacture && !wideFont)
            CheckSpokenName(Dialogs[dialog]);
    }

};

QTEST_MAIN(TestTheme)
#include "tst_Theme.moc"
