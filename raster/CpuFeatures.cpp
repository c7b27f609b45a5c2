// The processor's vector features.
#include "raster/CpuFeatures.h"

namespace pv {

bool VectorKernelsAvailable()
{
    // The explicit init makes the answer right even if asked before libgcc's constructors ran.
    static const bool available = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);
    return available;
}

} // namespace pv
