#include "input/Wildcard.h"

#include <QList>

namespace
{

constexpr uint AnyRun = u'*';
constexpr uint AnyOne = u'?';

QList<uint> foldedCodePoints(const QString& text)
{
    return text.toCaseFolded().toUcs4();
}

// Greedy matching with one backtrack point: on a mismatch the last "*" takes one more character.
bool matches(const QList<uint>& name, const QList<uint>& pattern)
{
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == AnyRun) {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == AnyOne || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == AnyRun)
        ++p;
    return p == pattern.size();
}

} // namespace

bool MatchesWildcard(const QString& name, const QString& pattern)
{
    if (pattern == AllNames)
        return true;
    return matches(foldedCodePoints(name), foldedCodePoints(pattern));
}
