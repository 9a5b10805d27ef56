// The engines' block loops in the VEX encoding. On Linux x86-64 each engine's block routine is
// compiled twice, for SSE2 and with AVX enabled, and runs the second where the processor has
// AVX: the same 128-bit operations in the same order, so the same bits, but in the
// three-operand form, which spares the register copies that the two-operand SSE2 form needs
// around every operation (AVX enables no fused multiply-add, which would change results). The
// Windows builds keep to SSE2 (see precise_stage.cpp).
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#define ZEM_ENGINE_VEX 1
#define ZEM_VEX_TARGET __attribute__((target("avx")))
// The same block routine once more in the EVEX encoding of AVX-512 with its 32 vector registers:
// still 128-bit operations in the same order, but with room for the block's coefficients and
// running values (the VU's loop reads 3 spilled constants per sample from the stack instead of
// the VEX loop's 18) and selections in one ternary-logic operation instead of three.
#define ZEM_EVEX_TARGET __attribute__((target("avx512f,avx512vl")))

// Whether the processor runs AVX instructions, the one check that the engines and the precise
// stage both read; decided at library load. [any-thread]
extern const bool processorHasAvx;
// Whether it runs AVX-512 (foundation and 128/256-bit lengths) with the system saving the
// registers: the precise stage's eight-lane variant. [any-thread]
extern const bool processorHasAvx512;
#endif

// Runs an engine's block in its EVEX variant where the processor has AVX-512, in its VEX variant
// where it has AVX, otherwise in its SSE2 variant. [audio-thread] (the engine's process())
template <class Engine, class Frames>
inline void processInBestEncoding(Engine &engine, float *channel1, float *channel2, Frames frames)
{
#ifdef ZEM_ENGINE_VEX
    if (processorHasAvx512) {
        engine.processBlockEvex(channel1, channel2, frames);
        return;
    }
    if (processorHasAvx) {
        engine.processBlockVex(channel1, channel2, frames);
        return;
    }
#endif
    engine.processBlockSse2(channel1, channel2, frames);
}
