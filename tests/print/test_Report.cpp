// The report's text against the rich document's report as printed, stored
// in data/rich-report.txt with its blanks and form feeds; the other rows'
// reports are that one with their title or their missing channels edited in.
#include "support/ReportDocs.h"
#include "print/U_Report.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TLines StoredReport()
{
    std::ifstream file(RICH_REPORT, std::ios::binary);
    return Lines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

// A channel's line in either table: the channel number right-aligned in
// four places after the page margin and the table's indent.
std::string ChannelLine(int channel)
{
    std::string number = std::to_string(channel);
    return std::string(7 + 4 - number.size(), ' ') + number + "  ";
}

const TReportTitle Site {"6/1/2014", "site.R54"};
const TReportTitle None {"12/31/1999", "<none>"};

struct TReportCase {
    const char* Name;
    TRKmem (*Document)();
    TReportTitle Title;
    std::vector<int> Unused;  // channels of the rich document left out
    bool NoTables = false;    // the channel page without its tables
};

void PrintTo(const TReportCase& c, std::ostream* os) { *os << c.Name; }

TLines Expected(const TReportCase& c)
{
    TLines expected;
    for (std::string line : StoredReport()) {
        if (c.Title.Date != Site.Date && line.find(Site.Date + "  Page") != std::string::npos)
            line.replace(line.find(Site.Date), Site.Date.size(), c.Title.Date);
        if (c.Title.FileName != Site.FileName && line == "       File Name:  " + Site.FileName)
            line = "       File Name:  " + c.Title.FileName;
        const auto unused = [&line](int channel) { return line.rfind(ChannelLine(channel), 0) == 0; };
        if (std::any_of(c.Unused.begin(), c.Unused.end(), unused))
            continue;
        expected.push_back(line);
        if (c.NoTables && line.find("CHANNEL DATA") != std::string::npos)
            break;
    }
    return expected;
}

class ReportText : public testing::TestWithParam<TReportCase> {};

TEST_P(ReportText, IsTheStoredReportLineByLine)
{
    const TReportCase& c = GetParam();
    const std::vector<TReportPage> pages = BuildReport(c.Document(), c.Title);
    ASSERT_EQ(pages.size(), 3u);
    const TLines actual = Lines(::ReportText(pages));
    const TLines expected = Expected(c);
    ASSERT_GT(expected.size(), 10u) << RICH_REPORT;
    for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i)
        EXPECT_EQ(i < actual.size() ? actual[i] : "(no line)", i < expected.size() ? expected[i] : "(no line)")
            << "line " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ReportText,
    testing::Values(TReportCase {"Rich", ReportDocs::Rich, Site, {}},
                    TReportCase {"Untitled", ReportDocs::Rich, None, {}},
                    TReportCase {"OnlyChannel1", ReportDocs::OneChannel, None, {2, 5, 16}},
                    TReportCase {"NoChannelUsed", ReportDocs::NoChannel, Site, {}, true}),
    [](const testing::TestParamInfo<TReportCase>& info) { return std::string(info.param.Name); });

TEST(ReportDate, IsMonthDayYearWithoutLeadingZeros)
{
    EXPECT_EQ(ReportDate(2026, 1, 5), "1/5/2026");
    EXPECT_EQ(ReportDate(1999, 12, 31), "12/31/1999");
}

} // namespace
