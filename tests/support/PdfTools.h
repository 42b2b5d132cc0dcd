#pragma once
// Reading PDF files back with poppler's tools (package poppler-utils).
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

namespace PdfTools {

// The tool's path, or empty when it is not installed.
inline QString Tool(const char* name)
{
    return QStandardPaths::findExecutable(name);
}

inline bool Installed()
{
    return !Tool("pdfinfo").isEmpty() && !Tool("pdftotext").isEmpty();
}

constexpr const char* Missing = "poppler-utils (pdfinfo, pdftotext) is not installed; ./test.sh installs it";

inline QString Output(const char* tool, const QStringList& args)
{
    QProcess p;
    p.start(Tool(tool), args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int Pages(const QString& pdf)
{
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(Output("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline QString PaperName(const QString& pdf)
{
    const auto m = QRegularExpression("Page size:.*\\((\\w+)\\)").match(Output("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1) : QString();
}

// The text of one page (from 1), or of all pages, laid out as printed.
inline QString Text(const QString& pdf, int page = 0)
{
    QStringList args {"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return Output("pdftotext", args << pdf << "-");
}

} // namespace PdfTools
