// Checks IsUnsafeFileName against a plain second reading of the rule, and that a name it lets
// through cannot leave the file's folder.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "rename/NameSafety.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 256)
        return -1;
    const std::string name(reinterpret_cast<const char*>(data), size);
    const bool unsafe = IsUnsafeFileName(name);
    FUZZ_CHECK(unsafe == ref::IsUnsafeName(name));
    if (!unsafe) {
        FUZZ_CHECK(!ref::HasDotDotSegment(name));
        FUZZ_CHECK(ref::StaysInFolder(name));
    }
    return 0;
}
