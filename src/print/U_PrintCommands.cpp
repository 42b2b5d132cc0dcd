#include "print/U_PrintCommands.h"

#include "files/U_FileAccess.h"
#include "print/D_Preview.h"
#include "print/D_PrintSetup.h"
#include "print/dc_PrtImg.h"
#include "ui/base/U_Host.h"
#include "ui/base/U_QtText.h"

#include <QFileInfo>
#include <QPrinter>

TPrintCommands::TPrintCommands(QWidget* owner, THost& host) : FOwner(owner), FHost(host), FPrinter(host) {}

std::vector<TReportPage> TPrintCommands::Report(const TRKmem& doc, const QString& fileName, const QDate& today)
{
    const QString name = fileName == "<none>" ? fileName : QFileInfo(fileName).fileName();
    return BuildReport(doc, {ReportDate(today.year(), today.month(), today.day()), S(name)});
}

bool TPrintCommands::Setup()
{
    TfrmPrintSetup dialog(FPrinter, FOwner);
    return FHost.Exec(dialog) == QDialog::Accepted;
}

void TPrintCommands::Print(const std::vector<TReportPage>& report)
{
    if (Setup())
        PrintNow(report);
}

bool TPrintCommands::PrintNow(const std::vector<TReportPage>& report)
{
    QPrinter printer(QPrinter::HighResolution);
    FPrinter.ReportPaper();  // turns A4 and Letter upright
    printer.setDocName("RK54Win report");
    if (FPrinter.SetUp(printer) && TPrtImg::Print(report, printer))
        return true;
    FHost.Prompt().Error(PrintError);
    return false;
}

void TPrintCommands::Preview(const std::vector<TReportPage>& report)
{
    auto pages = std::make_unique<TPrtImg>(report, FPrinter.ReportPaper());
    if (!pages->Ok()) {
        FHost.Prompt().Error(PrintError);
        return;
    }
    TfrmPreview preview(std::move(pages), [this, &report] { Print(report); }, FOwner);
    if (FOwner) {
        preview.setWindowTitle(FOwner->windowTitle());
        preview.resize(FOwner->size());
        preview.move(FOwner->geometry().center() - preview.rect().center());
    }
    FHost.Exec(preview);
}

bool TPrintCommands::ExportPdf(const std::vector<TReportPage>& report, const QString& folder)
{
    const QString path = FHost.SaveFileName(FOwner, folder, "PDF Files (*.pdf)", "pdf");
    if (path.isEmpty())
        return false;
    if (WriteFileAtomically(S(path), ReportPdf(report, FPrinter.ReportPaper())))
        return true;
    FHost.Prompt().Error(FileMessages::WriteError(S(path)));
    return false;
}
