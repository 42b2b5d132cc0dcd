#include "support/LinkTestKit.h"
#include "link/dc_RsDrv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

std::vector<int> TTestView::ProgressSteps() const
{
    std::vector<int> steps;
    for (int p : Progress)
        if (steps.empty() || steps.back() != p)
            steps.push_back(p);
    return steps;
}

void ExpectSameDocument(const TRKmem& a, const TRKmem& b)
{
    EXPECT_EQ(ImageOf(a).Content(), ImageOf(b).Content());
    EXPECT_EQ(DocumentDifferences(a, b), "");
}

TMap54 AsUploaded(const TMap& memory)
{
    TMap54 image;
    image.Clear();
    std::copy_n(memory.Data(), CloneSize, image.Data());
    image[Image54::EndMarker] = Image54::Marker;
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

TTransferRig::TTransferRig(TSimOptions options, const TMap& memory) : Sim(memory, std::move(options)) {}

TTransferResult TTransferRig::Run(bool upload, TProgramMode mode)
{
    return upload ? Upload(Sim.Port(), Doc, Image, View) : Download(Sim.Port(), Doc, Image, mode, View);
}

TBytes Commands(const TUnits& units)
{
    TBytes commands;
    for (const TBytes& unit : units)
        commands.push_back(unit.at(0));
    return commands;
}

int CountOf(const TUnits& units, uint8_t command)
{
    return int(std::count_if(units.begin(), units.end(), [&](const TBytes& u) { return u.at(0) == command; }));
}

TBytes Bytes(const QByteArray& a)
{
    return TBytes(a.begin(), a.end());
}

TBytes Joined(std::initializer_list<TBytes> parts)
{
    TBytes all;
    for (const TBytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TBytes WithSum(TBytes frame)
{
    frame.push_back(uint8_t(std::accumulate(frame.begin(), frame.end(), 0u)));
    return frame;
}

bool PortIsFree(const QString& port)
{
    TCRsDrv probe;
    const bool free = probe.Open(port) == RsOk;
    probe.Close();
    return free;
}
