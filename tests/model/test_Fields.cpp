#include "model/U_Fields.h"

#include <gtest/gtest.h>

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

// Both inhibit the transmitter, but they are different values.
TEST(FieldList, TxInhibitMinusOneAndOneDiffer)
{
    TChannels a, b;
    a[0].TxInhibit = -1;
    b[0].TxInhibit = 1;
    EXPECT_FALSE(a.Equals(b));
}
