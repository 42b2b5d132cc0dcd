#include "link/U_AlignRun.h"

#include "link/U_Clone.h"
#include "link/dc_RsDrv.h"
#include "model/U_Format.h"
#include "model/U_Values.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>

namespace {

struct TCommandName {
    const char* Name;
    int Kind;
};
constexpr TCommandName CommandNames[] = {
    {"rx-on", akRxOn},   {"rx-off", akRxOff},   {"tx-on", akTxOn},
    {"tx-off", akTxOff}, {"trx-on", akTrxOn}, {"trx-off", akTrxOff},
};

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool ParseSet(const std::string& assignment, TAlignStep& step, std::string& error)
{
    const auto equals = assignment.find('=');
    if (equals == std::string::npos) {
        error = "expected set:NAME=VALUE";
        return false;
    }
    const std::string name = assignment.substr(0, equals);
    step.Field = Align::FieldNamed(name);
    step.Value = Trimmed(assignment.substr(equals + 1));
    if (!step.Field) {
        error = "no value is named '" + name + "'";
        return false;
    }
    switch (step.Field->Kind) {
    case TAlignValue::Level:
    case TAlignValue::Frequency:
        return true;  // read and clamped as the window reads a typed value
    case TAlignValue::Choice:
        for (const char* item : step.Field->Items)
            if (Lowered(item) == Lowered(step.Value))
                return true;
        error = "'" + step.Value + "' is not a choice of " + Align::FieldName(*step.Field);
        return false;
    case TAlignValue::Tone:
        if (Align::CtcssCode(step.Value) != 0)
            return true;
        error = "'" + step.Value + "' is not a CTCSS tone";
        return false;
    case TAlignValue::Code:
        if (Align::DcsCode(step.Value) != 0)
            return true;
        error = "'" + step.Value + "' is not a DCS code";
        return false;
    }
    return false;
}

void ApplySet(const TAlignStep& step, TAlignRun& run)
{
    const TAlignField& f = *step.Field;
    const int point = run.Settings.Point;
    switch (f.Kind) {
    case TAlignValue::Level:
        f.Set(run.Doc, point, Align::LevelOf(step.Value));
        break;
    case TAlignValue::Frequency:
        f.Set(run.Doc, point, Align::FrequencyOf(step.Value));
        break;
    case TAlignValue::Choice:
        for (size_t i = 0; i < f.Items.size(); ++i)
            if (Lowered(f.Items[i]) == Lowered(step.Value))
                run.Settings.*f.Choice = int(i);
        break;
    case TAlignValue::Tone:
    case TAlignValue::Code:
        run.Settings.*f.Text = step.Value;
        break;
    }
}

// Holds the link; the repeater stays as the last command left it.
TOutcome Wait(int ms, TLinkView& view)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        if (view.Cancelled())
            return TOutcome::Error;
        view.Breathe();
        QThread::msleep(10);
    }
    return TOutcome::Done;
}

} // namespace

bool ParseAlignStep(const std::string& text, TAlignStep& step, std::string& error)
{
    step = TAlignStep {};
    step.Text = text;
    const std::string word = Lowered(text);
    if (StartsWith(word, "set:")) {
        step.Kind = TAlignStep::Set;
        return ParseSet(text.substr(4), step, error);
    }
    if (StartsWith(word, "wait:")) {
        step.Kind = TAlignStep::Wait;
        const std::string ms = text.substr(5);
        if (!IsNonNegativeInteger(ms) || ms.size() > 9) {
            error = "expected wait:MS with MS a number of milliseconds";
            return false;
        }
        step.Number = int(std::strtol(ms.c_str(), nullptr, 10));
        return true;
    }
    if (word == "status") {
        step.Kind = TAlignStep::Status;
        return true;
    }
    for (const TCommandName& c : CommandNames) {
        if (word == c.Name) {
            step.Kind = TAlignStep::Command;
            step.Number = c.Kind;
            return true;
        }
    }
    error = "unknown step";
    return false;
}

TOutcome RunAlignStep(TCRsDrv& driver, const TAlignStep& step, TAlignRun& run, TLinkView& view,
                      std::string& statusLine)
{
    switch (step.Kind) {
    case TAlignStep::Set:
        ApplySet(step, run);
        return TOutcome::Done;
    case TAlignStep::Command:
        return AlignCommandOutcome(driver, run.Doc, run.Image, run.Settings, step.Number, view);
    case TAlignStep::Status: {
        std::string vr, nsq, rssi;
        const TOutcome outcome = AlignStatusOutcome(driver, vr, nsq, rssi, view);
        if (outcome == TOutcome::Done)
            statusLine = "VR=" + vr + " NSQ=" + nsq + " RSSI=" + rssi;
        return outcome;
    }
    case TAlignStep::Wait:
        return Wait(step.Number, view);
    }
    return TOutcome::Error;
}
