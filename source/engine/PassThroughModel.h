#pragma once

#include "TupleSolver.h"
#include "models/ModelTraits.h"
#include "models/PotGrid.h"

// A model whose circuit is a wire: the engine's routing, gains and filters can be checked on it
// without a circuit in between.
struct PassThroughModel
{
    struct Matrices {};
    using Grid = ModelTraits<PotGrid::positions, 1, 0, 1>;

    int modFlag = 0;
    double sampleRate = 1.0;
    unsigned lastKey = 0;

    void applyPotKey (unsigned key) noexcept { lastKey = key; }
    void rebuildCoefficients() noexcept {}
    const Matrices& matrices() const noexcept { return m; }

    Matrices m;
};

struct PassThroughRecord
{
    float step (float u) noexcept { return u; }
    void setMatrices (const PassThroughModel::Matrices&) noexcept {}
    void resetState() noexcept {}
    bool isFinite() const noexcept { return true; }

    static void stepPair (PassThroughRecord&, float a, PassThroughRecord&, float b, float& ya, float& yb) noexcept
    {
        ya = a;
        yb = b;
    }
};

template <>
struct RecordFor<PassThroughModel>
{
    using type = PassThroughRecord;
};
