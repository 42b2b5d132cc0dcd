#include "ui/base/U_Help.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace {

THelpSet GHelpSet = THelpSet::Normal;
QPointer<THelpWindow> GHelpWindow;

QString SetFolder()
{
    return GHelpSet == THelpSet::Normal ? QStringLiteral(":/help/normal/")
                                        : QStringLiteral(":/help/service/");
}

QString PageOf(THelpAction action)
{
    switch (action) {
    case THelpAction::Contents: return QStringLiteral("contents.html");
    case THelpAction::Index: return QStringLiteral("index.html");
    case THelpAction::DefaultTopic: break;
    }
    return QStringLiteral("welcome.html");
}

QString WindowTitle()
{
    return GHelpSet == THelpSet::Normal ? QStringLiteral("RK54Win Help")
                                        : QStringLiteral("RK54Win Service Help");
}

} // namespace

void SetHelpSet(THelpSet set) { GHelpSet = set; }
THelpSet CurrentHelpSet() { return GHelpSet; }

QString HelpPagePath(const QString& page) { return SetFolder() + page; }

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frmHelp");
    setAttribute(Qt::WA_DeleteOnClose);
    // Help stays open beside the main window but never keeps the program
    // running after it.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(720, 560);

    FBrowser = new QTextBrowser(this);
    FBrowser->setObjectName("brwHelp");
    FBrowser->setOpenExternalLinks(true);

    auto* btnContents = new QPushButton(tr("&Contents"), this);
    btnContents->setObjectName("btnContents");
    auto* btnIndex = new QPushButton(tr("&Index"), this);
    btnIndex->setObjectName("btnIndex");
    auto* btnBack = new QPushButton(tr("&Back"), this);
    btnBack->setObjectName("btnBack");
    auto* btnForward = new QPushButton(tr("&Forward"), this);
    btnForward->setObjectName("btnForward");
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);

    connect(btnContents, &QPushButton::clicked, this, [this] { ShowPage(PageOf(THelpAction::Contents)); });
    connect(btnIndex, &QPushButton::clicked, this, [this] { ShowPage(PageOf(THelpAction::Index)); });
    connect(btnBack, &QPushButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(btnForward, &QPushButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FBrowser, &QTextBrowser::backwardAvailable, btnBack, &QPushButton::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, btnForward, &QPushButton::setEnabled);
    connect(FBrowser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = FBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? WindowTitle() : WindowTitle() + " - " + title);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnContents);
    buttons->addWidget(btnIndex);
    buttons->addWidget(btnBack);
    buttons->addWidget(btnForward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(FBrowser);
    setWindowTitle(WindowTitle());
}

void THelpWindow::ShowPage(const QString& page)
{
    FBrowser->setSource(QUrl("qrc" + HelpPagePath(page)));
}

QString THelpWindow::CurrentPage() const
{
    return QFileInfo(FBrowser->source().path()).fileName();
}

THelpWindow* THelpWindow::Instance() { return GHelpWindow; }

void OpenHelpTopic(const QString& page)
{
    if (!GHelpWindow)
        GHelpWindow = new THelpWindow;
    GHelpWindow->ShowPage(page);
    // A modal dialog blocks every window that is not its own. Help asked
    // for from a dialog is made the dialog's (transient for it, not its
    // child), so its links, buttons and close box work while the dialog
    // stays open, and it outlives the dialog. Asked for from the main
    // window it is nobody's.
    QWidget* modal = QApplication::activeModalWidget();
    GHelpWindow->winId();
    GHelpWindow->windowHandle()->setTransientParent(modal && modal != GHelpWindow ? modal->windowHandle()
                                                                                  : nullptr);
    GHelpWindow->show();
    GHelpWindow->raise();
    GHelpWindow->activateWindow();
}

void OpenHelp(THelpAction action) { OpenHelpTopic(PageOf(action)); }
