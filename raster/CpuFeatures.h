// What the processor offers the vector kernels: every AVX2 path asks this one place.
#pragma once

namespace pv {

// Whether the processor runs AVX2 (asked once; right even before libgcc's constructors ran).
bool VectorKernelsAvailable();

} // namespace pv
