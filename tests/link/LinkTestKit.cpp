#include "LinkTestKit.h"

#include <gtest/gtest.h>

std::vector<int> TTestView::ProgressSteps() const
{
    std::vector<int> steps;
    for (int p : Progress)
        if (steps.empty() || steps.back() != p)
            steps.push_back(p);
    return steps;
}

TRKmem RichDocument(int variant)
{
    TRKmem doc;
    TMap54::SetDefaults(doc);
    doc.SerialNo = variant == 0 ? "1234567" : "7654321";
    doc.MarketCode = 'U';
    doc.CwIdText = variant == 0 ? "RK54" : "TEST";
    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = doc.Channels[i];
        ch.Used = (i + variant) % 3 != 2;
        ch.Bandwidth = (i + variant) % 2;
        ch.RxFreq.SetFromFloat(150.0 + i * 0.125 + variant);
        ch.TxFreq.SetFromFloat(155.0 + i * 0.25 + variant);
        ch.DecoderCode[0] = (i * 3 + variant) % 48;
        ch.NsqLevel = 10 + i + variant;
    }
    for (int t = 0; t < AlphaTagCount; t += 5) {
        doc.AlphaTagNumber[t] = (t + variant) % 16;
        doc.AlphaTagText[t] = "TAG" + std::to_string(t + variant);
    }
    return doc;
}

TMap54 ImageOf(const TRKmem& doc)
{
    TMap54 image;
    image.Encode(doc);
    return image;
}

TSimRig::TSimRig(const TMap& memory, TSimOptions options)
    : Sim(std::make_unique<TRepeaterSim>(memory, std::move(options)))
{
    std::string error;
    if (!Sim->Open(error))
        ADD_FAILURE() << error;
    Sim->Start();
}

TSimRig::~TSimRig()
{
    Sim->Stop();
}

TSimOptions WithFault(TSimFault fault)
{
    TSimOptions options;
    options.Faults.insert(fault);
    return options;
}

TBytes Commands(const std::vector<TBytes>& units)
{
    TBytes commands;
    for (const TBytes& unit : units)
        commands.push_back(unit.at(0));
    return commands;
}
