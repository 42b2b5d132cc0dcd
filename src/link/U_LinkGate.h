#pragma once

// The port carries one exchange at a time. A transfer or an alignment
// exchange lets the program handle events while it waits, so a second
// command could otherwise start inside it and talk over it, change the
// document it is reading or writing, or close the window it reports to.
// The exchange holds the gate; every such command asks it first.
class TLinkGate {
public:
    bool Busy() const { return FHolders > 0; }

    // Held for as long as it lives.
    class THold {
    public:
        explicit THold(TLinkGate& gate) : FGate(gate) { ++FGate.FHolders; }
        ~THold() { --FGate.FHolders; }
        THold(const THold&) = delete;
        THold& operator=(const THold&) = delete;

    private:
        TLinkGate& FGate;
    };

private:
    int FHolders = 0;
};
