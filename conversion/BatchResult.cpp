#include "conversion/BatchResult.h"

#include "platform/Printable.h"

#include <QHash>
#include <cstring>

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

QString whyFailed(const FileFailure& failure)
{
    QString reason;
    if (failure.SameFile)
        reason = QStringLiteral("入力ファイルと出力ファイルが同じです");
    else if (failure.Signal != 0)
        reason = QStringLiteral("エンコーダがシグナル %1 (SIG%2) で強制終了されました")
                     .arg(failure.Signal)
                     .arg(QString::fromLatin1(sigabbrev_np(failure.Signal)));
    else
        reason = QStringLiteral("エンコーダがエラーで終了しました (終了コード %1)").arg(failure.ExitCode);
    if (!failure.Reason.isEmpty())
        reason += QStringLiteral(": ") + failure.Reason;
    return reason;
}

} // namespace

QString FailureReport(const QList<FileFailure>& failures)
{
    QHash<QString, int> sameName;
    for (const FileFailure& failure : failures)
        ++sameName[failure.Name];
    QString report = QStringLiteral("次のファイルは変換できませんでした。");
    for (const FileFailure& failure : failures) {
        const bool byPath = sameName.value(failure.Name) > 1 && !failure.Source.isEmpty();
        report += u'\n' + Printable(byPath ? failure.Source : failure.Name) + QStringLiteral(" : ") +
                  Printable(whyFailed(failure));
    }
    return report;
}

QString FailureSummary(const QList<FileFailure>& failures, int shown)
{
    QStringList lines = FailureReport(failures).split(u'\n');
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

QString RunSummary(const BatchResult& result)
{
    QString summary = QStringLiteral("%1 件を変換しました").arg(result.Converted);
    if (!result.Failures.isEmpty())
        summary += QStringLiteral("（失敗 %1 件）").arg(result.Failures.size());
    return summary;
}
