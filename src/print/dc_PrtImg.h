#pragma once
#include "print/U_Report.h"
#include "print/U_ReportPdf.h"

#include <QFont>
#include <QImage>
#include <QSize>

#include <vector>

class QPainter;
class QPrinter;

// Draws the report's pages: into page images for the preview, or to a
// printer as one job. Every line stands at x = 0 (its blanks make the left
// margin) and line n at n line heights from the top, a line height being
// 10 points in the device's pixels.
class TPrtImg {
public:
    // The preview's page image of a paper, in pixels.
    static QSize PageSize(TPaperType paper);
    // The report's font: fixed pitch, 10 points; the system's fixed font
    // where the report's own is missing.
    static QFont ReportFont();
    static int LineHeight(int dotsPerInch);

    // Renders every page into a page image of the paper's size.
    TPrtImg(const std::vector<TReportPage>& report, TPaperType paper);
    // False when an image could not be made or drawn.
    bool Ok() const { return FOk; }
    int PageCount() const { return static_cast<int>(FPages.size()); }
    const QImage& PageBitmap(int index) const { return FPages.at(index); }
    TPaperType Paper() const { return FPaper; }

    // Renders the report to `printer` as one job. False when the job could
    // not be started or a page failed; the job is then aborted, not left
    // half sent.
    static bool Print(const std::vector<TReportPage>& report, QPrinter& printer);

private:
    static void DrawPage(QPainter& painter, const TReportPage& page, int lineHeight);

    std::vector<QImage> FPages;
    TPaperType FPaper;
    bool FOk = true;
};
