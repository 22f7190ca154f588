#include "app/ProgressWindow1.h"

#include "app/MainWindowParts.h"

#include "controls/FadeButton.h"
#include "controls/GradientProgressBar.h"
#include "controls/WindowButton.h"
#include "conversion/SizeCaption.h"
#include "conversion/TimeLeft.h"
#include "platform/DesignColors.h"
#include "platform/Fonts.h"
#include "platform/JpegImage.h"
#include "platform/Messages.h"
#include "platform/ProgramTitle.h"
#include "platform/StockControls.h"
#include "platform/SystemColors.h"
#include "platform/WindowDragger.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QtMath>
#include <algorithm>

namespace
{
using namespace DesignColors;

// The × button's panel starts here; the file line keeps clear of it.
constexpr int ButtonLeft = 376;
constexpr int LinesLeft = 96;
constexpr int BarTop = 48;

// A line tall enough for the font's descenders and underscores, which may reach below its
// nominal height.
int LineHeight(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int below = std::max({metrics.descent(), metrics.boundingRect(QStringLiteral("_gjpqy")).bottom(),
                                metrics.underlinePos() + metrics.lineWidth()});
    return metrics.ascent() + below + 1;
}
} // namespace

TProgressForm1::TProgressForm1(QWidget* owner, std::function<bool()> cancelEncoder)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_cancelEncoder(std::move(cancelEncoder))
{
    setWindowTitle(ProgramTitle);
    setAccessibleName(QStringLiteral("変換の進み具合"));
    setFixedSize(401, 72);
    setFont(Fonts::Pixel(Fonts::UiGothic, 12));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
    new WindowDragger(this);

    new TShape(this, QRect(0, 0, 400, 72), Cream, Cream);
    new TShape(this, QRect(5, 5, 82, 62), Qt::black, Qt::white);
    Image1 = new QLabel(this);
    Image1->setGeometry(6, 6, 80, 60);
    Image1->setScaledContents(true);
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image1->setAccessibleName(QStringLiteral("サムネイル"));
    Label1 = new TLabel(this, QStringLiteral("***.*** -> ***.***"), QPoint(LinesLeft, 20), TextGrey, Cream);
    Label2 = new TLabel(this, QStringLiteral("0KB -> 0KB"), QPoint(LinesLeft, 32), TextGrey, Cream);
    // Two lines stacked just above the bar, neither covering the other's descenders.
    const int lineHeight = LineHeight(font());
    const int secondTop = BarTop - 1 - lineHeight;
    Label1->setGeometry(LinesLeft, secondTop - lineHeight, ButtonLeft - 4 - LinesLeft, lineHeight);
    Label2->setGeometry(LinesLeft, secondTop, width() - 5 - LinesLeft, lineHeight);
    for (TLabel* label : {Label1, Label2})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ProgressBar1 = new GradientProgressBar(this);
    ProgressBar1->setGeometry(92, 48, 300, 15);
    ProgressBar1->setAccessibleName(QStringLiteral("全体の進み具合"));
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(10);
    ProgressBar1->SetPosition(0);
    ProgressBar1->SetOrientation(TBarOrientation::orHorizontal);
    ProgressBar1->SetStyle(TBarStyle::sExSolid);
    ProgressBar1->SetBeginColor(ColorOf(SystemColor::Grey));
    ProgressBar1->SetEndColor(Qt::white);
    ProgressBar1->SetBevelOuter(TBevelCut::bvLowered);
    ProgressBar1->SetBarBevelOuter(TBevelCut::bvNone);
    ProgressBar1->SetShowText(true);
    ProgressBar1->SetShowTextStyle(TShowTextStyle::stsPercent);
    ProgressBar1->setFont(Fonts::Pixel(Fonts::UiGothic, 11));
    ProgressBar1->SetFontColor(TextGrey);

    auto* panel1 =
        new TPanel(this, QRect(ButtonLeft, 4, 20, 20), ColorOf(SystemColor::Grey), TBevelCut::bvNone);
    Button1 = new FadeButton(panel1, QStringLiteral("×"));
    Button1->setGeometry(0, 0, 20, 20);
    DressWindowButton(*Button1, Olive, true);
    GiveHint(*Button1, QStringLiteral(" ｷｬﾝｾﾙ"));
    Button1->setAccessibleName(QStringLiteral("このファイルの変換を中止"));
    connect(Button1, &FadeButton::clicked, this, [this] { Button1Click(Button1); });

    // Escape does what × does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { Button1Click(Button1); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TProgressForm1::SetBarMax(int files)
{
    ProgressBar1->SetMax(files * BarStepsPerFile);
}

void TProgressForm1::ShowProgress(const RunProgress& progress)
{
    ProgressBar1->SetPosition(qRound(progress.Fraction * progress.FileCount * BarStepsPerFile));
    m_secondsLeft = progress.SecondsLeft;
}

void TProgressForm1::SetCaption(const QString& caption)
{
    Label1->setText(Label1->fontMetrics().elidedText(caption, Qt::ElideMiddle, Label1->width()));
    repaint();
}

void TProgressForm1::ShowSizes(qint64 source, qint64 output)
{
    m_sourceSize = source;
    m_outputSize = output;
    showSizes();
}

void TProgressForm1::ClearThumbnail()
{
    Image1->clear();
}

void TProgressForm1::ShowThumbnail(const QByteArray& jpeg)
{
    // The picture only adorns the window: one that cannot be decoded is left out.
    try {
        Image1->setPixmap(QPixmap::fromImage(DecodeJpeg(jpeg)));
    } catch (const EJpegError&) {
        Image1->clear();
    }
}

int TProgressForm1::PictureScale() const
{
    return qCeil(devicePixelRatioF());
}

void TProgressForm1::showSizes()
{
    const QString left = m_secondsLeft ? ClockText(*m_secondsLeft) : QStringLiteral("--:--");
    Label2->setText(SizeCaption(m_sourceSize, m_outputSize) + QStringLiteral("  残り ") + left);
}

void TProgressForm1::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void TProgressForm1::Button1Click(QObject*)
{
    if (m_cancelEncoder && m_cancelEncoder())
        return;
    Messages::Show(QStringLiteral("変換を中止できませんでした。"), this);
}
