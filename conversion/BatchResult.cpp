#include "conversion/BatchResult.h"

#include "platform/Printable.h"

QString EndMessage(const BatchResult& result)
{
    switch (result.End) {
    case RunEnd::Completed:
    case RunEnd::Interrupted: // whoever stopped the run knows
        break;
    case RunEnd::NoOutputFolder:
        return QStringLiteral("保存先フォルダが指定されていません。");
    case RunEnd::OutputFolderFailed:
        return QStringLiteral("保存先フォルダ %1 を作成できません。処理を中止します。")
            .arg(Printable(result.Reason));
    case RunEnd::EncoderMissing:
        return QStringLiteral("ffmpeg.exe を起動できませんでした。処理を中止します。");
    case RunEnd::FfmpegMissing:
        return QStringLiteral("ffmpeg が見つかりません。処理を中止します。");
    case RunEnd::Aborted:
        return QStringLiteral("非対応フォーマットが含まれていました。処理を中止します。\n") +
               Printable(result.Reason);
    }
    return QString();
}

QString FailureReport(const QList<FileFailure>& failures)
{
    QString report = QStringLiteral("次のファイルは変換できませんでした。");
    for (const FileFailure& failure : failures) {
        QString reason =
            failure.SameFile
                ? QStringLiteral("入力ファイルと出力ファイルが同じです")
                : QStringLiteral("エンコーダがエラーで終了しました (終了コード %1)").arg(failure.ExitCode);
        if (!failure.Reason.isEmpty())
            reason += QStringLiteral(": ") + failure.Reason;
        report += u'\n' + Printable(failure.Name) + QStringLiteral(" : ") + Printable(reason);
    }
    return report;
}

QString SkippedReport(int skipped)
{
    return QStringLiteral("変換済みのファイルがあるため、%1 件をスキップしました。").arg(skipped);
}
