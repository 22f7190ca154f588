#include "conversion/BatchResult.h"

QString FailureReport(const QList<FileFailure>& failures)
{
    QString report = QStringLiteral("次のファイルは変換できませんでした。");
    for (const FileFailure& failure : failures) {
        const QString reason =
            failure.SameFile
                ? QStringLiteral("入力ファイルと出力ファイルが同じです")
                : QStringLiteral("エンコーダがエラーで終了しました (終了コード %1)").arg(failure.ExitCode);
        report += u'\n' + failure.Name + QStringLiteral(" : ") + reason;
    }
    return report;
}
