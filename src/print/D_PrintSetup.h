#pragma once
#include <QDialog>

class QComboBox;
class QPushButton;
class TCurrentPrinter;

// "Print Setup": which printer, Letter or A4; always upright. OK makes the
// choice the current printer; without printers it cannot be confirmed.
class TfrmPrintSetup : public QDialog {
    Q_OBJECT
public:
    TfrmPrintSetup(TCurrentPrinter& printer, QWidget* parent = nullptr);
    void accept() override;

private:
    TCurrentPrinter& FPrinter;
    QComboBox* FPrinters;
    QComboBox* FSizes;
};
