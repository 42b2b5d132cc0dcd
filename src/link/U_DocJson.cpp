#include "link/U_DocJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString Text(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

template <std::size_t N>
QJsonArray Array(const std::array<int, N>& values)
{
    QJsonArray a;
    for (int v : values)
        a.append(v);
    return a;
}

template <std::size_t N>
QJsonArray Array(const std::array<TDecimal, N>& values)
{
    QJsonArray a;
    for (const TDecimal& v : values)
        a.append(Text(v.Text()));
    return a;
}

template <std::size_t N>
QJsonArray Array(const std::array<std::string, N>& values)
{
    QJsonArray a;
    for (const std::string& v : values)
        a.append(Text(v));
    return a;
}

QJsonObject ChannelJson(const TChannel& ch)
{
    QJsonObject o;
#define INT_FIELD(name) o.insert(QStringLiteral(#name), ch.name)
#define ARRAY_FIELD(name) o.insert(QStringLiteral(#name), Array(ch.name))
    INT_FIELD(Used); INT_FIELD(Number); INT_FIELD(TxInhibit); INT_FIELD(Bandwidth);
    INT_FIELD(ClockShift); INT_FIELD(NsqMode); INT_FIELD(CourtesyBlip); INT_FIELD(ReverseBurst);
    INT_FIELD(DcsType); INT_FIELD(DcsDecodeType); INT_FIELD(BaseTotOn); INT_FIELD(BaseGuardOn);
    INT_FIELD(TxLockout); INT_FIELD(TxNearRx); INT_FIELD(TxAboveRx); INT_FIELD(TxPower);
    INT_FIELD(MultiTone); INT_FIELD(RptTotUse); INT_FIELD(RptHangTimeOn); INT_FIELD(RptGuardTimeOn);
    INT_FIELD(TotBeep); INT_FIELD(ActionMode); INT_FIELD(TotMute); INT_FIELD(CwIdAniEni);
    INT_FIELD(NsqLevel);
    ARRAY_FIELD(ToneEntryUsed); ARRAY_FIELD(DecoderIsDcs); ARRAY_FIELD(DecoderCode);
    ARRAY_FIELD(EncoderIsDcs); ARRAY_FIELD(EncoderCode);
    o.insert(QStringLiteral("RxFreq"), Text(ch.RxFreq.Text()));
    o.insert(QStringLiteral("TxFreq"), Text(ch.TxFreq.Text()));
#undef INT_FIELD
#undef ARRAY_FIELD
    return o;
}

QString ValueText(const QJsonValue& v)
{
    if (v.isString())
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    return QString::number(v.toInt());
}

void Flatten(const QString& name, const QJsonValue& v, QList<QPair<QString, QString>>& out)
{
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            Flatten(QStringLiteral("%1[%2]").arg(name).arg(i), a[i], out);
    } else {
        out.append({name, ValueText(v)});
    }
}

} // namespace

QJsonObject DocumentJson(const TRKmem& doc)
{
    QJsonObject o;
#define FIELD(name) o.insert(QStringLiteral(#name), doc.name)
#define TEXT_FIELD(name) o.insert(QStringLiteral(#name), Text(doc.name))
#define ARRAY_FIELD(name) o.insert(QStringLiteral(#name), Array(doc.name))
    TEXT_FIELD(ProductType); TEXT_FIELD(SerialNo); TEXT_FIELD(FwVersion); FIELD(MarketCode);
    FIELD(NsqThreshold); FIELD(SqlNarrowOffset); FIELD(SqlHysteresis);
    FIELD(TxPowerDisplayHigh); FIELD(TxPowerDisplayLow);
    ARRAY_FIELD(RxAdjFreq); ARRAY_FIELD(SqlThreshold); ARRAY_FIELD(RxTuning); ARRAY_FIELD(TxAdjFreq);
    ARRAY_FIELD(TxPowerHigh); ARRAY_FIELD(TxPowerLow); ARRAY_FIELD(MaxDevWide);
    ARRAY_FIELD(MaxDevNarrow); ARRAY_FIELD(CtcssDevWide); ARRAY_FIELD(CtcssDevNarrow);
    ARRAY_FIELD(DcsDevWide); ARRAY_FIELD(DcsDevNarrow);
    FIELD(Band); FIELD(Duplexer); FIELD(Beep); FIELD(Monitor); FIELD(FirstLocalOffset);
    FIELD(SecondLocalOffset); FIELD(Accessory); FIELD(MicMoni); FIELD(FanAlert);
    FIELD(HighTempAlert); FIELD(TxPowerType); FIELD(DcTxPowerLow); FIELD(HangOnAudio);
    FIELD(ChStep); FIELD(IfFreq); FIELD(RxRefFreq); FIELD(TxRefFreq); FIELD(BaseTot);
    FIELD(BaseGuardTime); FIELD(RepeatTot); FIELD(RepeatHangOnTime); FIELD(RepeatGuardTime);
    FIELD(CwIdEnable); FIELD(DtmfTx); FIELD(FiveToneTx); FIELD(AniOn); FIELD(DtmfRx);
    FIELD(FiveToneRx); ARRAY_FIELD(TxPowerAdjust); TEXT_FIELD(DataFileName); FIELD(CwIdDotTime);
    FIELD(CwIdInterval); FIELD(CwIdToneFreq); TEXT_FIELD(CwIdText); ARRAY_FIELD(FiveToneTable);
    FIELD(MarkTime); FIELD(SpaceTime); FIELD(AniDelay); FIELD(EniDelay); FIELD(EniTxTime);
    FIELD(EniRxTime); FIELD(EniDeadTime); FIELD(EniRepeatCount); FIELD(FiveToneRepeatCode);
    FIELD(AniHeaderCode); TEXT_FIELD(AniCode); TEXT_FIELD(EniCode); FIELD(EniHeaderCode);
#undef FIELD
#undef TEXT_FIELD
#undef ARRAY_FIELD
    QJsonArray channels;
    for (const TChannel& ch : doc.Channels)
        channels.append(ChannelJson(ch));
    o.insert(QStringLiteral("Channels"), channels);
    o.insert(QStringLiteral("AlphaTagNumber"), Array(doc.AlphaTagNumber));
    o.insert(QStringLiteral("AlphaTagText"), Array(doc.AlphaTagText));
    return o;
}

QList<QPair<QString, QString>> DocumentFieldList(const TRKmem& doc)
{
    const QJsonObject o = DocumentJson(doc);
    QList<QPair<QString, QString>> out;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString key = it.key();
        if (key == QLatin1String("Channels")) {
            const QJsonArray channels = it.value().toArray();
            for (qsizetype i = 0; i < channels.size(); ++i) {
                const QJsonObject ch = channels[i].toObject();
                for (auto f = ch.begin(); f != ch.end(); ++f)
                    Flatten(QStringLiteral("Channel %1 %2").arg(i + 1).arg(f.key()), f.value(), out);
            }
        } else if (key.startsWith(QLatin1String("AlphaTag"))) {
            const QString part = key.mid(8);  // "Number" or "Text"
            const QJsonArray tags = it.value().toArray();
            for (qsizetype i = 0; i < tags.size(); ++i)
                out.append({QStringLiteral("AlphaTag %1 %2").arg(i + 1).arg(part), ValueText(tags[i])});
        } else {
            Flatten(key, it.value(), out);
        }
    }
    return out;
}
