#pragma once

#include "CircuitEngineBase.h"
#include "PassThroughModel.h"

// The engine the processor owns.
using CircuitEngine = BasicCircuitEngine<PassThroughModel>;
