#pragma once
#include "print/U_ReportPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

class QPrinter;
class THost;

// The program's current printer: which of the machine's printers the
// report goes to, on which paper and in which orientation. It starts as
// the system's default printer with the paper that printer is set up with;
// the print setup dialog changes it.
class TCurrentPrinter {
public:
    explicit TCurrentPrinter(const THost& host);

    QStringList Names() const;
    bool Installed() const { return !Names().isEmpty(); }
    QString Name() const;  // empty when no printer is installed
    QPageSize::PageSizeId Paper() const { return FPaper; }
    QPageLayout::Orientation Orientation() const { return FOrientation; }

    // Makes `name` the current printer with `paper`, upright.
    void Choose(const QString& name, TPaperType paper);
    // The paper of a report: a printer on A4 or Letter is turned upright
    // and gives its paper; any other paper is left as it is and the report
    // takes A4, as it does without a printer.
    TPaperType ReportPaper();
    // Points a print job's device at the current printer and its settings.
    // False when the device did not take the printer: it would quietly
    // print on the system's default printer instead.
    bool SetUp(QPrinter& printer) const;

private:
    const THost& FHost;
    QString FName;
    QPageSize::PageSizeId FPaper = QPageSize::A4;
    QPageLayout::Orientation FOrientation = QPageLayout::Portrait;
};
