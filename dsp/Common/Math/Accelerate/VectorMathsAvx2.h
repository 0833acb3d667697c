#pragma once

#include <cstddef>

// Sine, cosine and tanh over float arrays with AVX2 and FMA, four values at a
// time. Every result equals, bit for bit, that of the plain functions on a
// processor with these features: std::sin and std::cos as the C library
// computes them there (its FMA variants), and VectorMaths::tanhOf. A group of
// four holding a value outside the fast range (NaN, infinity, or a sine or
// cosine argument of magnitude 120 or more) goes to the reference functions. Call only when supported() is true, and after
// prepare() has returned.
class VectorMathsAvx2
{
public:
    static bool supported();
    // Builds the exponential's table; call once before the first tanh.
    static void prepare();

    static void sin(const float* a, float* out, std::size_t n);
    static void cos(const float* a, float* out, std::size_t n);
    static void tanh(const float* a, float* out, std::size_t n);
};
