// rk54 report as a script runs it: the text on standard output, the PDF
// read back with poppler's tools.
#include "support/PdfTools.h"
#include "support/ReportDocs.h"
#include "support/Rk54Tool.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/U_FileAccess.h"
#include "print/U_Report.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The rich report document as a data file, and the document read back from
// it (the file keeps frequencies to 1 kHz and pads the texts).
struct TReportFile {
    TTempFolder Dir;
    std::string Path = Dir / "site.R54";
    TRKmem Read;
    TReportFile()
    {
        TRKmem doc = ReportDocs::Rich();
        TMap54 image;
        TScriptedPrompt prompt;
        WriteDataFile(Path, doc, image, prompt);
        TMap54::SetDefaults(Read);
        ReadDataFile(Path, Read, image, prompt);
    }
};

// Blanks collapsed, ends trimmed: text extraction does not keep the
// printer's exact spacing, only the words and their order.
QString Words(const QString& line) { return line.simplified(); }

} // namespace

TEST(Rk54Report, PrintsThePagesAsText)
{
    TReportFile file;
    const TRk54Run run = RunRk54({"report", "--date", "06/01/2014", Q(file.Path)});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    const std::string expected = ReportText(BuildReport(file.Read, {"6/1/2014", "site.R54"}));
    EXPECT_EQ(run.Out.toStdString(), expected);

    const TRk54Run named = RunRk54({"report", "--name", "Hill top.R54", Q(file.Path)});
    ASSERT_EQ(named.Status, 0);
    EXPECT_TRUE(named.Out.contains("\n       File Name:  Hill top.R54\n"));
    const QDate today = QDate::currentDate();
    const QByteArray dated = QString("%1/%2/%3  Page 1\n").arg(today.month()).arg(today.day()).arg(today.year()).toUtf8();
    EXPECT_TRUE(named.Out.startsWith(QByteArray(70, ' ') + dated)) << named.Out.left(100).toStdString();
}

TEST(Rk54Report, WritesAPdfWhoseTextIsTheReport)
{
    if (!PdfTools::Installed())
        GTEST_SKIP() << PdfTools::Missing;
    TReportFile file;
    const QString pdf = Q(file.Dir / "site.pdf");
    const TRk54Run run = RunRk54({"report", "--date", "6/1/2014", "--pdf", pdf, Q(file.Path)});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());

    EXPECT_EQ(PdfTools::Pages(pdf), 3);
    EXPECT_EQ(PdfTools::PaperName(pdf), "A4");

    const auto pages = BuildReport(file.Read, {"6/1/2014", "site.R54"});
    for (int p = 0; p < 3; ++p) {
        QStringList extracted;
        for (const QString& line : PdfTools::Text(pdf, p + 1).split('\n'))
            if (!Words(line).isEmpty())
                extracted << Words(line);
        QStringList expected;
        for (const TReportLine& line : pages[p].Lines)
            expected << Words(Q(line.Text));
        EXPECT_EQ(extracted, expected) << "page " << p + 1;
    }
}

TEST(Rk54Report, FailuresHaveTheirStatus)
{
    TReportFile file;
    struct TCase {
        const char* Name;
        QStringList Args;
        int Status;
    };
    const QString missingFolder = Q(file.Dir / "no/such/folder/out.pdf");
    const TCase cases[] = {
        {"unreadable file", {"report", Q(file.Dir / "missing.R54")}, 3},
        {"pdf in a missing folder", {"report", "--pdf", missingFolder, Q(file.Path)}, 3},
        {"day 30 of February", {"report", "--date", "2/30/2014", Q(file.Path)}, 64},
        {"date in another form", {"report", "--date", "2014-06-01", Q(file.Path)}, 64},
        {"no file", {"report"}, 64},
    };
    for (const TCase& c : cases) {
        const TRk54Run run = RunRk54(c.Args);
        EXPECT_EQ(run.Status, c.Status) << c.Name;
        EXPECT_TRUE(run.Out.isEmpty()) << c.Name;
    }
    EXPECT_EQ(RunRk54({"report", "--pdf", missingFolder, Q(file.Path)}).Err,
              "File write error  File Name = " + missingFolder + "\n");
}
