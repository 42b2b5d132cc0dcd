#pragma once
#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class TPrtImg;

// The report's pages as images, page by page, in three sizes: the whole
// page in the window's height, 0.8 of the page image and the page image
// itself. Print asks `print` (the print setup, then the job) and closes.
class TfrmPreview : public QDialog {
    Q_OBJECT
public:
    TfrmPreview(std::unique_ptr<TPrtImg> report, std::function<void()> print, QWidget* parent = nullptr);
    ~TfrmPreview() override;

    int Page() const { return FPage; }
    int Zoom() const { return FZoom; }  // 0 whole page, 1 four fifths, 2 full size

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void NextPage();
    void PreviousPage();
    void ZoomIn();
    void ZoomOut();
    void PrintReport();
    void UpdateButtons();
    void LayOut();
    void Draw();
    QPushButton* NewButton(const char* name, const QString& text, void (TfrmPreview::*action)());

    std::unique_ptr<TPrtImg> FReport;
    std::function<void()> FPrint;
    int FPage = 0;
    int FZoom = 0;
    QScrollArea* FBox;
    QWidget* FCanvas;
    QLabel* FImage;
    QPushButton* FNext;
    QPushButton* FPrevious;
    QPushButton* FZoomIn;
    QPushButton* FZoomOut;
};
