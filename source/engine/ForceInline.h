#pragma once

// For the per-sample functions the compiler would otherwise leave as calls: inside the Newton
// loop a call costs more than the work, since every value live across it goes through memory.
#if defined(__GNUC__) || defined(__clang__)
#define VESK_FORCE_INLINE inline __attribute__ ((always_inline))
#elif defined(_MSC_VER)
#define VESK_FORCE_INLINE __forceinline
#else
#define VESK_FORCE_INLINE inline
#endif
