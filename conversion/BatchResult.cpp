#include "conversion/BatchResult.h"

#include "platform/Printable.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <iterator>

QString EndMessage(const BatchResult& result)
{
    switch (result.End) {
    case RunEnd::Completed:
    case RunEnd::Interrupted: // whoever stopped the run knows
        break;
    case RunEnd::NoOutputFolder:
        return QStringLiteral("保存先フォルダが指定されていません。");
    case RunEnd::NoHomeFolder:
        return QStringLiteral("保存先フォルダ %1 の ~ が指すホームフォルダがわかりません (HOME "
                              "が設定されていません)。処理を中止します。")
            .arg(Printable(result.Reason));
    case RunEnd::OutputFolderFailed:
        return QStringLiteral("保存先フォルダ %1 を作成できません。処理を中止します。")
            .arg(Printable(result.Reason));
    case RunEnd::LockFailed:
        return QStringLiteral(
                   "保存先フォルダではファイルをロックできないため、変換できません。処理を中止します。\n") +
               Printable(result.Reason);
    case RunEnd::EncoderMissing:
        return QStringLiteral("ffmpeg.exe を起動できませんでした。処理を中止します。");
    case RunEnd::FfmpegMissing:
        // Found but not runnable (not executable, say) is not "missing".
        if (result.Reason.isEmpty() || result.Reason.endsWith(QStringLiteral("No such file or directory")))
            return QStringLiteral("ffmpeg が見つかりません。処理を中止します。");
        return QStringLiteral("ffmpeg を実行できません。処理を中止します。\n") + Printable(result.Reason);
    case RunEnd::Aborted:
        return QStringLiteral("非対応フォーマットが含まれていました。処理を中止します。\n") +
               Printable(result.Reason);
    }
    return QString();
}

namespace
{

// What the commonest failures mean, by the words ffmpeg or the encoder front tell them in.
struct Cause {
    const char* words;
    const char* meaning;
};
constexpr Cause Causes[] = {
    {"s long, its source", "動画が途中で途切れています (ダウンロードが終わっていないなど)"},
    {"still being written", "録画中かダウンロード中で、まだ書き込まれている途中です"},
    {"has no video", "映像が入っていません (音声だけのファイルなど)"},
    {"No space left on device", "保存先の空きが足りません"},
    {"Disk quota exceeded", "保存先の空きが足りません"},
    {"File too large", "保存先に入らない大きさです"},
    {"Permission denied", "ファイルを読み書きする許可がありません"},
    {"Invalid data found when processing input", "動画ファイルではないか、壊れています"},
    {"moov atom not found", "動画ファイルではないか、壊れています"},
    {"End of file", "動画ファイルではないか、壊れています"},
    {"Decoder (codec", "この動画の形式 (コーデック) には対応していません"},
    {"does not contain any stream", "映像も音声も入っていません"},
    {"the output is incomplete", "出力ファイルを最後まで書けませんでした"},
};

} // namespace

QString PlainCause(const QString& words)
{
    const auto cause = std::find_if(std::begin(Causes), std::end(Causes), [&words](const Cause& cause) {
        return words.contains(QLatin1String(cause.words));
    });
    return cause != std::end(Causes) ? QString::fromUtf8(cause->meaning) : QString();
}

namespace
{

// Why a file failed in plain Japanese; with `encoderWords`, the encoder's own message after it.
QString whyFailed(const FileFailure& failure, bool encoderWords)
{
    QString reason;
    if (failure.SameFile)
        reason = QStringLiteral("入力ファイルと出力ファイルが同じです");
    else if (failure.Signal != 0)
        reason = QStringLiteral("エンコーダがシグナル %1 (SIG%2) で強制終了されました")
                     .arg(failure.Signal)
                     .arg(QString::fromLatin1(sigabbrev_np(failure.Signal)));
    if (reason.isEmpty())
        reason = PlainCause(failure.Reason);
    if (reason.isEmpty())
        reason = QStringLiteral("エンコーダがエラーで終了しました (終了コード %1)").arg(failure.ExitCode);
    if (encoderWords && !failure.Reason.isEmpty())
        reason += QStringLiteral(": ") + failure.Reason;
    return reason;
}

// A header, then one line per file, named by its file name, or by its path where another failed
// file has the same name.
QStringList failureLines(const QList<FileFailure>& failures, bool encoderWords)
{
    QHash<QString, int> sameName;
    for (const FileFailure& failure : failures)
        ++sameName[failure.Name];
    QStringList lines{QStringLiteral("次のファイルは変換できませんでした。")};
    for (const FileFailure& failure : failures) {
        const bool byPath = sameName.value(failure.Name) > 1 && !failure.Source.isEmpty();
        lines << Printable(byPath ? failure.Source : failure.Name) + QStringLiteral(" : ") +
                     Printable(whyFailed(failure, encoderWords));
    }
    return lines;
}

} // namespace

QString FailureReport(const QList<FileFailure>& failures)
{
    return failureLines(failures, true).join(u'\n');
}

QString FailureSummary(const QList<FileFailure>& failures, int shown)
{
    QStringList lines = failureLines(failures, false);
    const int more = int(lines.size()) - 1 - shown;
    if (more <= 0)
        return lines.join(u'\n');
    lines.resize(1 + shown);
    return lines.join(u'\n') + QStringLiteral("\nほか %1 件").arg(more);
}

QString SkippedReport(int skipped)
{
    return QStringLiteral("変換済みのファイルがあるため、%1 件をスキップしました。").arg(skipped);
}

QString LeftOutReport(const QStringList& leftOut)
{
    if (leftOut.isEmpty())
        return QString();
    return QStringLiteral("次のファイルは、元のファイルの一部を入れずに変換しました。\n") +
           leftOut.join(u'\n');
}

QString DamageReport(const QStringList& damaged)
{
    if (damaged.isEmpty())
        return QString();
    return QStringLiteral("次のファイルは変換しましたが、元のファイルに壊れたところがあり、その部分は"
                          "正しく映らないことがあります。\n") +
           damaged.join(u'\n');
}

QString SameFileReport(const QStringList& sameFiles)
{
    if (sameFiles.isEmpty())
        return QString();
    return QStringLiteral(
               "次のファイルは、ほかに指定されたファイルと同じファイルのため、一度だけ変換しました。\n") +
           sameFiles.join(u'\n');
}

QString RunSummary(const BatchResult& result)
{
    QString summary = QStringLiteral("%1 件を変換しました").arg(result.Converted);
    QStringList notes;
    if (!result.Failures.isEmpty())
        notes << QStringLiteral("失敗 %1 件").arg(result.Failures.size());
    if (!result.Damaged.isEmpty())
        notes << QStringLiteral("元が壊れていたもの %1 件").arg(result.Damaged.size());
    if (!notes.isEmpty())
        summary += QStringLiteral("（") + notes.join(QStringLiteral("、")) + QStringLiteral("）");
    return summary;
}
