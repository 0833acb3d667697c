#include "Common/Math/Accelerate/VectorMaths.h"

#include "Common/Math/Accelerate/VectorMathsAvx2.h"

#include <atomic>
#include <cmath>

namespace
{
    using ArrayFunction = void (*)(const float*, float*, std::size_t);

    struct Functions
    {
        VectorMaths::Path path;
        ArrayFunction sin;
        ArrayFunction cos;
        ArrayFunction tanh;
    };

    constexpr Functions reference{VectorMaths::Path::reference, VectorMaths::referenceSin, VectorMaths::referenceCos,
                                  VectorMaths::referenceTanh};
    constexpr Functions avx2Fma{VectorMaths::Path::avx2Fma, VectorMathsAvx2::sin, VectorMathsAvx2::cos,
                                VectorMathsAvx2::tanh};

    // Read by every call, written when the library loads (and by tests).
    std::atomic<const Functions*> active{&reference};

    const Functions& functions() { return *active.load(std::memory_order_relaxed); }

    struct FastestPath
    {
        FastestPath() { VectorMaths::use(VectorMaths::Path::avx2Fma); }
    } fastestPath;
}

bool VectorMaths::canRun(Path path)
{
    return path == Path::reference || VectorMathsAvx2::supported();
}

void VectorMaths::use(Path path)
{
    if (!canRun(path))
        return;
    if (path == Path::avx2Fma)
        VectorMathsAvx2::prepare();
    active.store(path == Path::avx2Fma ? &avx2Fma : &reference);
}

VectorMaths::Path VectorMaths::current()
{
    return functions().path;
}

void VectorMaths::sin(const float* a, float* out, std::size_t n)
{
    functions().sin(a, out, n);
}

void VectorMaths::cos(const float* a, float* out, std::size_t n)
{
    functions().cos(a, out, n);
}

void VectorMaths::tanh(const float* a, float* out, std::size_t n)
{
    functions().tanh(a, out, n);
}

void VectorMaths::referenceSin(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::sin(a[i]);
}

void VectorMaths::referenceCos(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::cos(a[i]);
}

void VectorMaths::referenceTanh(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = tanhOf(a[i]);
}

float VectorMaths::tanhOf(float value)
{
    const double x = value;
    const double magnitude = std::fabs(x);
    if (magnitude < 4e-4)
        return static_cast<float>(x * (1.0 - x * x / 3.0));
    if (magnitude > 20.0)
        return x > 0.0 ? 1.0f : -1.0f;
    const double e = std::exp(2.0 * x);
    return static_cast<float>((e - 1.0) / (e + 1.0)); // NaN stays NaN
}
