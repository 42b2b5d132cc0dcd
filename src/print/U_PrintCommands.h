#pragma once
#include "print/U_Printers.h"
#include "print/U_Report.h"

#include <QDate>
#include <QString>

#include <vector>

class QWidget;
class THost;

// The File menu's printing commands, as the main window runs them: it owns
// one of these for the whole run, so the printer chosen in the print setup
// stays chosen until the program ends.
class TPrintCommands {
public:
    static constexpr const char* PrintError = "Print error";

    TPrintCommands(QWidget* owner, THost& host);

    TCurrentPrinter& Printer() { return FPrinter; }

    // The report of the open document: `fileName` is its path, or "<none>".
    static std::vector<TReportPage> Report(const TRKmem& doc, const QString& fileName, const QDate& today);

    // File > Print Setup: true when confirmed.
    bool Setup();
    // File > Print: the print setup, then the job on OK.
    void Print(const std::vector<TReportPage>& report);
    // Prints without asking; "Print error" when the job fails.
    bool PrintNow(const std::vector<TReportPage>& report);
    // File > Print Preview, with the owner's caption and size.
    void Preview(const std::vector<TReportPage>& report);
    // File > Export Report as PDF: a file chooser in `folder`, then the PDF
    // written beside its target and renamed over it. True when written.
    bool ExportPdf(const std::vector<TReportPage>& report, const QString& folder);

private:
    QWidget* FOwner;
    THost& FHost;
    TCurrentPrinter FPrinter;
};
