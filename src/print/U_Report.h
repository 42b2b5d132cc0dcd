#pragma once
#include "model/dc_RKmem.h"

#include <string>
#include <vector>

// The printed report of a document: three pages of fixed-pitch text. The
// lines are built here once; the printer, the preview, the PDF and
// `rk54 report` all draw these same lines.

struct TReportLine {
    int Line = 0;    // counted from 0 at the top of the page
    int Indent = 0;  // blanks before the text
    std::string Text;
    bool operator==(const TReportLine&) const = default;
};

struct TReportPage {
    std::vector<TReportLine> Lines;  // in line order
    // The page's last line number, or -1 on an empty page.
    int LastLine() const { return Lines.empty() ? -1 : Lines.back().Line; }
};

// Every line starts after this many blanks, whatever its indent.
constexpr int ReportLeftBlanks = 5;

// What the report prints beside the document.
struct TReportTitle {
    std::string Date;      // "M/D/YYYY"
    std::string FileName;  // bare name of the open file, "<none>" when untitled
};

std::string ReportDate(int year, int month, int day);  // "M/D/YYYY"

// The whole report. The title block stands on its first page only; each
// call is a report of its own, so a report never inherits another's state.
std::vector<TReportPage> BuildReport(const TRKmem& doc, const TReportTitle& title);

// A line as the printer draws it: the left blanks, the indent, the text.
std::string DrawnLine(const TReportLine& line);

// The report as plain text: every page from line 0 to its last line, a
// line number without text as an empty line, pages separated by a line
// holding only a form feed. Trailing blanks are kept.
std::string ReportText(const std::vector<TReportPage>& pages);
