#include "print/D_PrintSetup.h"

#include "print/U_Printers.h"
#include "ui/base/U_DialogKit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum { SizeLetter = 0, SizeA4 = 1 };  // positions in the size list
}

TfrmPrintSetup::TfrmPrintSetup(TCurrentPrinter& printer, QWidget* parent) : QDialog(parent), FPrinter(printer)
{
    setObjectName("frmPrintSetup");
    setWindowTitle("Print Setup");
    auto* group = new QGroupBox("Printer", this);
    auto* grid = new QGridLayout(group);
    auto* lblName = new QLabel("Printer &Name:", group);
    FPrinters = new QComboBox(group);
    FPrinters->setObjectName("cmbPrinter");
    lblName->setBuddy(FPrinters);
    auto* lblSize = new QLabel("Si&ze:", group);
    FSizes = new QComboBox(group);
    FSizes->setObjectName("cmbSize");
    lblSize->setBuddy(FSizes);
    grid->addWidget(lblName, 0, 0);
    grid->addWidget(FPrinters, 0, 1);
    grid->addWidget(lblSize, 1, 0);
    grid->addWidget(FSizes, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
    AddOkCancelRow(*this, *layout);
    AddHelpKey(*this);
    setFixedSize(392, 168);

    FSizes->addItems({"Letter", "A4"});
    FSizes->setCurrentIndex(SizeA4);
    const QStringList names = printer.Names();
    if (names.isEmpty()) {
        findChild<QPushButton*>("btnOK")->setEnabled(false);
        return;
    }
    FPrinters->addItems(names);
    FPrinters->setCurrentIndex(names.indexOf(printer.Name()));
    FSizes->setCurrentIndex(printer.Paper() == QPageSize::A4 ? SizeA4 : SizeLetter);
}

void TfrmPrintSetup::accept()
{
    if (FPrinters->currentIndex() < 0)
        return;  // nothing to print on
    FPrinter.Choose(FPrinters->currentText(), FSizes->currentIndex() == SizeA4 ? PaperA4 : PaperLetter);
    QDialog::accept();
}
