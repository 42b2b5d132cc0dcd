#pragma once
// Documents for the report tests: every field the report prints set to a
// value of the test's choosing (zero where it is not named), so the
// expected pages follow from the report's tables alone.
#include "model/dc_RKmem.h"

#include <string>

namespace ReportDocs {

inline TDecimal Mhz(int64_t whole, int64_t fraction = 0, int digits = 0)
{
    return TDecimal {1, whole, fraction, digits};
}

// Common parameters everywhere different from a new document's.
inline TRKmem Rich()
{
    TRKmem d;
    d.ProductType = "HPD-4400";
    d.SerialNo = "RK000042";
    d.MarketCode = 'U';
    d.Band = 1;
    d.IfFreq = 2140;
    d.TxRefFreq = 1280;
    d.RxRefFreq = 5;
    d.FirstLocalOffset = 1;
    d.ChStep = 1;
    d.Duplexer = 1;
    d.TxPowerType = 1;
    d.Monitor = 1;
    d.MicMoni = 1;
    d.HighTempAlert = 1;
    d.BaseTot = 7;
    d.BaseGuardTime = 3;
    d.RepeatGuardTime = 255;
    d.RepeatHangOnTime = 1;
    d.CwIdEnable = 1;
    d.CwIdDotTime = 60;
    d.CwIdInterval = 65535;
    d.CwIdToneFreq = 1000;
    d.CwIdText = "DE RK54";
    d.DtmfTx = 1;
    d.DtmfRx = 1;
    d.FiveToneTx = 1;
    d.MarkTime = 70;
    d.FiveToneRepeatCode = 0xAB;
    d.AniOn = 2;
    d.AniDelay = 60;
    d.AniHeaderCode = 0x0C;
    d.AniCode = "12AF";
    d.EniDelay = 4;
    d.EniTxTime = 3;
    d.EniRxTime = 4;
    d.EniDeadTime = 9;
    d.EniHeaderCode = 0xFF;

    d.FiveToneTable = {0, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2800, 810, 970, 885, 65535, 5};
    d.RxAdjFreq = {TDecimal {}, Mhz(136), Mhz(150, 5, 2), Mhz(1000, 25, 2)};
    d.RxTuning = {0x00, 0x0F, 0x7F, 0xFF};
    d.SqlThreshold = {1, 2, 3, 4};
    d.NsqThreshold = 0x1A;
    d.SqlHysteresis = 5;
    d.SqlNarrowOffset = 255;
    d.TxAdjFreq = {Mhz(400), Mhz(420, 5, 1), Mhz(440, 4, 2), Mhz(470, 96, 2)};
    d.TxPowerHigh = {0xA0, 0xA1, 0xA2, 0xA3};
    d.TxPowerLow = {0x30, 0x31, 0x32, 0x33};
    d.MaxDevWide = {0x40, 0x41, 0x42, 0x43};
    d.MaxDevNarrow = {0x50, 0x51, 0x52, 0x53};
    d.CtcssDevWide = {0x60, 0x61, 0x62, 0x63};
    d.CtcssDevNarrow = {0x70, 0x71, 0x72, 0x73};
    d.DcsDevWide = {0x80, 0x81, 0x82, 0x83};
    d.DcsDevNarrow = {0x90, 0x91, 0x92, 0x93};
    d.TxPowerDisplayHigh = 50;
    d.TxPowerDisplayLow = 9;
    d.TxPowerAdjust = {0, 1, -1, -128, 127, 16, -16, 10, 0, 0, 0, 0, 0, 0, 0, -2};

    d.AlphaTagNumber.fill(-1);
    d.AlphaTagNumber[0] = 1;
    d.AlphaTagText[0] = "REPEATER";
    d.AlphaTagText[12] = "NONUM";
    d.AlphaTagNumber[24] = 9999;
    d.AlphaTagNumber[5] = 42;
    d.AlphaTagText[5] = "AB";

    TChannel& c1 = d.Channels[0];
    c1.Used = 1;
    c1.RxFreq = Mhz(146, 25, 4);
    c1.TxFreq = Mhz(146, 60625, 5);
    c1.DecoderCode[0] = 13;
    c1.Bandwidth = 1;
    c1.ClockShift = 1;
    c1.NsqMode = 1;
    c1.NsqLevel = 7;
    c1.CourtesyBlip = 1;
    c1.DcsType = 1;
    c1.DcsDecodeType = 1;
    c1.MultiTone = 1;
    c1.CwIdAniEni = 2;
    c1.ActionMode = 1;
    c1.EncoderIsDcs[0] = 1;
    c1.BaseTotOn = 1;
    c1.TxLockout = 2;
    c1.TxPower = 1;
    c1.TotMute = 1;
    c1.TotBeep = 1;
    c1.RptGuardTimeOn = 1;

    TChannel& c2 = d.Channels[1];
    c2.Used = 1;
    c2.TxInhibit = -1;
    c2.RxFreq = Mhz(450, 6, 3);
    c2.TxFreq = Mhz(455);
    c2.DecoderIsDcs[0] = 1;
    c2.DecoderCode[0] = 103;
    c2.NsqLevel = 99;
    c2.ReverseBurst = 1;
    c2.CwIdAniEni = 1;

    TChannel& c5 = d.Channels[4];
    c5.Used = 1;
    c5.RxFreq = Mhz(161);
    c5.TxFreq = Mhz(161);
    c5.DecoderCode[0] = 47;
    c5.EncoderCode[0] = 40;
    c5.NsqMode = 1;
    c5.NsqLevel = 255;

    TChannel& c16 = d.Channels[15];
    c16.Used = 1;
    c16.RxFreq = Mhz(470, 99375, 5);
    c16.TxFreq = Mhz(470, 993, 3);
    c16.DecoderIsDcs[0] = 1;
    c16.Bandwidth = 1;
    c16.ActionMode = 1;
    c16.TxLockout = 1;
    c16.TxPower = 1;

    // A channel that is not used prints nothing, whatever it holds.
    d.Channels[2].RxFreq = Mhz(151);
    d.Channels[2].TxInhibit = 1;
    return d;
}

// The rich document with none of its channels used.
inline TRKmem NoChannel()
{
    TRKmem d = Rich();
    for (TChannel& ch : d.Channels)
        ch.Used = 0;
    return d;
}

} // namespace ReportDocs
