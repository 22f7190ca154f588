#include "app/MainWindow1.h"

#include "app/MainWindowParts.h"
#include "app/PresetChooser.h"
#include "app/Version.h"
#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/MCCBox.h"
#include "controls/NewHint.h"
#include "controls/ShadoLbl.h"
#include "controls/WindowButton.h"
#include "platform/CheckBoxStyle.h"
#include "platform/DesignColors.h"
#include "platform/Fonts.h"
#include "platform/ProgramTitle.h"
#include "platform/StockControls.h"
#include "platform/SystemColors.h"
#include "platform/TrackBarStyle.h"
#include "settings/EncodingTables.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QSlider>
#include <algorithm>
#include <utility>

// How the main window is laid out: its panels and controls where the design puts them.

using namespace DesignColors;

void TMainForm1::buildTitleStrip()
{
    auto* strip = new TShape(this, QRect(0, 0, 400, 25), Olive, Olive);
    const QString caption = QStringLiteral("◆ %1 ver.%2").arg(ProgramTitle, KorumiVersion);
    auto* title = new TLabel(this, caption, QPoint(8, 6), Qt::white, Olive);
    title->setFont(Fonts::Pixel(Fonts::Tahoma, 11, true));
    title->adjustSize();
    new TShape(this, QRect(0, 23, 400, 547), Qt::transparent, ColorOf(SystemColor::Grey), 2);
    new TShape(this, QRect(8, 32, 386, 160), Olive, Silver);
    new TShape(this, QRect(8, 464, 386, 98), Olive, Silver);
    new TShape(this, QRect(18, 198, 366, 260), Olive, Silver);
    m_titleStrip = {strip, title};
}

// Made after the rest of the window: the window's own buttons come last in the Tab order, and
// the focus starts in the input list.
void TMainForm1::buildTitleButtons()
{
    auto* panel0 = new TPanel(this, QRect(290, 2, 104, 20), Olive, TBevelCut::bvNone);
    m_titleStrip << panel0;
    Button4 = makeButton(panel0, QStringLiteral("info."), QRect(0, 0, 40, 20),
                         QStringLiteral(" インフォメーション"));
    Button3 =
        makeButton(panel0, QStringLiteral("?"), QRect(44, 0, 20, 20), QStringLiteral(" ユーザーズガイド"));
    Button2 = makeButton(panel0, QStringLiteral("_"), QRect(64, 0, 20, 20), QStringLiteral(" 最小化"));
    Button1 = makeButton(panel0, QStringLiteral("×"), QRect(84, 0, 20, 20), QStringLiteral(" 閉じる"));
    // Glyphs say nothing to a screen reader: the buttons are named by what they do.
    const std::pair<FadeButton*, const char16_t*> names[] = {{Button4, u"情報ページを開く"},
                                                             {Button3, u"ユーザーズガイド"},
                                                             {Button2, u"最小化"},
                                                             {Button1, u"閉じる"}};
    for (const auto& [button, name] : names) {
        DressWindowButton(*button, DimOlive, true);
        button->setAccessibleName(QString::fromUtf16(name));
    }
}

void TMainForm1::buildInputArea()
{
    auto* panel1 = new TPanel(this, QRect(6, 30, 386, 160), Cream, TBevelCut::bvNone, TBevelCut::bvLowered);

    ListBox1 = new QListView(panel1);
    ListBox1->setModel(Inputs.Model());
    ListBox1->setGeometry(6, 8, 374, 120);
    GiveHint(*ListBox1, QStringLiteral(" 変換対象ファイル"));
    ListBox1->setAccessibleName(QStringLiteral("変換対象ファイル"));
    ListBox1->setFont(Fonts::Pixel(Fonts::UiGothic, 11));
    SetUpListBox(*ListBox1, 11);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);

    Panel11 = new TPanel(panel1, QRect(6, 8, 374, 120), Cream, TBevelCut::bvLowered);
    Panel11->setCursor(Qt::CrossCursor);
    GiveHint(*Panel11, QStringLiteral(" ここにファイルをドロップ(複数可)"));
    Label11 = new TLabel(Panel11, DropCaption, QPoint(0, 0), TextGrey);
    Label11->setFont(Fonts::Pixel(Fonts::UiGothic, 16, true));
    Label11->setGeometry(Panel11->rect());
    Label11->setAlignment(Qt::AlignCenter);

    TShadowLabel* presetCaption =
        makeCaption(panel1, QStringLiteral("おまかせ-"), QPoint(8, 138), Qt::AlignRight);
    C2_00 = makeCombo(panel1, QRect(64, 134, 286, 19), QStringLiteral(" おまかせ設定"));
    // A combo box is named by what it shows; the caption labels it.
    presetCaption->setBuddy(C2_00);
    Button5 =
        makeButton(panel1, QStringLiteral("Del"), QRect(360, 128, 20, 18), QStringLiteral(" 一覧をｸﾘｱ"));
    DressWindowButton(*Button5, Olive, false);
    Button5->setFont(Fonts::Pixel(Fonts::UiGothic, 9, true));

    SetUpPresetList(*C2_00);
}

void TMainForm1::buildManualSettings()
{
    auto* panel5 = new TPanel(this, QRect(16, 196, 366, 260), Cream, TBevelCut::bvNone, TBevelCut::bvLowered);

    const ConversionSettings start;
    DigitBar1 = makeDigitBar(
        panel5, {24, Ranges::FrameRate, start.FrameRate, VideoTint, QStringLiteral(" 動画のﾌﾚｰﾑﾚｰﾄ")});
    DigitBar2 = makeDigitBar(
        panel5, {104, Ranges::VideoBitRate, start.VideoBitRate, VideoTint, QStringLiteral(" 動画のﾋﾞｯﾄﾚｰﾄ")});
    TrackBar1 = makeTrackBar(panel5, Qt::Vertical, QRect(224, 8, 40, 160), Ranges::SampleRateIndex.Max,
                             start.SampleRateIndex, QStringLiteral(" 音声のｻﾝﾌﾟﾙﾚｰﾄ"));
    // Position 0 (the highest rate) is at the top of the vertical bar.
    TrackBar1->setInvertedAppearance(true);
    TrackBar1->setInvertedControls(true);
    SetThumbLength(*TrackBar1, 30);
    DigitBar3 = makeDigitBar(
        panel5, {300, Ranges::AudioBitRate, start.AudioBitRate, AudioTint, QStringLiteral(" 音声のﾋﾞｯﾄﾚｰﾄ")});

    // Beside TrackBar1's positions, right-aligned against it: a little below the top of the handle
    // at each rate, and no lower than the handles reach.
    constexpr int RateCaptionDrop = 3;
    const QList<QRect> rateHandles = handleRects(*TrackBar1);
    int handlesEnd = 0;
    for (const QRect& handle : rateHandles)
        handlesEnd = std::max(handlesEnd, handle.bottom() + 1);
    QStringList rateCaptions;
    for (size_t i = 0; i < SampleRates.size(); ++i) {
        rateCaptions << QString::number(SampleRates[i]) + QStringLiteral("Hz");
        auto* label =
            new TLabel(panel5, rateCaptions.last(), QPoint(0, 0), TextGrey, Qt::transparent, Qt::AlignRight);
        const int top = rateHandles.at(static_cast<int>(i)).top() + RateCaptionDrop;
        label->move(TrackBar1->x() - label->width(), std::min(top, handlesEnd - label->height()));
    }
    TrackBar1->SetValues({SampleRates.begin(), SampleRates.end()}, rateCaptions);

    captionUnder(*DigitBar1, 44, QStringLiteral("動画ﾌﾚｰﾑﾚｰﾄ"), QStringLiteral("(fps)"));
    captionUnder(*DigitBar2, 124, QStringLiteral("動画ﾋﾞｯﾄﾚｰﾄ"), QStringLiteral("(kbps)"));
    captionUnder(*TrackBar1, 244, QStringLiteral("音声ｻﾝﾌﾟﾙﾚｰﾄ"), QStringLiteral("(Hz)"));
    captionUnder(*DigitBar3, 320, QStringLiteral("音声ﾋﾞｯﾄﾚｰﾄ"), QStringLiteral("(kbps)"));

    new TBevel(panel5, QRect(168, 16, 4, 173));
    new TBevel(panel5, QRect(8, 201, 345, 4));

    makeCaption(panel5, QStringLiteral("ｻｲｽﾞ-"), QPoint(32, 236));
    TrackBar2 = makeTrackBar(panel5, Qt::Horizontal, QRect(64, 220, 284, 30), Ranges::PictureSizeIndex.Max,
                             start.PictureSizeIndex, QStringLiteral(" 動画のｻｲｽﾞ"));
    ShowFocusFrame(*TrackBar2);
    TrackBar2->setAccessibleName(QStringLiteral("ｻｲｽﾞ"));
    // Over TrackBar2, one caption at each step of an even scale that starts a little before the bar
    // and falls short of its end; the last caption stays inside the panel's edge.
    constexpr int SizeScaleLead = 9;
    constexpr int SizeScaleShortfall = 23;
    constexpr int PanelEdge = 2;
    const int lastSize = static_cast<int>(PictureSizes.size()) - 1;
    QStringList sizeCaptions;
    QList<int> widths; // the value a step stands for: its picture's width
    for (int i = 0; i <= lastSize; ++i) {
        sizeCaptions << QString::fromLatin1(PictureSizes[i].Size);
        widths << sizeCaptions.last().section(u'x', 0, 0).toInt();
        auto* label = new TLabel(panel5, sizeCaptions.last(), QPoint(0, 212), TextGrey);
        label->setFont(Fonts::Pixel(Fonts::UiGothic, 11));
        label->adjustSize();
        const int step =
            QStyle::sliderPositionFromValue(0, lastSize, i, TrackBar2->width() - SizeScaleShortfall);
        const int left = TrackBar2->x() - SizeScaleLead + step;
        label->move(std::min(left, panel5->width() - PanelEdge - label->width()), label->y());
    }
    TrackBar2->SetValues(widths, sizeCaptions);
}

void TMainForm1::buildOutputArea()
{
    auto* panel3 = new TPanel(this, QRect(6, 462, 386, 98), Cream, TBevelCut::bvNone, TBevelCut::bvLowered);

    makeCaption(panel3, QStringLiteral("保存先-"), QPoint(8, 12));
    C1_03 = new TBrowseEdit(panel3);
    C1_03->setGeometry(54, 8, 326, 19);
    GiveHint(*C1_03, QStringLiteral(" 保存先のﾌｫﾙﾀﾞ"));
    C1_03->SetCaption(QStringLiteral("保存先"));
    C1_03->setFont(Fonts::Pixel(Fonts::UiGothic, 11));
    C1_03->SetFontColor(TextGrey);
    C1_03->SetCursor(Qt::PointingHandCursor);
    C1_03->SetBlinkRate(200);
    C1_03->SetStartWithLast(true);
    // Files dropped on the field go to the input list like everywhere else on the window.
    C1_03->Edit()->setAcceptDrops(false);

    CheckBox1 = new QCheckBox(QStringLiteral("2パスエンコード(変換時間2倍)"), panel3);
    CheckBox1->setGeometry(54, 32, 180, 12);
    GiveHint(*CheckBox1, QStringLiteral(" 2ﾊﾟｽｴﾝｺｰﾄﾞの有無"));
    FitCheckIndicator(*CheckBox1);

    Button10 = makeButton(panel3, QStringLiteral("[ 変換開始 ]"), QRect(20, 52, 172, 40),
                          QStringLiteral(" 変換後⇒ﾌｧｲﾙ保存 (Ctrl+Enter)"));
    Button11 = makeButton(panel3, QStringLiteral("[ 変換後 iTunes登録 ]"), QRect(198, 52, 172, 40),
                          QStringLiteral(" 変換後⇒iTunes登録 (Ctrl+Shift+Enter)"));
    for (FadeButton* button : {Button10, Button11}) {
        DressWindowButton(*button, Olive, false);
        button->SetBorderHeight(2);
        button->SetEnabled(false);
    }
}
