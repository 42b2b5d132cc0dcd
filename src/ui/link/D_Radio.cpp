#include "ui/link/D_Radio.h"

#include "ui/base/U_DialogKit.h"
#include "ui/base/U_Host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmRadio::TfrmRadio(QWidget* mainWindow, TUiPrompt& prompt, TLinkTiming timing)
    : QDialog(nullptr), FMainWindow(mainWindow), FPrompt(prompt), FTiming(timing)
{
    // No parent: the main window is disabled during the transfer, and a
    // child window would be disabled with it.
    setObjectName("frmRadio");
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font("Arial");
    font.setPointSize(8);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    for (int k = 0; k < 3; ++k) {
        FMsg[k] = new QLabel(this);
        FMsg[k]->setObjectName(QString("lblMsg%1").arg(k + 1));
        FMsg[k]->setAlignment(Qt::AlignCenter);
        layout->addWidget(FMsg[k]);
    }
    auto* label1 = new QLabel("Radio Data", this);
    label1->setObjectName("Label1");
    layout->addWidget(label1);
    FProgress = new QProgressBar(this);
    FProgress->setObjectName("progText");
    FProgress->setRange(0, ProgressMax);
    FProgress->setValue(0);
    FProgress->setTextVisible(false);
    layout->addWidget(FProgress);
    FCancel = new QPushButton("&Cancel", this);
    FCancel->setObjectName("btnCancel");
    auto* btnHelp = new QPushButton("&Help", this);
    btnHelp->setObjectName("btnHelp");
    btnHelp->setVisible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(FCancel);
    buttons->addWidget(btnHelp);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(FCancel, &QPushButton::clicked, this, [this] { FCancelled = true; });
    FixDesignedSize(*this, {300, 150});
}

void TfrmRadio::TransferBegins(TDirection direction)
{
    FDirection = direction;
    FMsg[0]->clear();
    FMsg[2]->clear();
    FMsg[1]->setText("Connection cables to radio");
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint;
    if (direction == UploadDirection) {
        setWindowTitle("Upload Function");
        FCancel->setVisible(true);
    } else {
        setWindowTitle("Download Function");
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        FCancel->setVisible(false);
    }
    setWindowFlags(flags);
    FCancelled = false;
    FEnded = false;
    if (FMainWindow)
        FMainWindow->setEnabled(false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    QApplication::processEvents();
}

void TfrmRadio::TransferEnds()
{
    FEnded = true;
    if (FMainWindow) {
        FMainWindow->setEnabled(true);
        FMainWindow->activateWindow();
    }
    hide();
}

void TfrmRadio::SetProgress(int position)
{
    FProgress->setValue(qBound(0, position, int(ProgressMax)));
    FProgress->repaint();
}

int TfrmRadio::Progress() const { return FProgress->value(); }

void TfrmRadio::Breathe() { QApplication::processEvents(); }

void TfrmRadio::Error(const std::string& text) { FPrompt.Error(text); }

void TfrmRadio::Information(const std::string& text) { FPrompt.Information(text); }

bool TfrmRadio::CloseRequested()
{
    // While a transfer runs the first request only raises the cancel flag;
    // the engine then stops at its next check and closes the window itself.
    if (FEnded || FCancelled)
        return true;
    FCancelled = true;
    return false;
}

void TfrmRadio::closeEvent(QCloseEvent* event)
{
    if (CloseRequested())
        event->accept();
    else
        event->ignore();
}

void TfrmRadio::reject()
{
    if (CloseRequested())
        QDialog::reject();
}

void TfrmRadio::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier))
        return;
    QDialog::keyPressEvent(event);
}
