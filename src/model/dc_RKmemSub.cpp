#include "model/dc_RKmemSub.h"

bool TChannel::Equals(const TChannel& o) const
{
    return Used == o.Used && Number == o.Number && TxInhibit == o.TxInhibit
        && Bandwidth == o.Bandwidth && ClockShift == o.ClockShift && NsqMode == o.NsqMode
        && CourtesyBlip == o.CourtesyBlip && ReverseBurst == o.ReverseBurst
        && DcsType == o.DcsType && DcsDecodeType == o.DcsDecodeType
        && BaseTotOn == o.BaseTotOn && BaseGuardOn == o.BaseGuardOn
        && TxLockout == o.TxLockout && TxNearRx == o.TxNearRx && TxAboveRx == o.TxAboveRx
        && TxPower == o.TxPower && MultiTone == o.MultiTone && RptTotUse == o.RptTotUse
        && RptHangTimeOn == o.RptHangTimeOn && RptGuardTimeOn == o.RptGuardTimeOn
        && TotBeep == o.TotBeep && ActionMode == o.ActionMode && TotMute == o.TotMute
        && CwIdAniEni == o.CwIdAniEni && NsqLevel == o.NsqLevel
        && ToneEntryUsed == o.ToneEntryUsed && DecoderIsDcs == o.DecoderIsDcs
        && DecoderCode == o.DecoderCode && EncoderIsDcs == o.EncoderIsDcs
        && EncoderCode == o.EncoderCode && RxFreq.Equals(o.RxFreq) && TxFreq.Equals(o.TxFreq);
}
