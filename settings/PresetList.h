#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct ConversionSettings;

// The preset file beside the program.
inline const QString ProfileFileName = QStringLiteral("profile.txt");

// The presets of profile.txt, numbered as the preset chooser lists them: 0 is the header row,
// preset n is line n of the file.
class PresetList
{
public:
    explicit PresetList(QStringList records = {}) : m_records(std::move(records)) {}

    // Reads the presets from `path`. Raises EFOpenError with the path when it cannot be opened.
    static PresetList Read(const QString& path);

    int Count() const { return m_records.size(); }
    const QStringList& Records() const { return m_records; }

    // The choice `index` stands for: itself when it names the header row or a preset, else none (-1).
    int Choice(int index) const;

    // What applying a choice did.
    struct Applied {
        int Index = -1; // the preset applied: the header row or none means preset 1
        std::optional<QString>
            Problem; // "profile.txt 3 行目: 'abc' は整数ではありません" when a number could not be read
    };

    // Applies preset `index` to `settings`, or preset 1 when `index` is the header row or none. A
    // record whose numbers cannot all be read is applied up to the first such number; with no
    // preset at all, the empty record is.
    Applied Apply(int index, ConversionSettings& settings) const;

private:
    QStringList m_records;
};
