#pragma once
#include <QDialog>

class QTableWidget;
class TMap54;
struct TRKmem;

// The clone image as a hexadecimal dump. Showing it encodes the document
// first, so the bytes are those a download or a data file would carry.
class TfrmFData : public QDialog {
    Q_OBJECT
public:
    TfrmFData(const TRKmem& doc, TMap54& image, QWidget* parent = nullptr);
    QTableWidget* Grid() const { return FGrid; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillCells();

    const TRKmem& FDoc;
    TMap54& FImage;
    QTableWidget* FGrid;
};
