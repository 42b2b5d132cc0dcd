#include "cli/U_DocJson.h"
#include "model/U_Fields.h"

#include <QJsonArray>

namespace {

QJsonValue Json(int value)
{
    return value;
}

QJsonValue Json(const std::string& value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QJsonValue Json(const TDecimal& value)
{
    return Json(value.Text());
}

template <class Fields, class Owner>
QJsonObject Object(const Fields& fields, const Owner& owner);

QJsonValue Json(const TChannel& channel)
{
    return Object(ChannelFields, channel);
}

template <class Entries>
QJsonValue Json(const Entries& entries)
{
    QJsonArray a;
    for (const auto& entry : entries)
        a.append(Json(entry));
    return a;
}

template <class Fields, class Owner>
QJsonObject Object(const Fields& fields, const Owner& owner)
{
    QJsonObject o;
    ForEachField(fields, [&](const auto& field) {
        o.insert(QLatin1String(field.Name.data(), qsizetype(field.Name.size())), Json(field.Of(owner)));
    });
    return o;
}

} // namespace

QJsonObject DocumentJson(const TRKmem& doc)
{
    return Object(DocumentFields, doc);
}
