#include "print/dc_PrtImg.h"

#include "ui/base/U_QtText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace {

// The page images are drawn at the screen resolution the report was laid
// out for, whatever the screen in use says.
constexpr int ImageDotsPerInch = 96;

} // namespace

QSize TPrtImg::PageSize(TPaperType paper)
{
    return paper == PaperLetter ? QSize(850, 1100) : QSize(827, 1169);
}

QFont TPrtImg::ReportFont()
{
    QFont font("Courier New");
    font.setPointSize(10);
    if (QFontInfo(font).family() != font.family()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    return font;
}

int TPrtImg::LineHeight(int dotsPerInch)
{
    return std::abs(static_cast<int>(std::lround(10.0 * dotsPerInch / 72)));
}

void TPrtImg::DrawPage(QPainter& painter, const TReportPage& page, int lineHeight)
{
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int ascent = painter.fontMetrics().ascent();
    for (const TReportLine& line : page.Lines)
        painter.drawText(0, line.Line * lineHeight + ascent, Qs(DrawnLine(line)));
}

TPrtImg::TPrtImg(const std::vector<TReportPage>& report, TPaperType paper) : FPaper(paper)
{
    const QFont font = ReportFont();
    const int dotsPerMeter = static_cast<int>(std::lround(ImageDotsPerInch / 0.0254));
    for (const TReportPage& page : report) {
        QImage image(PageSize(paper), QImage::Format_RGB32);
        if (image.isNull()) {
            FOk = false;
            return;
        }
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(Qt::white);
        QPainter painter;
        if (!painter.begin(&image)) {
            FOk = false;
            return;
        }
        painter.setFont(font);
        DrawPage(painter, page, LineHeight(ImageDotsPerInch));
        painter.end();
        FPages.push_back(std::move(image));
    }
}

bool TPrtImg::Print(const std::vector<TReportPage>& report, QPrinter& printer)
{
    if (!printer.isValid())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setFont(ReportFont());
    const int lineHeight = LineHeight(printer.logicalDpiY());
    for (std::size_t p = 0; p < report.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            printer.abort();
            painter.end();
            return false;
        }
        DrawPage(painter, report[p], lineHeight);
    }
    return painter.end();
}
