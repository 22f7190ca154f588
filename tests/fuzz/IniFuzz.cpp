// libFuzzer target: any settings file reads, takes a change, and writes back with every line it
// did not change kept byte for byte and the change readable again.
#include "platform/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniDocument document(bytes);
    if (document.ToBytes() != bytes)
        std::abort();
    (void)document.Integer(QStringLiteral("SET"), QStringLiteral("M_LEFT"));
    document.SetValue(QStringLiteral("SET2"), QStringLiteral("C11"), QStringLiteral("/out\nC12=1"));
    if (IniDocument(document.ToBytes()).Value(QStringLiteral("SET2"), QStringLiteral("C11")) !=
        QStringLiteral("/out C12=1"))
        std::abort();
    return 0;
}
