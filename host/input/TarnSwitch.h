#pragma once

// The state a caller asks a switchable feature to take.
enum class TarnSwitch { off, on };
