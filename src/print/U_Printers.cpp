#include "print/U_Printers.h"

#include "ui/base/U_Host.h"

#include <QPrinter>

TCurrentPrinter::TCurrentPrinter(const THost& host) : FHost(host)
{
    const QStringList names = Names();
    if (names.isEmpty())
        return;
    FName = names.contains(host.DefaultPrinterName()) ? host.DefaultPrinterName() : names.first();
    const QPageSize paper = host.PrinterPaper(FName);
    if (paper.isValid())
        FPaper = paper.id();
}

QStringList TCurrentPrinter::Names() const
{
    return FHost.PrinterNames();
}

QString TCurrentPrinter::Name() const
{
    // A printer removed since it was chosen is no longer current.
    const QStringList names = Names();
    if (names.contains(FName))
        return FName;
    return names.isEmpty() ? QString() : names.first();
}

void TCurrentPrinter::Choose(const QString& name, TPaperType paper)
{
    FName = name;
    FPaper = paper == PaperLetter ? QPageSize::Letter : QPageSize::A4;
    FOrientation = QPageLayout::Portrait;
}

TPaperType TCurrentPrinter::ReportPaper()
{
    if (!Installed() || (FPaper != QPageSize::A4 && FPaper != QPageSize::Letter))
        return PaperA4;
    FOrientation = QPageLayout::Portrait;
    return FPaper == QPageSize::Letter ? PaperLetter : PaperA4;
}

bool TCurrentPrinter::SetUp(QPrinter& printer) const
{
    printer.setPrinterName(Name());
    printer.setPageSize(QPageSize(FPaper));
    printer.setPageOrientation(FOrientation);
    return printer.printerName() == Name();
}
