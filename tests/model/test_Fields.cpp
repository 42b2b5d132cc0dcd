#include "model/U_Fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

void Change(int& value) { value += 1; }
void Change(std::string& value) { value += "x"; }
void Change(TDecimal& value) { value.IntPart += 1; }

// Calls `each(copy, what)` once for every single value of the document (of
// two channels),
// `copy` being the document with just that value changed.
template <class Fields, class OwnerOf, class Each>
void ChangeEachValue(const Fields& fields, const TRKmem& doc, OwnerOf ownerOf, const std::string& prefix, Each& each)
{
    ForEachField(fields, [&](const auto& field) {
        using Field = std::decay_t<decltype(field)>;
        const std::string name = prefix + std::string(field.Name);
        if constexpr (Field::Kind == TFieldKind::Channels) {
            // The first and the last channel: the walk is the same for all.
            for (int c : {0, ChannelCount - 1})
                ChangeEachValue(
                    ChannelFields, doc, [c](TRKmem& d) -> TChannel& { return d.Channels[c]; },
                    "channel " + std::to_string(c) + " ", each);
        } else if constexpr (Field::IsArray) {
            for (int i = 0; i < Field::Count; ++i) {
                TRKmem copy = doc;
                Change(field.Of(ownerOf(copy))[size_t(i)]);
                each(copy, name + "[" + std::to_string(i) + "]");
            }
        } else {
            TRKmem copy = doc;
            Change(field.Of(ownerOf(copy)));
            each(copy, name);
        }
    });
}

} // namespace

// A field the walk missed would leave a change unseen by the channel
// comparison (and so by the document's Modified flag) and by `rk54 diff`.
TEST(FieldList, EveryValueChangedAloneIsOneDifference)
{
    TRKmem doc;
    doc.Channels[2].RxFreq.SetFromFloat(146.5);
    std::set<std::string> seen;
    int values = 0, firstChannel = 0;
    auto check = [&](const TRKmem& copy, const std::string& what) {
        SCOPED_TRACE(what);
        ++values;
        firstChannel += what.rfind("channel 0 ", 0) == 0;
        const std::vector<TFieldDifference> differences = FieldDifferences(doc, copy);
        ASSERT_EQ(differences.size(), 1u);
        EXPECT_TRUE(seen.insert(differences[0].Name).second) << differences[0].Name << " named twice";
        const bool channel = what.rfind("channel ", 0) == 0;
        EXPECT_EQ(doc.Channels.Equals(copy.Channels), !channel);
        if (channel) {
            const int c = std::stoi(what.substr(8));
            EXPECT_FALSE(copy.Channels[c].Equals(doc.Channels[c]));
        }
    };
    ChangeEachValue(DocumentFields, doc, [](TRKmem& d) -> TRKmem& { return d; }, "", check);
    EXPECT_EQ(size_t(values + (ChannelCount - 2) * firstChannel), FieldValues(doc).size());
}

TEST(FieldList, FlatNamesAndValueTexts)
{
    struct Row {
        const char* Case;
        void (*Set)(TRKmem&);
        const char* Name;
        TFieldKind Kind;
        const char* Text;
    };
    const Row rows[] = {
        {"number", [](TRKmem& d) { d.IfFreq = 2145; }, "IfFreq", TFieldKind::Number, "2145"},
        {"negative number", [](TRKmem& d) { d.AlphaTagNumber[0] = -1; }, "AlphaTag 1 Number",
         TFieldKind::Number, "-1"},
        {"text", [](TRKmem& d) { d.SerialNo = "1234567"; }, "SerialNo", TFieldKind::Text, "1234567"},
        {"array entry", [](TRKmem& d) { d.RxTuning[2] = 7; }, "RxTuning[2]", TFieldKind::Number, "7"},
        {"frequency entry", [](TRKmem& d) { d.TxAdjFreq[3].SetFromFloat(470.5); }, "TxAdjFreq[3]",
         TFieldKind::Frequency, "470.5"},
        {"channel field", [](TRKmem& d) { d.Channels[2].RxFreq.SetFromFloat(146.00625); }, "Channel 3 RxFreq",
         TFieldKind::Frequency, "146.00625"},
        {"channel array entry", [](TRKmem& d) { d.Channels[15].DecoderCode[0] = 12; },
         "Channel 16 DecoderCode[0]", TFieldKind::Number, "12"},
        {"alpha tag text", [](TRKmem& d) { d.AlphaTagText[4] = "HILL"; }, "AlphaTag 5 Text", TFieldKind::Text,
         "HILL"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        TRKmem changed;
        row.Set(changed);
        const std::vector<TFieldDifference> differences = FieldDifferences(TRKmem(), changed);
        ASSERT_EQ(differences.size(), 1u);
        EXPECT_EQ(differences[0].Name, row.Name);
        EXPECT_EQ(differences[0].Kind, row.Kind);
        EXPECT_EQ(differences[0].B, row.Text);
    }
}

// `rk54 diff` lists fields in the byte order of their names, channel by
// channel, entries in index order, as `rk54 decode` orders its keys.
TEST(FieldList, ValuesComeInNameOrder)
{
    const std::vector<TFieldValue> values = FieldValues(TRKmem());
    const auto at = [&](const std::string& name) {
        const auto it = std::find_if(values.begin(), values.end(),
                                     [&](const TFieldValue& v) { return v.Name == name; });
        EXPECT_NE(it, values.end()) << name;
        return it - values.begin();
    };
    EXPECT_EQ(values.front().Name, "Accessory");
    EXPECT_LT(at("AlphaTag 48 Number"), at("AlphaTag 1 Text"));
    EXPECT_LT(at("ChStep"), at("Channel 1 ActionMode"));
    EXPECT_LT(at("Channel 1 TxPower"), at("Channel 2 ActionMode"));
    EXPECT_LT(at("Channel 16 Used"), at("CtcssDevNarrow[0]"));
    EXPECT_LT(at("RxTuning[3]"), at("SecondLocalOffset"));
    EXPECT_EQ(values.back().Name, "TxRefFreq");
}

// Both inhibit the transmitter, but they are different values.
TEST(FieldList, TxInhibitMinusOneAndOneDiffer)
{
    TChannels a, b;
    a[0].TxInhibit = -1;
    b[0].TxInhibit = 1;
    EXPECT_FALSE(a.Equals(b));
}
