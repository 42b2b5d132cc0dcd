// The main window's start-up, documents, recent files, close query and
// settings, with the person and the file choosers scripted.
#include "D_About.h"
#include "Main.h"
#include "TestHost.h"
#include "U_ChGrid.h"
#include "U_FileAccess.h"
#include "U_Help.h"
#include "dc_Ini.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

namespace {

const QString Suffix = " - RK54Win for HPD-4400 Series";

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The bytes of a document as an independent encoder run makes them.
QByteArray EncodedFile(TRKmem doc, const QString& path)
{
    TMap54 image;
    TScriptedPrompt prompt;
    WriteDataFile(path.toStdString(), doc, image, prompt);
    return ReadAll(path);
}

TRKmem DefaultDocument()
{
    TRKmem doc;
    TMap54::SetDefaults(doc);
    return doc;
}

} // namespace

class TestMain : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TTestHost> Host;

    QString Path(const QString& name) const { return Dir->filePath(name); }
    std::unique_ptr<TfrmMain> Start(const QStringList& args = {})
    {
        return std::make_unique<TfrmMain>(*Host, args);
    }
    QString WriteDocument(const QString& name, TRKmem doc)
    {
        const QString path = Path(name);
        TMap54 image;
        TScriptedPrompt prompt;
        WriteDataFile(path.toStdString(), doc, image, prompt);
        return path;
    }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Host = std::make_unique<TTestHost>(Dir->path());
    }
    void cleanup() { Host.reset(); Dir.reset(); }

    void startupModes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("typed");   // password typed, "<cancel>" for Cancel
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("dialogShown");

        QTest::newRow("none") << QStringList() << QString() << int(Normal) << false;
        QTest::newRow("-D") << QStringList {"-D"} << QString() << int(Extended) << false;
        QTest::newRow("/d lower") << QStringList {"/d"} << QString() << int(Extended) << false;
        QTest::newRow("-M right") << QStringList {"-M"} << "orvanealign" << int(Manufacture) << true;
        QTest::newRow("/m blanks and case") << QStringList {"/m"} << "  OrvaneAlign " << int(Manufacture) << true;
        QTest::newRow("-M wrong") << QStringList {"-M"} << "orvanealig" << int(Normal) << true;
        QTest::newRow("-M cancelled") << QStringList {"-M"} << "<cancel>" << int(Normal) << true;
    }
    void startupModes()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, typed);
        QFETCH(int, mode);
        QFETCH(bool, dialogShown);

        QString shown;  // what the password edit displayed
        Host->OnDialog = [&](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("edtPass");
            if (!edit)
                return int(QDialog::Rejected);
            if (typed == "<cancel>") {
                QTest::keyClicks(edit, "orvanealign");
                QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
            } else {
                QTest::keyClicks(edit, typed);
                shown = edit->displayText();
                QTest::keyClick(edit, Qt::Key_Return);
            }
            return dialog.result();
        };
        auto main = Start(args);
        QCOMPARE(int(main->ProgramMode()), mode);
        QCOMPARE(Host->DialogsShown, dialogShown ? 1 : 0);
        if (!typed.isEmpty() && typed != "<cancel>") {
            QVERIFY(!shown.contains(typed.trimmed()));
            QCOMPARE(shown.size(), typed.size());
        }
        const QString title = mode == Manufacture ? "<none>" + Suffix + "(Manufacture mode)"
                                                  : "<none>" + Suffix;
        QCOMPARE(main->windowTitle(), title);
        QCOMPARE(main->findChild<QMenu*>("miAlignment")->menuAction()->isVisible(), mode == Manufacture);
        QCOMPARE(main->Action("miRxAdjust")->isVisible(), mode != Normal);
        QCOMPARE(main->Action("miTxPower")->isVisible(), mode != Normal);
        QCOMPARE(CurrentHelpSet(), mode == Normal ? THelpSet::Normal : THelpSet::Service);
    }

    void fccPhaseFromTheClock_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("phase");
        QTest::newRow("2010-12-31") << QDate(2010, 12, 31) << 0;
        QTest::newRow("2011-01-01") << QDate(2011, 1, 1) << 1;
        QTest::newRow("2012-12-31") << QDate(2012, 12, 31) << 1;
        QTest::newRow("2013-01-01") << QDate(2013, 1, 1) << 2;
    }
    void fccPhaseFromTheClock()
    {
        QFETCH(QDate, today);
        QFETCH(int, phase);
        Host->Date = today;
        QCOMPARE(Start()->FccPhase(), phase);
    }

    void missingDefaultFileIsWrittenReadOnly()
    {
        auto main = Start();
        const QString path = Path("defaultv.R54");
        QVERIFY(QFile::exists(path));
        QVERIFY(!(QFile::permissions(path) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
        QTemporaryDir other;
        QCOMPARE(ReadAll(path), EncodedFile(DefaultDocument(), other.filePath("defaultv.R54")));
        QCOMPARE(main->CurrentFileName(), QString("<none>"));
        QVERIFY(!main->SaveEnabled());
        QVERIFY(!main->Action("miSave")->isEnabled());
        QVERIFY(!main->Modified());
        QVERIFY(Host->Person.Messages.empty());

        // The next start finds it and opens it.
        main.reset();
        main = Start();
        QCOMPARE(main->CurrentFileName(), path);
        QVERIFY(main->SaveEnabled());
        QCOMPARE(main->windowTitle(), path + Suffix);
    }

    void unreadableDefaultFileIsLeftAlone()
    {
        const QString path = Path("defaultv.R54");
        WriteAll(path, "not an image");
        auto main = Start();
        QCOMPARE(ReadAll(path), QByteArray("not an image"));
        QCOMPARE(main->CurrentFileName(), QString("<none>"));
        QCOMPARE(Host->Person.Messages.size(), size_t(1));
        QCOMPARE(Host->Person.Messages[0].Kind, std::string("error"));
        // The document is the new-document default, untouched by the bad file.
        QVERIFY(main->Document().Channels.Equals(DefaultDocument().Channels));
    }

    void startupFileArgumentKeepsTheTypedName()
    {
        TRKmem doc = DefaultDocument();
        doc.SerialNo = "87654321";
        const QString path = WriteDocument("site.r54", doc);
        auto main = Start({path});
        QCOMPARE(main->CurrentFileName(), path);
        QCOMPARE(main->Document().SerialNo, std::string("87654321"));
        QCOMPARE(main->findChild<QLabel*>("lblSerialNo")->text(), QString("87654321"));
        QVERIFY(!QFile::exists(Path("defaultv.R54")));
    }

    void saveNeverOverwritesTheDefaultFile()
    {
        Start().reset();  // writes the default file
        auto main = Start();
        const QString defaultFile = Path("defaultv.R54");
        const QByteArray before = ReadAll(defaultFile);
        main->Document().SerialNo = "11112222";

        Host->Files = {""};  // the name is asked for; cancelled
        main->FileSave();
        QCOMPARE(Host->ChooserFolders.size(), 1);
        QCOMPARE(main->CurrentFileName(), defaultFile);

        Host->Files = {defaultFile};  // choosing the default file itself is refused
        main->FileSave();
        QCOMPARE(ReadAll(defaultFile), before);

        const QString target = Path("saved.R54");
        Host->Files = {target};
        main->FileSave();
        QCOMPARE(main->CurrentFileName(), target);
        QCOMPARE(main->windowTitle(), target + Suffix);
        QVERIFY(!main->Modified());
        QCOMPARE(ReadAll(defaultFile), before);
        QCOMPARE(ReadAll(target).size(), qsizetype(ImageSize));
        QCOMPARE(main->CurFold(), Dir->path() + "/");

        // Saving a named file asks nothing.
        main->FileSave();
        QCOMPARE(Host->ChooserFolders.size(), 3);
    }

    void askToSaveDecidesWhetherNewGoesOn_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file");  // save dialog's answer after Yes
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("saved");
        QTest::newRow("No") << int(TAnswer::No) << QString() << true << false;
        QTest::newRow("Yes, saved") << int(TAnswer::Yes) << "kept.R54" << true << true;
        QTest::newRow("Yes, save cancelled") << int(TAnswer::Yes) << QString() << false << false;
        QTest::newRow("dismissed") << int(TAnswer::Dismissed) << QString() << false << false;
    }
    void askToSaveDecidesWhetherNewGoesOn()
    {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, replaced);
        QFETCH(bool, saved);
        auto main = Start();
        // An edit in the grid reaches the document through Commit.
        main->Grid()->SetCellText(TChGrid::RowOf(0), 9, "on");
        Host->Person.Answers = {TAnswer(answer)};
        Host->Files = {file.isEmpty() ? QString() : Path(file)};
        main->FileNew();
        QCOMPARE(Host->Person.Texts(), QStringList {"ask: Do you want to save the file?"});
        QCOMPARE(main->Grid()->CellText(TChGrid::RowOf(0), 9), replaced ? QString("off") : QString("on"));
        QCOMPARE(main->Modified(), !replaced);
        QCOMPARE(QFile::exists(Path("kept.R54")), saved);
        QVERIFY(main->SaveEnabled());
        QCOMPARE(main->CurrentFileName(), QString("<none>"));
    }

    void openMovesTheFileToTheTopOfTheRecentList()
    {
        const QString a = WriteDocument("a.R54", DefaultDocument());
        TRKmem docB = DefaultDocument();
        docB.SerialNo = "22222222";
        const QString b = WriteDocument("b.R54", docB);
        auto main = Start();
        QVERIFY(main->Action("miRecentFile")->isVisible());
        QVERIFY(!main->Action("miRecentFile")->isEnabled());
        QVERIFY(!main->Action("miFile1")->isVisible());

        Host->Files = {a, b, a};
        main->FileOpen();
        main->FileOpen();
        main->FileOpen();
        QCOMPARE(main->RecentFiles(), (QStringList {a, b}));
        QCOMPARE(main->CurrentFileName(), a);
        QVERIFY(!main->Action("miRecentFile")->isVisible());
        QVERIFY(main->Action("miFile2")->isVisible());
        QVERIFY(!main->Action("miFile3")->isVisible());
        QCOMPARE(main->Action("miFile2")->text(), "&2 " + QDir::toNativeSeparators(b));
        QCOMPARE(Host->ChooserFolders.last(), Dir->path() + "/");

        // A file that does not read leaves everything as it was.
        const QString bad = Path("bad.R54");
        WriteAll(bad, QByteArray(100, 'x'));
        Host->Files = {bad};
        main->FileOpen();
        QCOMPARE(main->CurrentFileName(), a);
        QCOMPARE(main->RecentFiles(), (QStringList {a, b}));
        QCOMPARE(Host->Person.Messages.back().Text, std::string(FileMessages::FormatError));

        main->OpenRecent(1);
        QCOMPARE(main->CurrentFileName(), b);
        QCOMPARE(main->Document().SerialNo, std::string("22222222"));
        QCOMPARE(main->RecentFiles(), (QStringList {b, a}));

        QFile::remove(a);
        main->OpenRecent(1);
        QCOMPARE(Host->Person.Texts().last(), QString("warning: File Not Found"));
        QCOMPARE(main->RecentFiles(), QStringList {b});
        QVERIFY(!main->Action("miFile2")->isVisible());
        QCOMPARE(main->CurrentFileName(), b);
    }

    void olderFileTypeIsSavedOnlyUnderANewName()
    {
        const QString old = WriteDocument("old.RPT", DefaultDocument());
        auto main = Start();
        Host->Files = {old};
        main->FileOpen();
        QCOMPARE(main->CurrentFileName(), old);
        QVERIFY(!main->SaveEnabled());
        QVERIFY(!main->Action("miSave")->isEnabled());
    }

    void closeQuery_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("closes");
        QTest::newRow("No closes") << int(TAnswer::No) << QString() << true;
        QTest::newRow("Yes and saved") << int(TAnswer::Yes) << "closing.R54" << true;
        QTest::newRow("Yes, save cancelled") << int(TAnswer::Yes) << QString() << false;
        QTest::newRow("dismissed") << int(TAnswer::Dismissed) << QString() << false;
    }
    void closeQuery()
    {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, closes);
        auto main = Start();
        main->show();
        main->Grid()->SetCellText(TChGrid::RowOf(3), 22, "Lo");
        Host->Person.Answers = {TAnswer(answer)};
        Host->Files = {file.isEmpty() ? QString() : Path(file)};
        QCOMPARE(main->close(), closes);
        QCOMPARE(QFile::exists(Path("RK54Win.ini")), closes);
        if (!file.isEmpty()) {
            TRKmem saved;
            TMap54 image;
            TScriptedPrompt prompt;
            QVERIFY(ReadDataFile(Path(file).toStdString(), saved, image, prompt));
            QCOMPARE(saved.Channels[3].TxPower, 1);
        }
    }

    void settingsAreWrittenAtCloseAndReadAtStart()
    {
        const QString a = WriteDocument("a.R54", DefaultDocument());
        {
            auto main = Start();
            main->show();
            main->move(40, 30);
            main->resize(900, 600);
            main->ToggleItem(5);
            main->ToggleItem(23);
            Host->Files = {a};
            main->FileOpen();
            QVERIFY(main->close());
        }
        TIniData ini(Path("RK54Win.ini").toStdString());
        QVERIFY(ini.Load());
        QCOMPARE(ini.GetInt("COM_PORT", -9), 1);
        QCOMPARE(QString::fromStdString(ini.GetStr("CURFOLD", "")), Dir->path() + "/");
        QCOMPARE(ini.GetInt("FRMW", -9), 900);
        QCOMPARE(ini.GetInt("FRMH", -9), 600);
        QCOMPARE(ini.GetInt("FRMMAX", -9), -9);  // never written
        QCOMPARE(ini.GetInt("ITEM5", -9), 0);
        QCOMPARE(ini.GetInt("ITEM4", -9), 1);
        QCOMPARE(ini.GetInt("ITEM23", -9), 0);
        QCOMPARE(QString::fromStdString(ini.GetStr("FILE1", "")), a);
        QCOMPARE(ini.GetStr("FILE2", "empty"), std::string("empty"));

        ini.SetValue("COM_PORT", 7);
        QVERIFY(ini.Save());
        auto main = Start();
        QCOMPARE(main->ComPort(), 7);
        QCOMPARE(main->findChild<QLabel*>("lblCOMPort")->text(), QString("COM7"));
        QCOMPARE(main->RecentFiles(), QStringList {a});
        QVERIFY(!main->Grid()->ItemVisible(5));
        QVERIFY(main->Grid()->isColumnHidden(7));
        QVERIFY(main->Grid()->isColumnHidden(8));
        QVERIFY(!main->Action("miItem5")->isChecked());
        QVERIFY(main->Action("miItem4")->isChecked());
        QCOMPARE(main->size(), QSize(900, 600));
    }

    void maximisedWindowKeepsTheStoredPlacement()
    {
        {
            TIniData ini(Path("RK54Win.ini").toStdString());
            ini.SetValue("FRMX", 12);
            ini.SetValue("FRMW", -1);
            ini.SetValue("FRMMAX", 1);
            QVERIFY(ini.Save());
        }
        auto main = Start();
        const QSize design = main->size();
        main->ShowAsStored();
        QVERIFY(main->isMaximized());
        QVERIFY(main->close());
        TIniData ini(Path("RK54Win.ini").toStdString());
        ini.Load();
        QCOMPARE(ini.GetInt("FRMX", -9), 12);
        QCOMPARE(ini.GetInt("FRMW", -9), -1);
        QCOMPARE(ini.GetInt("FRMMAX", -9), 1);
        QVERIFY(design.width() >= 827);
    }

    void settingsThatCannotBeWrittenDoNotStopTheClose()
    {
        QVERIFY(QDir(Dir->path()).mkdir("RK54Win.ini"));
        auto main = Start();
        main->show();
        QVERIFY(main->close());
    }

    void aboutShowsTheVersionOfTheBuild_data()
    {
        QTest::addColumn<QString>("fileVersion");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.2.0.0") << "1.2.0.0" << "1.02";
        QTest::newRow("2.10.0.0") << "2.10.0.0" << "2.10";
        QTest::newRow("3.1.0.0") << "3.1.0.0" << "3.01";
        QTest::newRow("none") << "" << "";
        QTest::newRow("major only") << "4" << "";
    }
    void aboutShowsTheVersionOfTheBuild()
    {
        QFETCH(QString, fileVersion);
        QFETCH(QString, text);
        QCOMPARE(TfrmAbout::VersionText(fileVersion), text);
    }

    void aboutFromTheHelpMenu()
    {
        auto main = Start();
        QString line;
        QString folder;
        Host->OnDialog = [&](QDialog& dialog) {
            line = dialog.findChild<QLabel*>("lvlName")->text();
            folder = dialog.findChild<QLabel*>("lblFolder")->text();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            return dialog.result();
        };
        main->Action("miAbout")->trigger();
        QCOMPARE(line, "RK54 Ver " + TfrmAbout::VersionText(RK54_VERSION));
        QVERIFY(folder.contains(QDir::toNativeSeparators(Dir->path())));
    }

    void helpActionsOpenTheirPages_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("page");
        QTest::newRow("topics") << QStringList() << "miHelpTopics" << "welcome.html";
        QTest::newRow("get started") << QStringList() << "miGetStarted" << "contents.html";
        QTest::newRow("common problems") << QStringList() << "miCommonProblems" << "index.html";
        QTest::newRow("service set") << QStringList {"-D"} << "miHelpTopics" << "welcome.html";
    }
    void helpActionsOpenTheirPages()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, action);
        QFETCH(QString, page);
        auto main = Start(args);
        main->Action(action)->trigger();
        THelpWindow* help = THelpWindow::Instance();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->CurrentPage(), page);
        const QString set = args.isEmpty() ? "/normal/" : "/service/";
        QVERIFY(help->Browser()->source().toString().contains(set));
        QVERIFY(help->Browser()->toPlainText().size() > 200);
        help->close();
    }

    void everyHelpLinkLeadsToAPage()
    {
        int pages = 0;
        QDirIterator it(":/help", {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
        const QRegularExpression href("href=\"([^\"#]*)(#[^\"]*)?\"");
        while (it.hasNext()) {
            const QString page = it.next();
            ++pages;
            const QString html = QString::fromUtf8(ReadAll(page));
            QVERIFY2(html.contains("<title>"), qPrintable(page));
            for (auto match = href.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                if (target.isEmpty())
                    continue;
                const QString path = QDir::cleanPath(QFileInfo(page).path() + "/" + target);
                QVERIFY2(QFile::exists(path), qPrintable(page + " -> " + target));
            }
        }
        QVERIFY(pages >= 14);
        for (const char* set : {"normal", "service"})
            for (const char* page : {"welcome.html", "contents.html", "index.html"})
                QVERIFY(QFile::exists(QString(":/help/%1/%2").arg(set, page)));
    }

    void statusBarShowsHintsAndLocks()
    {
        Host->Locks.Caps = true;
        Host->Locks.Scroll = true;
        auto main = Start();
        main->show();
        auto* hint = main->findChild<QLabel*>("pnlHint");
        QCOMPARE(hint->text(), QString("F1 for Help   F10 for Menus"));
        // What a menu or tool button sends when the pointer rests on it.
        QStatusTipEvent tip(main->Action("miUpload")->statusTip());
        QApplication::sendEvent(main.get(), &tip);
        QCOMPARE(hint->text(), QString("Read data from radio"));
        // F1 now belongs to that tool button.
        main->activateWindow();
        QTest::keyClick(main->Grid(), Qt::Key_F1);
        QVERIFY(THelpWindow::Instance() && THelpWindow::Instance()->isVisible());
        QCOMPARE(THelpWindow::Instance()->CurrentPage(), QString("welcome.html"));
        THelpWindow::Instance()->close();
        QCOMPARE(main->findChild<QLabel*>("pnlCaps")->text(), QString("CAP"));
        QCOMPARE(main->findChild<QLabel*>("pnlNum")->text(), QString());
        QCOMPARE(main->findChild<QLabel*>("pnlScrl")->text(), QString("SCRL"));
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d$").match(main->findChild<QLabel*>("pnlClock")->text()).hasMatch());
        QCOMPARE(main->findChild<QLabel*>("lblBand")->text(), QString("VHF"));
        QCOMPARE(main->findChild<QLabel*>("lblCOMPort")->text(), QString("COM1"));
    }

    void keysOfTheWindow()
    {
        auto main = Start();
        main->show();
        QTest::keyClick(main->Grid(), Qt::Key_F10);
        QCOMPARE(main->menuBar()->activeAction(), main->findChild<QMenu*>("mnuFile")->menuAction());
        QTest::keyClick(main->findChild<QMenu*>("mnuFile"), Qt::Key_Escape);
        // F2 takes the grid into WorkChannels, not yet into the document.
        main->Grid()->SetCellText(TChGrid::RowOf(0), 22, "Lo");
        QTest::keyClick(main->Grid(), Qt::Key_F2);
        QCOMPARE(main->WorkChannels()[0].TxPower, 1);
        QCOMPARE(main->Document().Channels[0].TxPower, 0);
        QVERIFY(!main->Modified());
    }

    void laterCommandsAreDisabledNotPretending()
    {
        auto main = Start({"-M"});
        for (const char* name : {"miRxAdjust", "miTxAdjust", "miTxPower", "miAlphaTag", "miSignal",
                                 "miAni", "miEni", "miToneTbl", "miPrint", "miPrintPreview", "miPrintSetup",
                                 "miAlignLowest", "miAlignHighest"})
            QVERIFY2(main->Action(name) && !main->Action(name)->isEnabled(), name);
        for (const char* name : {"miNew", "miOpen", "miSaveAs", "miConfigure", "miUpload", "miDownload",
                                 "miExit", "miAbout", "miVisible", "miHardware", "miRadioStatus",
                                 "miTimer", "miCWID", "miMarketing"})
            QVERIFY2(main->Action(name)->isEnabled(), name);
    }
};

QTEST_MAIN(TestMain)
#include "tst_Main.moc"
