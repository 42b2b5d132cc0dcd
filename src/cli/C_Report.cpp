#include "cli/C_Report.h"

#include "cli/U_Cli.h"
#include "files/U_FileAccess.h"
#include "print/U_ReportPdf.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// "M/D/YYYY" (leading zeros allowed) as a valid date, else an invalid one.
QDate ParseDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch m = form.match(text);
    return m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt()) : QDate();
}

} // namespace

int RunReport(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption date("date", "The date printed at the top of each page (default: today).", "M/D/YYYY");
    const QCommandLineOption name("name", "The name printed in the \"File Name:\" line (default: FILE's name).",
                                  "NAME");
    const QCommandLineOption pdf("pdf", "Write the pages to OUT as a PDF (A4) instead of printing text.", "OUT");
    parser.addOptions({date, name, pdf});
    const int status = ParseArguments(parser, args,
        "Prints the report that File > Print prints for FILE: its three pages as plain text, each\n"
        "line as the printer draws it (five blanks, the indent, the text), empty lines where a\n"
        "page has none, and a line holding only a form feed between pages. With --pdf the same\n"
        "pages go to OUT as a PDF and nothing is printed.",
        {"FILE"}, 1, 1);
    if (status >= 0)
        return status;

    QDate day = QDate::currentDate();
    if (parser.isSet(date)) {
        day = ParseDate(parser.value(date));
        if (!day.isValid()) {
            std::fprintf(stderr, "rk54 report: --date must be a date written M/D/YYYY\n");
            return ExitUsage;
        }
    }
    const QString file = parser.positionalArguments().first();
    TConsolePrompt prompt;
    TRKmem doc;
    TMap54 image;
    if (!ReadDataFile(Local(file), doc, image, prompt))
        return ExitFileError;

    const TReportTitle title {ReportDate(day.year(), day.month(), day.day()),
                              Local(parser.isSet(name) ? parser.value(name) : QFileInfo(file).fileName())};
    const std::vector<TReportPage> pages = BuildReport(doc, title);
    if (!parser.isSet(pdf)) {
        const std::string text = ReportText(pages);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return ExitOk;
    }
    const std::string out = Local(parser.value(pdf));
    if (!WriteFileAtomically(out, ReportPdf(pages, PaperA4))) {
        prompt.Error(FileMessages::WriteError(out));
        return ExitFileError;
    }
    return ExitOk;
}
