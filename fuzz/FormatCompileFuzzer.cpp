// Compiles arbitrary formats. The verdict must be "valid exactly when the pattern is not
// empty", and pattern and slot fields must match the reference compiler. A second compile on
// the same object must give what a fresh object gives.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "FormatReference.h"

namespace {

void CheckCompiled(const COpenNameFormat& format, const ref::CompiledFormat& expected)
{
    FUZZ_CHECK(format.IsValid() == !format.Pattern().empty());
    FUZZ_CHECK(format.IsValid() == expected.valid);
    FUZZ_CHECK(format.Pattern() == expected.pattern);
    FUZZ_CHECK(format.Fields() == expected.fields);
    if (!format.IsValid())
        return;
    size_t placeholders = 0;
    bool recognised = false;
    for (char c : format.Pattern())
        placeholders += c == CNameFormat::PLACEHOLDER;
    for (size_t i = 0; i < FORMAT_SLOTS; ++i) {
        recognised = recognised || format.Fields()[i] != TF_NONE;
        FUZZ_CHECK(i < placeholders || format.Fields()[i] == TF_NONE);
    }
    FUZZ_CHECK(placeholders >= 1 && placeholders <= FORMAT_SLOTS);
    FUZZ_CHECK(recognised);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 512)
        return -1;
    FuzzedDataProvider in(data, size);
    const std::string first = in.ConsumeRandomLengthString(256);
    const std::string second = in.ConsumeRemainingBytesAsString();

    COpenNameFormat format;
    format.Compile(first);
    CheckCompiled(format, ref::Compile(first));
    format.Compile(second);
    CheckCompiled(format, ref::Compile(second));
    return 0;
}
