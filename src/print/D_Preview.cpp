#include "print/D_Preview.h"

#include "print/dc_PrtImg.h"
#include "ui/base/U_DialogKit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int ZoomWhole = 0;
constexpr int ZoomMedium = 1;
constexpr int ZoomFull = 2;
constexpr int Gap = 10;  // above the image, and at least beside it
}

TfrmPreview::TfrmPreview(std::unique_ptr<TPrtImg> report, std::function<void()> print, QWidget* parent)
    : QDialog(parent), FReport(std::move(report)), FPrint(std::move(print))
{
    setObjectName("frmPreview");
    setSizeGripEnabled(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(NewButton("btnClose", "&Close", nullptr));
    FNext = NewButton("btnNext", "&Next Page", &TfrmPreview::NextPage);
    FPrevious = NewButton("btnPrevious", "Pre&vious Page", &TfrmPreview::PreviousPage);
    FZoomIn = NewButton("btnZoomIn", "Zoom &In", &TfrmPreview::ZoomIn);
    FZoomOut = NewButton("btnZoomOut", "Zoom &Out", &TfrmPreview::ZoomOut);
    for (QPushButton* button : {FNext, FPrevious, FZoomIn, FZoomOut})
        buttons->addWidget(button);
    buttons->addWidget(NewButton("btnPrint", "&Print", &TfrmPreview::PrintReport));
    buttons->addStretch();

    FBox = new QScrollArea(this);
    FBox->setObjectName("sbxPage");
    FBox->setBackgroundRole(QPalette::Dark);
    FBox->horizontalScrollBar()->setSingleStep(5);
    FCanvas = new QWidget;
    FImage = new QLabel(FCanvas);
    FImage->setObjectName("imgPage");
    FBox->setWidget(FCanvas);
    FBox->setWidgetResizable(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QWidget(this);
    bar->setLayout(buttons);
    layout->addWidget(bar);
    layout->addWidget(FBox, 1);
    AddHelpKey(*this);
    // The smallest window the buttons and a readable page fit in.
    setMinimumSize(827, 509);
}

TfrmPreview::~TfrmPreview() = default;

QPushButton* TfrmPreview::NewButton(const char* name, const QString& text, void (TfrmPreview::*action)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (action)
        connect(button, &QPushButton::clicked, this, [this, action] {
            (this->*action)();
            UpdateButtons();
        });
    else
        connect(button, &QPushButton::clicked, this, &QDialog::reject);
    return button;
}

void TfrmPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FZoom = ZoomWhole;
    FPage = 0;
    UpdateButtons();
    LayOut();
}

void TfrmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
}

void TfrmPreview::NextPage()
{
    if (FPage < FReport->PageCount() - 1) {
        ++FPage;
        Draw();
    }
}

void TfrmPreview::PreviousPage()
{
    if (FPage > 0) {
        --FPage;
        Draw();
    }
}

void TfrmPreview::ZoomIn()
{
    if (FZoom < ZoomFull) {
        ++FZoom;
        LayOut();
    }
}

void TfrmPreview::ZoomOut()
{
    if (FZoom > ZoomWhole) {
        --FZoom;
        LayOut();
    }
}

void TfrmPreview::PrintReport()
{
    if (FPrint)
        FPrint();
    reject();  // the preview closes whatever the print setup's answer
}

void TfrmPreview::UpdateButtons()
{
    FNext->setEnabled(FPage < FReport->PageCount() - 1);
    FPrevious->setEnabled(FPage > 0);
    FZoomIn->setEnabled(FZoom != ZoomFull);
    FZoomOut->setEnabled(FZoom != ZoomWhole);
}

void TfrmPreview::LayOut()
{
    if (FReport->PageCount() == 0)
        return;
    const QSize page = FReport->PageBitmap(0).size();
    const Qt::ScrollBarPolicy bars[3][2] = {
        {Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
        {Qt::ScrollBarAsNeeded, Qt::ScrollBarAlwaysOn},
        {Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOn},
    };
    FBox->setHorizontalScrollBarPolicy(bars[FZoom][0]);
    FBox->setVerticalScrollBarPolicy(bars[FZoom][1]);
    const QSize view = FBox->viewport()->size();

    QSize image;
    if (FZoom == ZoomWhole) {
        const int height = std::max(1, view.height() - 2 * Gap);
        image = QSize(std::max(1, page.width() * height / page.height()), height);
    } else if (FZoom == ZoomMedium) {
        image = QSize(static_cast<int>(std::lround(page.width() * 0.8)),
                      static_cast<int>(std::lround(page.height() * 0.8)));
    } else {
        image = page;
    }
    // Scrolled, the image has a gap on every side; the canvas never gets
    // smaller than the visible area, so a narrow image stands centred.
    const QSize range = FZoom == ZoomWhole ? view : image + QSize(2 * Gap, 2 * Gap);
    FCanvas->resize(range.expandedTo(view));
    const int left = (FCanvas->width() - image.width()) / 2;
    FImage->setGeometry(FZoom == ZoomWhole ? left : std::max(Gap, left), Gap, image.width(), image.height());
    FBox->verticalScrollBar()->setValue(0);
    FBox->horizontalScrollBar()->setValue(FZoom == ZoomFull ? range.width() / 2 : 0);
    Draw();
}

void TfrmPreview::Draw()
{
    const QImage& bitmap = FReport->PageBitmap(FPage);
    QPixmap picture(FImage->size());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    if (FZoom == ZoomFull) {
        painter.drawImage(40, 20, bitmap);
    } else {
        // The page sits 40 and 20 page pixels in from the image's corner,
        // scaled with the image.
        const double s = static_cast<double>(FImage->width()) / bitmap.width();
        const auto at = [s](int v) { return static_cast<int>(std::lround(v * s)); };
        const QRect target(QPoint(at(40), at(20)), QPoint(at(bitmap.width() + 40), at(bitmap.height() + 20)));
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, bitmap);
    }
    painter.end();
    FImage->setPixmap(picture);
}
