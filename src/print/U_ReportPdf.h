#pragma once
#include "print/U_Report.h"

#include <string>
#include <vector>

// Paper of the report's pages, numbered as the print setup's choice is kept.
enum TPaperType { PaperA4 = 0, PaperLetter = 1 };

// The report as a PDF file's bytes: one page per report page, the lines as
// real text in the PDF's own fixed-pitch Courier at 10 points, 10 points
// apart, laid out as the printer lays them out. Needs no fonts or display
// on the machine that writes it; any PDF reader can search and copy it.
std::string ReportPdf(const std::vector<TReportPage>& pages, TPaperType paper);
