#pragma once

// Linear-phase low-pass prototypes of the oversampling filters: for ratio R = 2, 4, 8 or 16 a
// symmetric FIR of 16 R taps (h[k] == h[16 R - 1 - k]) running at R times the host rate, DC gain 1
// (1.00058 for R = 2). The tables are 64-byte aligned and live for the whole program.

// The taps of the ratio's prototype, or nullptr for any other ratio.
const float* prototypeFilter (int ratio) noexcept;

// 16 R for the four ratios, 0 for any other.
int prototypeLength (int ratio) noexcept;
