#pragma once

#include "CircuitEngineBase.h"
#include "ModelRecord.h"
#include "models/Ts9.h"

// The engine the processor owns: two channels of the ts9 circuit.
using CircuitEngine = BasicCircuitEngine<Ts9Model>;
