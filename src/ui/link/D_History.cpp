#include "ui/link/D_History.h"

#include "files/U_FileAccess.h"
#include "link/U_SafeDownload.h"
#include "ui/base/U_DialogKit.h"
#include "ui/base/U_Host.h"
#include "ui/base/U_QtText.h"
#include "ui/link/D_Changes.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {
const char* const AllUnits = "(all units)";
}

TfrmHistory::TfrmHistory(const THistory& history, const TRKmem& current, THost& host, QWidget* parent)
    : QDialog(parent), FHistory(history), FCurrent(current), FHost(host)
{
    setObjectName("frmHistory");
    setWindowTitle("Service History");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* lblSerial = new QLabel("&Serial No", this);
    FSerial = new QComboBox(this);
    FSerial->setObjectName("cmbSerial");
    lblSerial->setBuddy(FSerial);
    top->addWidget(lblSerial);
    top->addWidget(FSerial, 1);
    auto* lblFolder = new QLabel(PathText(history.Folder()), this);
    lblFolder->setObjectName("lblFolder");
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(lblFolder, 2);
    layout->addLayout(top);

    FList = new QTreeWidget(this);
    FList->setObjectName("lstHistory");
    FList->setRootIsDecorated(false);
    FList->setHeaderLabels({"Time (UTC)", "Serial No", "Firmware", "Band", "Action", "Mode", "Outcome", "Image"});
    FList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FList->setMinimumSize(760, 300);
    layout->addWidget(FList, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    FOpen = new QPushButton("&Open", this);
    FOpen->setObjectName("btnOpen");
    FCompare = new QPushButton("Co&mpare", this);
    FCompare->setObjectName("btnCompare");
    auto* btnClose = new QPushButton("Close", this);
    btnClose->setObjectName("btnClose");
    for (QPushButton* b : {FOpen, FCompare, btnClose})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    AddHelpKey(*this);

    FEntries = history.Entries();
    QStringList serials;
    for (const THistoryEntry& e : FEntries)
        if (!serials.contains(QString::fromStdString(e.Serial)))
            serials << QString::fromStdString(e.Serial);
    serials.sort();
    FSerial->addItem(AllUnits);
    FSerial->addItems(serials);
    connect(FSerial, &QComboBox::currentIndexChanged, this, &TfrmHistory::Fill);
    connect(FList, &QTreeWidget::currentItemChanged, this, [this] {
        FOpen->setEnabled(Selected() != nullptr);
        FCompare->setEnabled(Selected() != nullptr);
    });
    connect(FList, &QTreeWidget::itemDoubleClicked, this, &TfrmHistory::Open);
    connect(FOpen, &QPushButton::clicked, this, &TfrmHistory::Open);
    connect(FCompare, &QPushButton::clicked, this, &TfrmHistory::Compare);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    Fill();
    FList->setFocus();
}

void TfrmHistory::Fill()
{
    FList->clear();
    const QString serial = FSerial->currentIndex() > 0 ? FSerial->currentText() : QString();
    for (int k = 0; k < int(FEntries.size()); ++k) {
        const THistoryEntry& e = FEntries[size_t(k)];
        if (!serial.isEmpty() && QString::fromStdString(e.Serial) != serial)
            continue;
        auto* item = new QTreeWidgetItem(FList);
        const std::string* fields[] = {&e.Time, &e.Serial, &e.Firmware, &e.Band, &e.Action, &e.Mode, &e.Outcome, &e.File};
        for (int c = 0; c < 8; ++c)
            item->setText(c, QString::fromStdString(*fields[c]));
        item->setData(0, Qt::UserRole, k);
    }
    FList->setCurrentItem(FList->topLevelItem(0));
    FOpen->setEnabled(Selected() != nullptr);
    FCompare->setEnabled(Selected() != nullptr);
}

const THistoryEntry* TfrmHistory::Selected() const
{
    const QTreeWidgetItem* item = FList->currentItem();
    return item ? &FEntries[size_t(item->data(0, Qt::UserRole).toInt())] : nullptr;
}

void TfrmHistory::Open()
{
    if (const THistoryEntry* e = Selected()) {
        FChosen = PathText(FHistory.ImagePath(*e));
        accept();
    }
}

void TfrmHistory::Compare()
{
    const THistoryEntry* e = Selected();
    if (!e)
        return;
    auto archived = std::make_unique<TRKmem>();
    TMap54 image;
    if (!ReadDataFile(FHistory.ImagePath(*e), *archived, image, FHost.Prompt()))
        return;
    TfrmChanges dialog(TfrmChanges::Comparison, FieldChanges(*archived, FCurrent), this);
    FHost.Exec(dialog);
}
