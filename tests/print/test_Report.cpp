// The report's pages against pages written out line by line from the
// report's layout tables.
#include "support/ReportDocs.h"
#include "print/U_Report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using TLines = std::vector<TReportLine>;

const char* const Stars = "***********************************";
const std::string Dashes = "----: --------    ";
const char* const Points = "                         Lowest  Low     High    Highest";

TLines RichPage1()
{
    return {
        {0, 65, "6/1/2014  Page 1"},
        {2, 10, "********** Orvane HPD-4400 Series **********"},
        {4, 2, "File Name:  site.R54"},
        {8, 0, std::string(Stars) + "    COMMON DATA    " + Stars},
        {10, 2, "Marketing"},
        {11, 4, "Serial Number:          RK000042"},
        {12, 4, "Marketing:              USA"},
        {15, 2, "Hardware"},
        {16, 4, "Band Select:            UHF"},
        {17, 4, "I. F:                   21.40 MHz"},
        {18, 4, "TX Reference Frequency: 12.80 MHz"},
        {19, 4, "RX Reference Frequency: 0.05 MHz"},
        {20, 4, "1st Local Offset:       Upper"},
        {21, 4, "2nd Local Offset:       Lower"},
        {22, 4, "CH Step:                2.5/6.25kHz"},
        {23, 4, "Duplexer:               Installed"},
        {24, 4, "TX Power Type:          50 W"},
        {26, 2, "Radio Status"},
        {27, 4, "Beep:                   Disable"},
        {28, 4, "Monitor:                Enable"},
        {29, 4, "Accessory:              High/Low Pwr"},
        {30, 4, "MIC Moni:               Enable"},
        {31, 4, "Fan Alert:              Disable"},
        {32, 4, "High Temp Alert:        Enable"},
        {33, 4, "High Temp Tx Power Low: Enable"},
        {34, 4, "DC TX Power Low:        Disable"},
        {35, 4, "Hang On Audio:          Noize"},
        {37, 2, "Timer"},
        {38, 4, "Base TOT:               3.5  Min"},
        {39, 4, "Base Guard Time:        6  Sec"},
        {40, 4, "Repeat TOT:             0.0  Min"},
        {41, 4, "Repeat Guard Time:      510  Sec"},
        {42, 4, "Repeat Hang On Time:    0.5  Sec"},
        {44, 2, "CW ID"},
        {45, 4, "CW ID:                  Enable"},
        {46, 4, "Dot Time:               60  msec"},
        {47, 4, "Interval Timer:         65535  sec"},
        {48, 4, "Tone Freq:              1000  Hz"},
        {49, 4, "CW ID:                  DE RK54"},
        {51, 2, "Signaling Type"},
        {52, 4, "DTMF:                   RX/TX Enable"},
        {53, 4, "5-Tone:                 TX Enable"},
        {54, 4, "Mark Time:              70  ms"},
        {55, 4, "Space Time:             0  ms"},
        {56, 4, "5-Tone Repeat Code:     AB"},
        {58, 2, "ANI Parameters"},
        {59, 4, "ANI On:                 TX On"},
        {60, 4, "ANI Delay Time:         300  ms"},
        {61, 4, "ANI Header Code:        C"},
        {62, 4, "ANI Code:               12AF "},
        {64, 2, "ENI Parameters"},
        {65, 4, "ENI Delay Time:         200  ms"},
        {66, 4, "ENI TX Time:            3  sec"},
        {67, 4, "ENI RX Time:            4  sec"},
        {68, 4, "ENI Dead Time:          9  sec"},
        {69, 4, "ENI Repeat Count:       0 "},
        {70, 4, "ENI Header Code:        FF"},
        {71, 4, std::string("ENI Code:               ") + " "},
    };
}

TLines RichPage2()
{
    TLines page {
        {0, 65, "6/1/2014  Page 2"},
        {4, 2, "5-Tone Table"},
        {5, 4, "0:    0  Hz       8: 2000  Hz"},
        {6, 4, "1: 1060  Hz       9: 2200  Hz"},
        {7, 4, "2: 1160  Hz       A: 2800  Hz"},
        {8, 4, "3: 1270  Hz       B:  810  Hz"},
        {9, 4, "4: 1400  Hz       C:  970  Hz"},
        {10, 4, "5: 1530  Hz       D:  885  Hz"},
        {11, 4, "6: 1670  Hz       E: 65535  Hz"},
        {12, 4, "7: 1830  Hz       F:    5  Hz"},
        {15, 2, "Rx Adjustment"},
        {16, 4, Points},
        {17, 4, "Rx Frequency (MHz):        0.0   136.0   150.1   1000.3"},
        {18, 4, "Tuning:                  00      0F      7F      FF   "},
        {19, 4, "SQL Threshold Level:     01      02      03      04   "},
        {21, 4, "NSQ Threshold Level:    1A "},
        {22, 4, "SQL Hysteresis:         05 "},
        {23, 4, "SQL Narrow Offset:      FF "},
        {26, 2, "Tx Adjustment"},
        {27, 4, Points},
        {28, 4, "Tx Frequency (MHz):      400.0   420.5   440.0   471.0"},
        {29, 4, "Tx Power High:           A0      A1      A2      A3   "},
        {30, 4, "Tx Power Low:            30      31      32      33   "},
        {31, 4, "Max Deviation Wide:      40      41      42      43   "},
        {32, 4, "Max Deviation Narrow:    50      51      52      53   "},
        {33, 4, "CTCSS Deviation Wide:    60      61      62      63   "},
        {34, 4, "CTCSS Deviation Narrow:  70      71      72      73   "},
        {35, 4, "DCSS Deviation Wide:     80      81      82      83   "},
        {36, 4, "DCSS Deviation Narrow:   90      91      92      93   "},
        {38, 4, "Tx Power Display High:  32 "},
        {39, 4, "Tx Power Display Low:   09 "},
        {41, 2, "Tx Power Adjust"},
        {42, 4, "Channel 01: 00     Channel 09: 00"},
        {43, 4, "Channel 02: 01     Channel 10: 00"},
        {44, 4, "Channel 03: FF     Channel 11: 00"},
        {45, 4, "Channel 04: 80     Channel 12: 00"},
        {46, 4, "Channel 05: 7F     Channel 13: 00"},
        {47, 4, "Channel 06: 10     Channel 14: 00"},
        {48, 4, "Channel 07: F0     Channel 15: 00"},
        {49, 4, "Channel 08: 0A     Channel 16: FE"},
        {51, 2, "Alpha Tag"},
        {52, 4, "0001: REPEATER    ----: NONUM       9999: --------    " + Dashes},
    };
    for (int j = 1; j < 12; ++j)
        page.push_back({52 + j, 4, j == 5 ? "0042: AB          " + Dashes + Dashes + Dashes
                                          : Dashes + Dashes + Dashes + Dashes});
    return page;
}

const std::array<const char*, 4> Data1 {
    "CH DATA 1",
    "                  Decoders     Clk      NSQ   Court Rev DCS DDec  Multi  CWID  ",
    "  Ch  Rx Freq.   CTCSS DCS W/N Sft   Mode Lv  Blip  Bst Typ Type  Tone  ANI/ENI",
    "  --  ---.-----  ---.- ---  -  ---  ----- ---  ---  ---  -  -----  ---  -------",
};
const std::array<const char*, 4> Data2 {
    "CH DATA 2",
    "      Action               Encoders Base Base        TX  TOT   RptTOT   RPT  RPT",
    "  Ch   Mode    Tx Freq.   CTCSS DCS TOT  Guard LOUT  Pwr Mute Use Beep  HT   GT",
    "  --  -------  ---.-----  ---.- ---  ---  ---  ----  --  ---  ---  ---  ---  ---",
};
const char* const Ch1Data1 = "   1  146.00250  100.0 off  W  yes  User    7  on   off  B  Auto   yes  CW-ID  ";
const char* const Ch1Data2 = "   1  Duplex   146.60625  off   023  yes  no   BTLO  Lo  on   no   yes  no   yes";

// A channel page: its header, then each block (a title, the heading and
// the given channel lines) from line 7, four empty lines between blocks.
TLines ChannelPage(const std::string& date, const std::vector<const char*>& data1,
                   const std::vector<const char*>& data2)
{
    TLines page {{0, 65, date + "  Page 3"}, {4, 0, std::string(Stars) + "    CHANNEL DATA   " + Stars}};
    int line = 7;
    for (const auto& [heading, rows] : {std::pair {Data1, data1}, std::pair {Data2, data2}}) {
        if (rows.empty())
            continue;
        for (const char* text : heading)
            page.push_back({line++, 2, text});
        for (const char* text : rows)
            page.push_back({line++, 2, text});
        line += 4;
    }
    return page;
}

TLines Untitled(TLines page)
{
    page[0].Text = "12/31/1999  Page 1";
    page[2].Text = "File Name:  <none>";
    return page;
}

struct TPageCase {
    const char* Name;
    TRKmem (*Document)();
    TReportTitle Title;
    int Page;
    TLines Expected;
};

void PrintTo(const TPageCase& c, std::ostream* os) { *os << c.Name; }

const TReportTitle Site {"6/1/2014", "site.R54"};
const TReportTitle None {"12/31/1999", "<none>"};

class ReportPages : public testing::TestWithParam<TPageCase> {};

TEST_P(ReportPages, AreTheTablesLineByLine)
{
    const TPageCase& c = GetParam();
    const std::vector<TReportPage> pages = BuildReport(c.Document(), c.Title);
    ASSERT_EQ(pages.size(), 3u);
    const TLines& actual = pages[c.Page].Lines;
    for (std::size_t i = 0; i < std::max(actual.size(), c.Expected.size()); ++i) {
        const TReportLine none {-1, 0, "(no line)"};
        const TReportLine& a = i < actual.size() ? actual[i] : none;
        const TReportLine& e = i < c.Expected.size() ? c.Expected[i] : none;
        EXPECT_EQ(a, e) << "entry " << i << "\n  actual:   " << a.Line << "/" << a.Indent << " [" << a.Text
                        << "]\n  expected: " << e.Line << "/" << e.Indent << " [" << e.Text << "]";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ReportPages,
    testing::Values(
        TPageCase {"RichCommonData", ReportDocs::Rich, Site, 0, RichPage1()},
        TPageCase {"RichTables", ReportDocs::Rich, Site, 1, RichPage2()},
        TPageCase {"RichChannels", ReportDocs::Rich, Site, 2,
                   ChannelPage("6/1/2014",
                               {Ch1Data1,
                                "   2  450.00625  off   754  N  no   Prpgm ---  off  on   A  Fixed  no   ANI/ENI",
                                "   5  161.00000  254.1 off  N  no   User  255  off  off  A  Fixed  no   off    ",
                                "  16  470.99375  off   023  W  no   Prpgm ---  off  off  A  Fixed  no   off    "},
                               {Ch1Data2,
                                "   2  Simplex     Tx Inh  ---   ---  ---  ---  ----  --  ---  ---  ---  ---  ---",
                                "   5  Simplex  161.00000  159.8 off  no   no    off  Hi  off  no   no   no   no ",
                                "  16  Duplex   470.99250  off   off  no   no   BCLO  Lo  off  no   no   no   no "})},
        TPageCase {"UntitledTitleBlock", ReportDocs::Rich, None, 0, Untitled(RichPage1())},
        TPageCase {"OnlyChannel1", ReportDocs::OneChannel, None, 2,
                   ChannelPage("12/31/1999", {Ch1Data1}, {Ch1Data2})},
        TPageCase {"NoChannelUsed", ReportDocs::NoChannel, Site, 2, ChannelPage("6/1/2014", {}, {})}),
    [](const testing::TestParamInfo<TPageCase>& info) { return std::string(info.param.Name); });

TEST(ReportText, IsEachPageFromLineZeroWithFormFeedsBetween)
{
    const std::string text = ReportText(BuildReport(ReportDocs::NoChannel(), Site));
    const std::string page3 = std::string(70, ' ') + "6/1/2014  Page 3\n\n\n\n     " + Stars
        + "    CHANNEL DATA   " + Stars + "\n";
    ASSERT_GE(text.size(), page3.size());
    EXPECT_EQ(text.substr(text.size() - page3.size() - 2), "\f\n" + page3);
    const std::string top = std::string(70, ' ') + "6/1/2014  Page 1\n\n" + std::string(15, ' ')
        + "********** Orvane HPD-4400 Series **********\n\n       File Name:  site.R54\n\n\n\n     " + Stars;
    EXPECT_EQ(text.substr(0, top.size()), top);
    // Page 2 starts after page 1's 72 lines; trailing blanks survive.
    const std::size_t page2 = text.find("\f\n");
    EXPECT_EQ(std::count(text.begin(), text.begin() + page2, '\n'), 72);
    EXPECT_NE(text.find("\n         ENI Code:                \n\f\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
}

TEST(ReportDate, IsMonthDayYearWithoutLeadingZeros)
{
    EXPECT_EQ(ReportDate(2026, 1, 5), "1/5/2026");
    EXPECT_EQ(ReportDate(1999, 12, 31), "12/31/1999");
}

} // namespace
