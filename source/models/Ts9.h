#pragma once

#include "engine/DiodeTS.h"
#include "models/ModelTraits.h"
#include "models/Model_ts9_body.h"
#include "models/PotGrid.h"
#include "models/SolverTraits.h"

// The ts9 circuit as the engine runs it: the pedal's diode pair, the pot grid and the
// body network's dimensions.
using Ts9Model = Model_ts9_body<DiodeTS, DiodeTS_A, ModelTraits<PotGrid::positions, 1, 0, 1>, SolverTraitsN<5, 1, 1, 2, 1, 15, float>>;
