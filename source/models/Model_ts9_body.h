#pragma once

#include "models/PotLaws.h"
#include "models/StateSpace.h"
#include "models/StateSpaceMatrices.h"

#include <array>

// The ts9 signal path from the pedal input to the level pot's wiper.
//
// Nodes: 0 ground, 1 op-amp 1 "+", 2 gain leg, 3 filter/op-amp 2 "+", 4 op-amp 1 out, 5 tone
// ground leg, 6 op-amp 2 out, 7 op-amp 2 "−", 8 input, 9 op-amp 1 "−", 10 tone wiper, 11 level
// wiper. Extra unknowns: 12 op-amp 1 output current, 13 op-amp 2 output current, 14 input source
// current.
//
//   input ─ cIn ─ (1) op-amp 1 "+", rInBias to ground
//   op-amp 1: out (4), "−" (9); feedback rDrive ∥ cDrive ∥ diode pair (4–9); cGain + rGain (9–2–0)
//   rFilter (4–3), cFilter and rShunt (3–0)
//   tone: rToneA (3–10), rToneB (10–7), cTone + rToneGround (10–5–0)
//   op-amp 2: out (6), "+" (3), "−" (7); rOutFeedback (6–7)
//   level: rLevelTop (6–11), rLevelBottom (11–0); output = v_11
//
// The single nonlinear port is v = v_9 − v_4: device 0 (a D0) conducts from 9 to 4 at +v,
// device 1 (a D1) from 4 to 9 at −v.
//
// This object describes the circuit and builds its matrices; the per-sample state lives in the
// run-time record that receives a copy of matrices().
template <class D0, class D1, class MT, class ST>
class Model_ts9_body : public NodalSystem<ST>
{
public:
    using Traits = ST;
    using Device0 = D0;
    using Device1 = D1;
    using Matrices = StateSpaceMatrices<ST>;
    using Grid = MT;

    static_assert (Traits::Nx == 5 && Traits::Nu == 1 && Traits::Nv == 1 && Traits::Ni == 2
                       && Traits::Ny == 1 && Traits::Nn == 15,
                   "the ts9 body network has 5 capacitors, 1 input, 1 port, 2 diodes, 1 output and 15 unknowns");

    static constexpr std::array<NodePair, 5> statePairs { { { 1, 8 }, { 9, 2 }, { 4, 9 }, { 0, 3 }, { 5, 10 } } };
    static constexpr std::array<NodePair, 1> portPairs { { { 9, 4 } } };
    static constexpr std::array<NodePair, 1> outputPairs { { { 11, 0 } } };

    // Component values, ohms and farads. The pots hold their nominal values until the first key.
    double rInBias = 220000.0;
    double cIn = 2e-8;
    double rGain = 4700.0;
    double cGain = 4.7e-8;
    double rDrive = 500000.0;
    double cDrive = 9e-11;
    double rFilter = 1000.0;
    double cFilter = 2.2e-7;
    double rShunt = 10000.0;
    double rToneA = 10000.0;
    double rToneB = 10000.0;
    double cTone = 2.2e-7;
    double rToneGround = 220.0;
    double rOutFeedback = 1000.0;
    double rLevelTop = 1000.0;
    double rLevelBottom = 99000.0;

    double sampleRate = 1.0;     // rate the matrices were last built for, Hz
    float gridStep = 1.0f / (float) (MT::gridSize - 1);   // pot travel per grid position
    int modFlag = 0;             // "TS Model": 0 Original, otherwise Modded

    // Sets the five pot resistances from a key drive·n² + tone·n + level (n positions per pot). Does not rebuild.
    void applyPotKey (unsigned key) noexcept
    {
        constexpr unsigned n = (unsigned) MT::gridSize;
        const unsigned drive = key / (n * n);
        const unsigned rest = key - n * n * drive;
        const unsigned tone = rest / n;
        const unsigned level = rest - n * tone;

        const float xDrive = (float) drive * gridStep;
        const float xTone = (float) tone * gridStep;
        const float xLevel = (float) level * gridStep;

        rDrive = PotLaws::drive (xDrive, modFlag);

        const auto toneSplit = PotLaws::tone (xTone);
        rToneA = toneSplit.first;
        rToneB = toneSplit.second;

        const auto levelSplit = PotLaws::level (xLevel);
        rLevelTop = levelSplit.first;
        rLevelBottom = levelSplit.second;
    }

    // Writes the whole nodal system (zeros included) for the current values and sampleRate.
    void stampCircuit() noexcept
    {
        const double fs = sampleRate;
        this->clear();

        this->addResistor (1, 0, rInBias);
        this->addCapacitor (0, 1, 8, cIn, fs);
        this->addResistor (2, 0, rGain);
        this->addCapacitor (1, 9, 2, cGain, fs);
        this->addResistor (4, 9, rDrive);
        this->addCapacitor (2, 4, 9, cDrive, fs);
        this->addResistor (4, 3, rFilter);
        this->addCapacitor (3, 0, 3, cFilter, fs);
        this->addResistor (3, 0, rShunt);
        this->addResistor (3, 10, rToneA);
        this->addResistor (10, 7, rToneB);
        this->addCapacitor (4, 5, 10, cTone, fs);
        this->addResistor (5, 0, rToneGround);
        this->addResistor (6, 7, rOutFeedback);
        this->addResistor (6, 11, rLevelTop);
        this->addResistor (11, 0, rLevelBottom);

        this->addOpAmp (12, 4, 1, 9);
        this->addOpAmp (13, 6, 3, 7);
        this->addVoltageSource (0, 14, 8);

        this->addDeviceCurrent (0, 9, 4);
        this->addDeviceCurrent (1, 4, 9);
    }

    // Restamps the network from the current values and sampleRate and derives the matrices.
    // Allocates nothing.
    void rebuildCoefficients() noexcept
    {
        stampCircuit();
        deriveStateSpace<ST> (*this, statePairs, portPairs, outputPairs, coefficients);
    }

    const Matrices& matrices() const noexcept { return coefficients; }

private:
    Matrices coefficients;
};
