#pragma once

#include "conversion/ProgressView.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class FadeButton;
class QCloseEvent;
class GradientProgressBar;
class QLabel;
class TLabel;
struct ConversionState;

// The small always-on-top window shown while a batch run lasts: file pair, sizes, thumbnail,
// batch progress and a cancel button for the running encoder.
class TProgressForm1 : public QWidget, public ProgressView
{
public:
    // `state` is read on every timer tick; `cancelEncoder` ends the running encoder and says
    // whether there was one to end.
    TProgressForm1(QWidget* owner, const ConversionState& state, std::function<bool()> cancelEncoder);

    // The bar counts BarStepsPerFile steps for each file, so that it moves within a file.
    static constexpr int BarStepsPerFile = 1000;

    void SetBarMax(int files) override;
    void ShowProgress(const RunProgress& progress) override;
    void SetCaption(const QString& caption) override;
    void ClearThumbnail() override;
    void ShowThumbnail(const QImage& picture) override;
    int PictureScale() const override;
    void SetTimerEnabled(bool enabled) override;

    void Timer1Timer();
    void Button1Click(QObject* Sender);

    QLabel* Image1;
    TLabel* Label1;
    TLabel* Label2;
    GradientProgressBar* ProgressBar1;
    FadeButton* Button1;
    QTimer Timer1;

protected:
    // The window lasts as long as its run: a close request (Alt+F4) would leave the run with no
    // way to cancel it, so it is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    void showSizes();

    const ConversionState& m_state;
    std::function<bool()> m_cancelEncoder;
    std::optional<int> m_secondsLeft;
};
