// Stored data files and what rk54 prints for them, byte for byte. The files
// and their outputs come from tests/corpus/make-corpus.sh; each output was
// read against the image layout when it was made.
#include "support/Rk54Tool.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct TCorpusRow {
    const char* Name;
    const char* Args;      // the command and its stored files, by name
    const char* Expected;  // the stored output; "" when nothing may be printed
    int Status;
};

void PrintTo(const TCorpusRow& row, std::ostream* os) { *os << row.Name; }

QString Stored(const char* name)
{
    return QStringLiteral(RK54_CORPUS "/") + name;
}

QByteArray Contents(const char* name)
{
    QFile file(Stored(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// The first line where the outputs part, which names the field that differs.
std::string FirstDifference(const QByteArray& got, const QByteArray& expected)
{
    const QList<QByteArray> a = got.split('\n'), b = expected.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
        if (a.value(i) != b.value(i))
            return "line " + std::to_string(i + 1) + ": \"" + a.value(i).toStdString() + "\", stored \""
                   + b.value(i).toStdString() + "\"";
    return "no line differs";
}

class Corpus : public testing::TestWithParam<TCorpusRow> {};

TEST_P(Corpus, PrintsTheStoredOutput)
{
    const TCorpusRow& row = GetParam();
    QStringList args = QString(row.Args).split(' ');
    for (QString& arg : args)
        if (arg.endsWith(".R54"))
            arg = Stored(qPrintable(arg));
    const TRk54Run run = RunRk54(args);
    EXPECT_EQ(run.Status, row.Status) << run.Err.toStdString();
    const QByteArray expected = *row.Expected ? Contents(row.Expected) : QByteArray();
    EXPECT_TRUE(run.Out == expected) << FirstDifference(run.Out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Corpus,
    testing::Values(TCorpusRow{"NewVhf", "decode new-vhf.R54", "new-vhf.json", 0},
                    TCorpusRow{"NewUhf", "decode new-uhf.R54", "new-uhf.json", 0},
                    TCorpusRow{"NewVhfRawDump", "dump new-vhf.R54", "new-vhf.dump", 0},
                    TCorpusRow{"NewUhfRawDump", "dump new-uhf.R54", "new-uhf.dump", 0},
                    TCorpusRow{"BlankRepeaterImage", "decode blank-image.R54", "blank-image.json", 0},
                    TCorpusRow{"FullyUsed", "decode full.R54", "full.json", 0},
                    TCorpusRow{"FullyUsedSummary", "info full.R54", "full.info", 0},
                    TCorpusRow{"FullyUsedRawDump", "dump full.R54", "full.dump", 0},
                    TCorpusRow{"WideChannelsUsaMarket", "decode wide-usa.R54", "wide-usa.json", 0},
                    TCorpusRow{"WideChannelsSummary", "info wide-usa.R54", "wide-usa.info", 0},
                    TCorpusRow{"FullyUsedChannelsAsCsv", "export-csv full.R54", "full.csv", 0},
                    TCorpusRow{"DiffNewAgainstFullyUsed", "diff new-vhf.R54 full.R54", "new-vhf-full.diff", 1},
                    TCorpusRow{"DiffNewAgainstBoundaries", "diff new-vhf.R54 boundaries.R54",
                               "new-vhf-boundaries.diff", 1},
                    TCorpusRow{"DiffOfTheSameDocument", "diff new-vhf.R54 long-file.R54", "", 0},
                    TCorpusRow{"OddTextsOtherMarket", "decode odd-texts.R54", "odd-texts.json", 0},
                    TCorpusRow{"BoundaryValues", "decode boundaries.R54", "boundaries.json", 0},
                    TCorpusRow{"OddBytes", "decode odd-bytes.R54", "odd-bytes.json", 0},
                    TCorpusRow{"LongerSpoiltFileReadsItsFirstImage", "decode long-file.R54", "new-vhf.json", 0},
                    TCorpusRow{"ShortFile", "decode short-file.R54", "", 3},
                    TCorpusRow{"ChannelFrequencyWithoutDigits", "decode undecodable.R54", "", 3}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
