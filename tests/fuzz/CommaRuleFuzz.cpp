// libFuzzer target: the comma rule takes any text, ends, and never invents characters.
#include "platform/CommaRule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString record =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qsizetype characters = 0;
    for (const QString& field : CommaTextFields(record))
        characters += field.size();
    if (characters > record.size())
        std::abort();
    return 0;
}
