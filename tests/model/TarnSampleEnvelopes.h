#pragma once

#include "model/TarnWireEnvelope.h"

#include <vector>

// One envelope of every kind, each payload with every optional field filled.
// Dates hold whole seconds so they survive the ISO-8601 coding.
std::vector<TarnWireEnvelope> sampleEnvelopes();
