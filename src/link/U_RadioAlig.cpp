#include "link/U_RadioAlig.h"

#include "link/U_Clone.h"
#include "model/U_Format.h"
#include "link/U_LinkIo.h"
#include "model/U_Values.h"
#include "link/dc_RsDrv.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

using namespace LinkIo;

namespace {

constexpr uint8_t CommandByte = 0xB1;
constexpr uint8_t StatusReplyTag = 0x41;
// The alignment waits belong to a modal window that offers no Cancel.
constexpr bool NotCancellable = false;
// The alignment link waits for the echo of its requests and gives the
// repeater a moment before it takes the reply.
constexpr Clone::THandshake StartAlignment {Clone::STX, 500, NotCancellable};
constexpr Clone::THandshake EndAlignment {Clone::ETX, 200, NotCancellable};

using Image54::TAlignPointAddresses;

void AppendReceiverBlock(QByteArray& frame, const TMap& image, const TAlignPointAddresses& a)
{
    for (int address : {a.RxAdjFreq, a.RxAdjFreq + 1, a.SqlThreshold, Image54::SqlNarrowOffset,
                        Image54::SqlHysteresis, a.RxTuning})
        frame.append(char(image[address]));
}

void AppendTransmitterBlock(QByteArray& frame, const TMap& image, const TAlignSettings& s,
                            const TAlignPointAddresses& a)
{
    const bool narrow = s.Bandwidth == 1;
    frame.append(char(image[a.TxAdjFreq]));
    frame.append(char(image[a.TxAdjFreq + 1]));
    frame.append(char(image[s.PowerType == 1 ? a.TxPowerLow : a.TxPowerHigh]));
    frame.append(char(image[narrow ? a.MaxDevNarrow : a.MaxDevWide]));
    uint8_t code = 0;
    uint8_t deviation = 0;
    if (s.EncoderType == 1) {
        code = uint8_t(Align::CtcssCode(s.CtcssCode));
        deviation = image[narrow ? a.CtcssDevNarrow : a.CtcssDevWide];
    } else if (s.EncoderType == 2) {
        code = uint8_t(Align::DcsCode(s.DcsCode));
        deviation = image[narrow ? a.DcsDevNarrow : a.DcsDevWide];
    }
    frame.append(char(code));
    frame.append(char(deviation));
}

void ShowProblem(TLinkView& view)
{
    view.Error(AlignMessages::Problem);
}

} // namespace

const char* const AlignPointNames[AlignPointCount] = {"Lowest", "Low", "High", "Highest"};

double TAlignField::Get(const TRKmem& doc, int point) const
{
    if (PointLevel)
        return (doc.*PointLevel)[size_t(point)];
    if (CommonLevel)
        return doc.*CommonLevel;
    if (Frequency)
        return (doc.*Frequency)[size_t(point)].ToFloat();
    return 0;
}

void TAlignField::Set(TRKmem& doc, int point, double value) const
{
    if (PointLevel) {
        (doc.*PointLevel)[size_t(point)] = int(std::lround(value));
    } else if (CommonLevel) {
        doc.*CommonLevel = int(std::lround(value));
    } else if (Frequency) {
        // 150.5 read back from the image and 150.5 typed are the same value;
        // keeping the stored one keeps its digits exactly.
        TDecimal& stored = (doc.*Frequency)[size_t(point)];
        if (stored.ToFloat() != value)
            stored.SetFromFloat(value);
    }
}

const std::vector<TAlignField>& AlignFields()
{
    using K = TAlignValue;
    using D = TRKmem;
    using S = TAlignSettings;
    static const std::vector<TAlignField> fields = {
        {.Control = "edtRxFreq", .Label = "Rx &Frequency (MHz)", .Kind = K::Frequency, .Frequency = &D::RxAdjFreq},
        {.Control = "edtSTLvl", .Label = "&SQL Threshold Level", .Kind = K::Level, .PointLevel = &D::SqlThreshold},
        {.Control = "edtAWN", .Label = "S&QL W/N Adjust", .Kind = K::Level, .CommonLevel = &D::SqlNarrowOffset},
        {.Control = "edtAHyst", .Label = "SQ&L Hysteresis", .Kind = K::Level, .CommonLevel = &D::SqlHysteresis},
        {.Control = "edtRTLevel", .Label = "R&X Tuning Level", .Kind = K::Level, .PointLevel = &D::RxTuning},
        {.Control = "edtTxFreq", .Label = "&Tx Frequency (MHz)", .Kind = K::Frequency, .Frequency = &D::TxAdjFreq},
        {.Control = "cmbTPType", .Label = "Tx &Power Type", .Kind = K::Choice, .Choice = &S::PowerType, .Items = {"High", "Low"}},
        {.Control = "edtTPLHigh", .Label = "Tx Power Level &High", .Kind = K::Level, .PointLevel = &D::TxPowerHigh},
        {.Control = "edtTPLLow", .Label = "Tx Pow&er Level Low", .Kind = K::Level, .PointLevel = &D::TxPowerLow},
        {.Control = "edtMDWide", .Label = "M&ax Deviation Wide", .Kind = K::Level, .PointLevel = &D::MaxDevWide},
        {.Control = "edtMDNarr", .Label = "Max &Deviation Narrow", .Kind = K::Level, .PointLevel = &D::MaxDevNarrow},
        {.Control = "cmbEnc", .Label = "&CTCSS/DCS Encoder", .Kind = K::Choice, .Choice = &S::EncoderType, .Items = {"off", "CTCSS", "DCS"}},
        {.Control = "edtCTCSS", .Label = "CTCSS (T&one)", .Kind = K::Tone, .Text = &S::CtcssCode},
        {.Control = "edtDCS", .Label = "DCS (C&ode)", .Kind = K::Code, .Text = &S::DcsCode},
        {.Control = "edtCDWide", .Label = "CTCSS Deviation &Wide", .Kind = K::Level, .PointLevel = &D::CtcssDevWide},
        {.Control = "edtCDNarr", .Label = "CTCSS Deviation &Narrow", .Kind = K::Level, .PointLevel = &D::CtcssDevNarrow},
        {.Control = "edtDDWide", .Label = "DCS Deviation &Wide", .Kind = K::Level, .PointLevel = &D::DcsDevWide},
        {.Control = "edtDDNarr", .Label = "DCS Deviation &Narrow", .Kind = K::Level, .PointLevel = &D::DcsDevNarrow},
        {.Control = "cmbWN", .Label = "Wide/Na&rrow", .Kind = K::Choice, .Choice = &S::Bandwidth, .Items = {"Wide", "Narrow"}},
        {.Control = "cmbMode", .Label = "&Mode Select", .Kind = K::Choice, .Choice = &S::Mode, .Items = {"Base", "Repeater"}},
    };
    return fields;
}

namespace Align {

std::string FieldName(const TAlignField& field)
{
    std::string name;
    int depth = 0;
    for (const char* c = field.Label; *c; ++c) {
        depth += *c == '(' ? 1 : *c == ')' ? -1 : 0;
        if (depth == 0 && std::isalnum(static_cast<unsigned char>(*c)))
            name += *c;
    }
    return name;
}

const TAlignField* FieldNamed(const std::string& name)
{
    for (const TAlignField& field : AlignFields())
        if (Lowered(FieldName(field)) == Lowered(name))
            return &field;
    return nullptr;
}

int LevelOf(const std::string& text)
{
    if (!IsNonNegativeInteger(text))
        return 0;
    return int(std::min<long long>(std::strtoll(text.c_str(), nullptr, 10), 255));
}

double FrequencyOf(const std::string& text)
{
    // Blanks count only around the number.
    if (text.find_first_not_of("0123456789., ") != std::string::npos)
        return 0;
    TDecimal value;
    value.SetFromFloat(std::clamp(TextToFloat(text), 0.0, 999.9));
    // To tenths, half away from zero, on the digits as written.
    int64_t tenths = value.TruncatedTo(1);
    if (value.FracDigits >= 2) {
        int64_t scale = 1;
        for (int k = 2; k < value.FracDigits; ++k)
            scale *= 10;
        if ((value.FracPart / scale) % 10 >= 5)
            ++tenths;
    }
    return double(tenths) / 10;
}

const QByteArray StatusRequest("\xB2\x00\x02\x51\x05", 5);

int CtcssCode(const std::string& text)
{
    const std::string wanted = Trimmed(text);
    for (int code = 1; code < CtcssCount; ++code)
        if (CtcssText(code) == wanted)
            return code;
    return 0;
}

int DcsCode(const std::string& text)
{
    const std::string wanted = Trimmed(text);
    for (int position = 0; position < DcsCount; ++position)
        if (DcsText(position) == wanted)
            return 128 + position;
    return 0;
}

QByteArray CommandFrame(const TMap& image, const TAlignSettings& settings, int kind)
{
    static constexpr uint8_t Tags[] = {'R', 'r', 'T', 't', 'T', 't'};
    const bool on = kind == akRxOn || kind == akTxOn || kind == akTrxOn;
    const int point = std::clamp(settings.Point, 0, AlignPointCount - 1);
    const TAlignPointAddresses addresses = Image54::AlignPointAddresses(point);
    QByteArray frame;
    frame.append(char(CommandByte));
    frame.append(char(0x00));
    frame.append(char(kind == akTrxOn ? 0x10 : on ? 0x0A : 0x02));
    frame.append(char(Tags[std::clamp(kind, 0, 5)]));
    if (on) {
        frame.append(settings.Mode == 1 ? 'R' : 'B');
        if (kind != akRxOn)
            AppendTransmitterBlock(frame, image, settings, addresses);
        if (kind != akTxOn)
            AppendReceiverBlock(frame, image, addresses);
        frame.append(settings.Bandwidth == 1 ? 'N' : 'W');
    }
    frame.append(char(TMap::Checksum(reinterpret_cast<const uint8_t*>(frame.constData()), int(frame.size()))));
    return frame;
}

} // namespace Align

std::unique_ptr<TCRsDrv> AlignOpen(const QString& port, TLinkView& view, TOutcome& outcome)
{
    outcome = TOutcome::Error;
    std::unique_ptr<TCRsDrv> driver = OpenRadioPort(port, view);
    if (!driver)
        return nullptr;
    outcome = Clone::Handshake(*driver, StartAlignment, view);
    if (outcome != TOutcome::Done) {
        ShowProblem(view);
        driver->Close();
        return nullptr;
    }
    return driver;
}

std::unique_ptr<TCRsDrv> AlignOpen(const QString& port, TLinkView& view)
{
    TOutcome outcome = TOutcome::Done;
    return AlignOpen(port, view, outcome);
}

TOutcome AlignCommandOutcome(TCRsDrv& driver, const TRKmem& doc, TMap54& image, const TAlignSettings& settings,
                        int kind, TLinkView& view)
{
    image.Encode(doc);
    const QByteArray frame = Align::CommandFrame(image, settings, kind);
    Send(driver, frame);
    PauseMs(100, view);
    TReceiveBuffer rx;
    // A time-out on the echo is not the end: the acknowledgement may still come.
    TOutcome outcome = Receive(driver, rx, int(frame.size()), view, NotCancellable);
    if (outcome != TOutcome::Error)
        outcome = Receive(driver, rx, 2, view, NotCancellable);
    if (outcome != TOutcome::Done) {
        ShowProblem(view);
        return outcome;
    }
    // A refusal is the repeater's answer, not a broken link: no message.
    return rx[0] == Clone::ACK && rx[1] == Clone::ETB ? TOutcome::Done : TOutcome::BadReply;
}

bool AlignCommand(TCRsDrv& driver, const TRKmem& doc, TMap54& image, const TAlignSettings& settings, int kind,
                  TLinkView& view)
{
    return AlignCommandOutcome(driver, doc, image, settings, kind, view) == TOutcome::Done;
}

TOutcome AlignStatusOutcome(TCRsDrv& driver, std::string& vr, std::string& nsq, std::string& rssi, TLinkView& view)
{
    TOutcome outcome = Send(driver, Align::StatusRequest) ? TOutcome::Done : TOutcome::Error;
    TReceiveBuffer rx;
    if (outcome == TOutcome::Done) {
        Receive(driver, rx, int(Align::StatusRequest.size()), view, NotCancellable);
        rx.fill(0);
        PauseMs(100, view);
        outcome = Receive(driver, rx, 8, view, NotCancellable);
    }
    if (outcome == TOutcome::Done && (TMap::Checksum(rx.data(), rx[2] + 2) != rx[7] || rx[3] != StatusReplyTag)) {
        SendAndSwallowEcho(driver, Clone::NAK, view, NotCancellable);
        outcome = TOutcome::Checksum;
    }
    if (outcome != TOutcome::Done) {
        ShowProblem(view);
        return outcome;
    }
    vr = Lowered(HexText(rx[4], 2));
    nsq = Lowered(HexText(rx[5], 2));
    rssi = Lowered(HexText(rx[6], 2));
    view.Information(AlignMessages::StatusDone);
    return TOutcome::Done;
}

bool AlignStatus(TCRsDrv& driver, std::string& vr, std::string& nsq, std::string& rssi, TLinkView& view)
{
    return AlignStatusOutcome(driver, vr, nsq, rssi, view) == TOutcome::Done;
}

void AlignClose(TCRsDrv& driver, TLinkView& view)
{
    SendByte(driver, Clone::EndOfFirstSection);
    TReceiveBuffer rx;
    if (Receive(driver, rx, 1, view, NotCancellable) == TOutcome::Done
        && Clone::Handshake(driver, EndAlignment, view) == TOutcome::Done
        && SendByte(driver, Clone::EndOfTransfer)) {
        PauseMs(500, view);
        Receive(driver, rx, 1, view, NotCancellable);
    }
    PauseMs(view.RestartPauseMs(), view);
    driver.Close();
}
