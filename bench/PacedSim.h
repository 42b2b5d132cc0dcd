#pragma once
#include "codec/dc_Map.h"
#include "sim/dc_RepeaterSim.h"

#include <cstdio>
#include <memory>
#include <string>

// A simulated repeater holding `memory` that answers at the real line's
// pace, opened and serving; null (with the reason on stderr) when its
// pseudo-terminal cannot be made.
inline std::unique_ptr<TRepeaterSim> StartPacedSim(const TMap& memory)
{
    TSimOptions options;
    options.Pace = true;
    auto sim = std::make_unique<TRepeaterSim>(memory, options);
    std::string error;
    if (!sim->Open(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
    }
    sim->Start();
    return sim;
}
