#include "settings/SavedSettings.h"

#include "platform/IniDocument.h"
#include "platform/Paths.h"
#include "settings/PresetList.h"

#include <array>
#include <variant>

namespace
{

using IntegerField = int& (*)(SavedSettings&);
using FlagField = bool& (*)(SavedSettings&);
using TextField = QString& (*)(SavedSettings&);

// One remembered value: where it is stored and which field of SavedSettings holds it.
struct SettingsKey {
    const char* Section;
    const char* Key;
    std::variant<IntegerField, FlagField, TextField> Field;
    bool ThenApplyPreset = false; // once read, the chosen preset is applied

    QString SectionName() const { return QLatin1String(Section); }
    QString KeyName() const { return QLatin1String(Key); }
};

// In the order they are read and written.
const std::array<SettingsKey, 10> SettingsKeys{{
    {"SET", "M_LEFT", IntegerField([](SavedSettings& s) -> int& { return s.WindowPosition.rx(); })},
    {"SET", "M_TOP", IntegerField([](SavedSettings& s) -> int& { return s.WindowPosition.ry(); })},
    {"SET1", "C0", IntegerField([](SavedSettings& s) -> int& { return s.PresetIndex; }), true},
    {"SET1", "C1", IntegerField([](SavedSettings& s) -> int& { return s.Conversion.FrameRate; })},
    {"SET1", "C2", IntegerField([](SavedSettings& s) -> int& { return s.Conversion.VideoBitRate; })},
    {"SET1", "C3", IntegerField([](SavedSettings& s) -> int& { return s.Conversion.SampleRateIndex; })},
    {"SET1", "C4", IntegerField([](SavedSettings& s) -> int& { return s.Conversion.AudioBitRate; })},
    {"SET1", "C5", IntegerField([](SavedSettings& s) -> int& { return s.Conversion.PictureSizeIndex; })},
    {"SET2", "C11", TextField([](SavedSettings& s) -> QString& { return s.Conversion.OutputFolder; })},
    {"SET2", "C12", FlagField([](SavedSettings& s) -> bool& { return s.Conversion.TwoPass; })},
}};

// Reads one key over the value `settings` holds; a missing or unreadable value keeps it.
struct KeyReader {
    const IniDocument& ini;
    const SettingsKey& key;
    SavedSettings& settings;

    void operator()(IntegerField field) const { field(settings) = integer().value_or(field(settings)); }
    void operator()(FlagField field) const
    {
        if (const auto value = integer())
            field(settings) = *value != 0;
    }
    void operator()(TextField field) const
    {
        field(settings) = ini.Value(key.SectionName(), key.KeyName()).value_or(field(settings));
    }

    std::optional<int> integer() const { return ini.Integer(key.SectionName(), key.KeyName()); }
};

struct KeyWriter {
    IniDocument& ini;
    const SettingsKey& key;
    SavedSettings settings;

    void operator()(IntegerField field) { ini.SetInteger(key.SectionName(), key.KeyName(), field(settings)); }
    void operator()(FlagField field)
    {
        ini.SetInteger(key.SectionName(), key.KeyName(), field(settings) ? 1 : 0);
    }
    void operator()(TextField field) { ini.SetValue(key.SectionName(), key.KeyName(), field(settings)); }
};

// A choice the user makes in the file itself: read, never written, so the file keeps its layout.
const QString SkipExistingSection = QStringLiteral("SET2");
const QString SkipExistingKey = QStringLiteral("SKIP_EXISTING");

} // namespace

LoadedSettings LoadSettings(const IniDocument& ini, const PresetList& presets,
                            const QString& defaultOutputFolder, SavedSettings start)
{
    LoadedSettings loaded{std::move(start), {}};
    SavedSettings& settings = loaded.Settings;
    for (const SettingsKey& key : SettingsKeys) {
        std::visit(KeyReader{ini, key, settings}, key.Field);
        if (!key.ThenApplyPreset)
            continue;
        const PresetList::Applied applied = presets.Apply(settings.PresetIndex, settings.Conversion);
        settings.PresetIndex = applied.Index;
        if (applied.Problem)
            loaded.Problems << *applied.Problem;
    }
    settings.SkipExisting = ini.Integer(SkipExistingSection, SkipExistingKey).value_or(0) != 0;
    settings.Conversion = settings.Conversion.Clamped();
    QString& folder = settings.Conversion.OutputFolder;
    folder = folder.isEmpty() ? defaultOutputFolder : Paths::UsableFolder(folder);
    return loaded;
}

void StoreSettings(IniDocument& ini, const SavedSettings& settings)
{
    for (const SettingsKey& key : SettingsKeys)
        std::visit(KeyWriter{ini, key, settings}, key.Field);
}
