#pragma once

#include "conversion/ProgressView.h"

#include <QWidget>
#include <functional>
#include <optional>

class FadeButton;
class QCloseEvent;
class GradientProgressBar;
class QLabel;
class TLabel;

// The small always-on-top window shown while a batch run lasts: file pair, sizes, thumbnail,
// batch progress and a cancel button for the running encoder. It shows what the run tells it.
class TProgressForm1 : public QWidget, public ProgressView
{
public:
    // `cancelEncoder` ends the running encoder and says whether there was one to end.
    TProgressForm1(QWidget* owner, std::function<bool()> cancelEncoder);

    // The bar counts BarStepsPerFile steps for each file, so that it moves within a file.
    static constexpr int BarStepsPerFile = 1000;

    void SetBarMax(int files) override;
    void ShowProgress(const RunProgress& progress) override;
    void SetCaption(const QString& caption) override;
    void ShowSizes(qint64 source, qint64 output) override;
    void ClearThumbnail() override;
    void ShowThumbnail(const QByteArray& jpeg) override;
    int PictureScale() const override;

    void Button1Click(QObject* Sender);

    QLabel* Image1;
    TLabel* Label1;
    TLabel* Label2;
    GradientProgressBar* ProgressBar1;
    FadeButton* Button1;

protected:
    // The window lasts as long as its run: a close request (Alt+F4) would leave the run with no
    // way to cancel it, so it is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    void showSizes();

    std::function<bool()> m_cancelEncoder;
    std::optional<int> m_secondsLeft;
    qint64 m_sourceSize = -1;
    qint64 m_outputSize = -1;
};
