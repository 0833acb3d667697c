#pragma once

#include <cstddef>

// Sine, cosine and tanh over float arrays (out may equal a), by the fastest
// path this processor can run. Every path gives the reference path's results
// bit for bit; the reference path is the plain C++ one. The fastest path is
// chosen once, when the library is loaded, so a call never asks the processor
// what it supports.
class VectorMaths
{
public:
    enum class Path { reference, avx2Fma };

    static bool canRun(Path path);
    // Switches every later call to path, if this processor can run it.
    static void use(Path path);
    static Path current();

    static void sin(const float* a, float* out, std::size_t n);
    static void cos(const float* a, float* out, std::size_t n);
    static void tanh(const float* a, float* out, std::size_t n);

    // The reference path, which the fast paths also take for values outside
    // their range: std::sin, std::cos and tanhOf, value by value.
    static void referenceSin(const float* a, float* out, std::size_t n);
    static void referenceCos(const float* a, float* out, std::size_t n);
    static void referenceTanh(const float* a, float* out, std::size_t n);
    // tanh through one exponential in double precision: faster than the
    // single-precision library function and correctly rounded.
    static float tanhOf(float value);
};
