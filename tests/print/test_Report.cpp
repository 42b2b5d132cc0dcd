// The report's text against the rich document's report as printed, stored
// in data/rich-report.txt with its blanks and form feeds; without a used
// channel the channel page stops after its heading.
#include "support/ReportDocs.h"
#include "print/U_Report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using TLines = std::vector<std::string>;

TLines Lines(const std::string& text)
{
    TLines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The stored report, up to the line holding `stop` when one is given.
TLines StoredReport(const std::string& stop = {})
{
    std::ifstream file(RICH_REPORT, std::ios::binary);
    TLines lines;
    for (const std::string& line : Lines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()})) {
        lines.push_back(line);
        if (!stop.empty() && line.find(stop) != std::string::npos)
            break;
    }
    return lines;
}

struct TReportCase {
    const char* Name;
    TRKmem (*Document)();
    std::string Stop;
};

void PrintTo(const TReportCase& c, std::ostream* os) { *os << c.Name; }

class ReportText : public testing::TestWithParam<TReportCase> {};

TEST_P(ReportText, IsTheStoredReportLineByLine)
{
    const TReportCase& c = GetParam();
    const std::vector<TReportPage> pages = BuildReport(c.Document(), {"6/1/2014", "site.R54"});
    ASSERT_EQ(pages.size(), 3u);
    const TLines actual = Lines(::ReportText(pages));
    const TLines expected = StoredReport(c.Stop);
    ASSERT_GT(expected.size(), 10u) << RICH_REPORT;
    for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i)
        EXPECT_EQ(i < actual.size() ? actual[i] : "(no line)", i < expected.size() ? expected[i] : "(no line)")
            << "line " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Documents, ReportText,
                         testing::Values(TReportCase {"Rich", ReportDocs::Rich, {}},
                                         TReportCase {"NoChannelUsed", ReportDocs::NoChannel, "CHANNEL DATA"}),
                         [](const testing::TestParamInfo<TReportCase>& info) { return std::string(info.param.Name); });

TEST(ReportDate, IsMonthDayYearWithoutLeadingZeros)
{
    EXPECT_EQ(ReportDate(2026, 1, 5), "1/5/2026");
    EXPECT_EQ(ReportDate(1999, 12, 31), "12/31/1999");
}

} // namespace
