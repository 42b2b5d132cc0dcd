#include "model/U_Fields.h"

#include <algorithm>
#include <utility>

namespace {

// The number of members of an aggregate: the most values a brace list of
// it takes, each value standing in for any type.
struct TAnyValue {
    template <class T>
    operator T() const;  // never called: only asked whether it would convert
};

template <class T, class... Given>
constexpr std::size_t MemberCount()
{
    if constexpr (requires { T {Given {}..., TAnyValue {}}; })
        return MemberCount<T, Given..., TAnyValue>();
    else
        return sizeof...(Given);
}

static_assert(MemberCount<TChannel>() == std::tuple_size_v<std::remove_const_t<decltype(ChannelFields)>>,
              "every member of TChannel must be listed in ChannelFields");
static_assert(MemberCount<TRKmem>() == std::tuple_size_v<std::remove_const_t<decltype(DocumentFields)>>,
              "every member of TRKmem must be listed in DocumentFields");

std::string TextOf(int value) { return std::to_string(value); }
const std::string& TextOf(const std::string& value) { return value; }
std::string TextOf(const TDecimal& value) { return value.Text(); }

using TGroup = std::pair<std::string_view, std::vector<TFieldValue>>;

template <class Fields, class Owner>
void Flatten(const Fields& fields, const Owner& owner, const std::string& prefix, std::vector<TFieldValue>& out);

template <class Field, class Owner>
void FlattenField(const Field& field, const Owner& owner, const std::string& prefix, std::vector<TFieldValue>& out)
{
    const auto& value = field.Of(owner);
    const std::string name = prefix + std::string(field.Name);
    if constexpr (Field::Kind == TFieldKind::Channels) {  // NOLINT(bugprone-branch-clone): differ per type
        for (int i = 0; i < value.Count(); ++i)
            Flatten(ChannelFields, value[i], prefix + "Channel " + std::to_string(i + 1) + " ", out);
    } else if constexpr (Field::IsArray) {
        for (int i = 0; i < Field::Count; ++i) {
            std::string entry = field.Record.empty()
                ? name + "[" + std::to_string(i) + "]"
                : prefix + std::string(field.Record) + " " + std::to_string(i + 1) + " " + std::string(field.Part);
            out.push_back({std::move(entry), Field::Kind, TextOf(value[size_t(i)])});
        }
    } else {
        out.push_back({name, Field::Kind, TextOf(value)});
    }
}

template <class Fields, class Owner>
void Flatten(const Fields& fields, const Owner& owner, const std::string& prefix, std::vector<TFieldValue>& out)
{
    std::vector<TGroup> groups;
    ForEachField(fields, [&](const auto& field) {
        groups.emplace_back(field.Name, std::vector<TFieldValue> {});
        FlattenField(field, owner, prefix, groups.back().second);
    });
    std::stable_sort(groups.begin(), groups.end(),
                     [](const TGroup& a, const TGroup& b) { return a.first < b.first; });
    for (TGroup& group : groups)
        std::move(group.second.begin(), group.second.end(), std::back_inserter(out));
}

} // namespace

bool TChannel::Equals(const TChannel& other) const
{
    bool same = true;
    ForEachField(ChannelFields, [&](const auto& field) { same = same && field.Of(*this) == field.Of(other); });
    return same;
}

std::vector<TFieldValue> FieldValues(const TRKmem& doc)
{
    std::vector<TFieldValue> out;
    Flatten(DocumentFields, doc, std::string(), out);
    return out;
}

std::vector<TFieldDifference> FieldDifferences(const TRKmem& a, const TRKmem& b)
{
    const std::vector<TFieldValue> valuesA = FieldValues(a);
    const std::vector<TFieldValue> valuesB = FieldValues(b);
    std::vector<TFieldDifference> out;
    for (size_t i = 0; i < valuesA.size(); ++i)
        if (valuesA[i].Text != valuesB[i].Text)
            out.push_back({valuesA[i].Name, valuesA[i].Kind, valuesA[i].Text, valuesB[i].Text});
    return out;
}
