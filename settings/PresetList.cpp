#include "settings/PresetList.h"

#include "platform/Errors.h"
#include "platform/ReadInput.h"
#include "settings/ConversionSettings.h"
#include "settings/Preset.h"
#include "settings/ProfileLines.h"

PresetList PresetList::Read(const QString& path)
{
    // Far more than any preset file holds; a larger file is not one.
    constexpr qint64 MaxPresetBytes = 4 * 1024 * 1024;
    const SmallFile file = ReadSmallFile(path, MaxPresetBytes);
    if (file.Missing || !file.Problem.isEmpty())
        throw EFOpenError(path);
    return PresetList(ProfileLines(file.Bytes));
}

int PresetList::Choice(int index) const
{
    return index >= 0 && index <= Count() ? index : -1;
}

PresetList::Applied PresetList::Apply(int index, ConversionSettings& settings) const
{
    Applied applied;
    applied.Index = Choice(index) >= 1 ? index : Choice(1);
    const ParsedPreset preset = ParsePreset(applied.Index >= 1 ? m_records.at(applied.Index - 1) : QString());
    ApplyPreset(preset, settings);
    if (!preset.Complete()) {
        // Where the bad number stands: the line of the file, which is the preset's number.
        const QString where = applied.Index >= 1 ? QStringLiteral(" %1 行目").arg(applied.Index) : QString();
        applied.Problem =
            ProfileFileName + where + QStringLiteral(": ") + EConvertError(preset.FailedText).Message();
    }
    return applied;
}
