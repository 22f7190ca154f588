#include "app/MainWindow1.h"

#include "app/InfoPage.h"
#include "app/MainWindowParts.h"
#include "app/PresetChooser.h"
#include "app/ProgressWindow1.h"
#include "app/ScreenPlacement.h"
#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/MCCBox.h"
#include "controls/NewHint.h"
#include "conversion/BatchRun.h"
#include "platform/Application.h"
#include "platform/Desktop.h"
#include "platform/DesktopNotification.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/ProgramTitle.h"
#include "platform/StockControls.h"
#include "platform/WindowDragger.h"
#include "settings/Preset.h"
#include "settings/SavedSettings.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QListView>
#include <QMimeData>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace
{

// What of the window must stay on some screen for it to be placed where it was saved.
constexpr QSize TitleStrip{400, 25};

constexpr int SearchCountIntervalMs = 100;

} // namespace

TMainForm1::TMainForm1(const ProgramFiles& files, const QStringList& arguments,
                       const QStringList& argumentsNotText, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), m_session(files), Inputs(m_session.Inputs()),
      m_arguments(arguments), m_argumentsNotText(argumentsNotText)
{
    if (m_session.PresetsProblem())
        throw Exception(*m_session.PresetsProblem());
    setWindowTitle(ProgramTitle);
    setFixedSize(400, 570);
    move(MainWindowStart);
    setFont(Fonts::Pixel(Fonts::UiGothic, 12));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
    setAcceptDrops(true);
    new WindowDragger(this);
    AppHint1 = makeAppHint(this);

    buildTitleStrip();
    buildInputArea();
    buildManualSettings();
    buildOutputArea();
    buildTitleButtons();
    FillPresetList(*C2_00, m_session.Presets());
    wireHandlers();
    wireSettingsControls();
}

TMainForm1::~TMainForm1() = default;

void TMainForm1::wireHandlers()
{
    using namespace std::placeholders;
    const std::pair<FadeButton*, void (TMainForm1::*)(QObject*)> clicks[] = {
        {Button1, &TMainForm1::Button1Click},   {Button2, &TMainForm1::Button2Click},
        {Button3, &TMainForm1::Button3Click},   {Button4, &TMainForm1::Button4Click},
        {Button10, &TMainForm1::Button10Click}, {Button11, &TMainForm1::Button11Click},
        {Button5, &TMainForm1::Button5Click}};
    for (const auto& [button, handler] : clicks)
        connect(button, &FadeButton::clicked, this,
                [this, button = button, handler = handler] { (this->*handler)(button); });
    C1_03->OnChange = std::bind(&TMainForm1::C1_03Change, this, _1);
    C1_03->OnEditingFinished = std::bind(&TMainForm1::C1_03Change, this, _1);
    C2_00->OnChange = std::bind(&TMainForm1::C2_00Change, this, _1);
    Inputs.OnChange = [this](QObject*) { inputsChanged(); };
    connect(&m_session, &Session::RunFinished, this, &TMainForm1::runFinished);
    connect(&m_session, &Session::PathsTaken, this, &TMainForm1::pathsTaken);
    m_searchCount = new QTimer(this);
    m_searchCount->setInterval(SearchCountIntervalMs);
    connect(m_searchCount, &QTimer::timeout, this, &TMainForm1::showSearchCount);
    wireKeys();
}

QStringList TMainForm1::InputFiles() const
{
    return Inputs.Paths();
}

void TMainForm1::inputsChanged()
{
    const bool searching = m_session.TakingPaths();
    Panel11->setVisible(!Inputs.HasFiles() || searching);
    if (!searching)
        Label11->setText(DropCaption);
    Button10->SetEnabled(Inputs.HasFiles() && !searching);
    Button11->SetEnabled(Inputs.HasFiles() && !searching);
}

void TMainForm1::showSearchCount()
{
    Label11->setText(QStringLiteral("[ 検索中 %1 件 (Esc で中止) ]").arg(m_session.PathsFoundSoFar()));
}

// Ctrl+Enter starts "[ 変換開始 ]" and Ctrl+Shift+Enter "[ 変換後 iTunes登録 ]" when they can start;
// Delete takes the selected files off the list; Escape stops a search.
void TMainForm1::wireKeys()
{
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, &m_session,
            &Session::StopTakingPaths);
    for (FadeButton* button : {Button10, Button11}) {
        const Qt::KeyboardModifiers modifiers =
            button == Button10 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
        for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
            connect(new QShortcut(QKeyCombination(modifiers, enter), this), &QShortcut::activated, this,
                    [button] {
                        if (button->Enabled())
                            button->click();
                    });
        }
    }
    auto* remove = new QShortcut(QKeySequence::Delete, ListBox1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &TMainForm1::removeSelectedFiles);
}

// Takes the selected files off the list and selects the file after them, so that Delete can go on.
void TMainForm1::removeSelectedFiles()
{
    QList<int> rows;
    for (const QItemSelectionRange& range : ListBox1->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows << row;
    }
    if (rows.isEmpty())
        return;
    const int first = *std::min_element(rows.cbegin(), rows.cend());
    Inputs.RemoveAt(rows);
    if (Inputs.HasFiles())
        ListBox1->setCurrentIndex(Inputs.Model()->index(std::min(first, Inputs.Count() - 1), 0));
}

// Adds to the input list, searching folders in the background while the window shows the count.
void TMainForm1::addPaths(const QStringList& paths, const QStringList& notText)
{
    m_session.TakePaths(paths, notText);
    // Nothing to take (a start without paths) is no search: the drop panel keeps its caption.
    if (m_session.TakingPaths()) {
        showSearchCount();
        m_searchCount->start();
    }
    inputsChanged();
}

// Names, in one message, what could not be taken.
void TMainForm1::pathsTaken(const QString& report)
{
    if (!m_session.TakingPaths())
        m_searchCount->stop();
    inputsChanged();
    if (!report.isEmpty())
        Messages::Show(report, this);
}

void TMainForm1::showProblems(const QStringList& problems)
{
    for (const QString& problem : problems)
        Messages::Show(problem, this);
}

void TMainForm1::Button5Click(QObject*)
{
    Inputs.Clear();
}

void TMainForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !m_session.Running())
        event->acceptProposedAction();
}

void TMainForm1::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    addPaths(paths);
    event->acceptProposedAction();
}

void TMainForm1::Button10Click(QObject*)
{
    StartConversion(RunMode::Save);
}

void TMainForm1::Button11Click(QObject*)
{
    StartConversion(RunMode::SaveAndRegister);
}

void TMainForm1::StartConversion(RunMode mode)
{
    m_runMode = mode;
    if (!Inputs.HasFiles() || m_session.Running() || m_session.TakingPaths())
        return;
    // A window of its own: disabling the main window must leave its cancel button usable.
    m_progress =
        std::make_unique<TProgressForm1>(nullptr, [this] { return m_session.CancelRunningPasses(); });
    m_progress->show();
    // Its cancel button is then a Tab away for a user of the keyboard.
    m_progress->activateWindow();
    lockForRun(true);
    if (!m_thumbnailFolder)
        m_thumbnailFolder.emplace();
    m_session.Start({m_runMode, false, false, 1, m_thumbnailFolder->Path()}, *m_progress);
}

// During a run the list and the settings stay as they are, while the title strip still moves,
// minimises and closes the window (closing asks first). Only what was enabled is locked, and so
// unlocked again.
void TMainForm1::lockForRun(bool locked)
{
    if (!locked) {
        for (QWidget* widget : std::exchange(m_lockedForRun, {}))
            widget->setEnabled(true);
        return;
    }
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !child->isEnabled() || m_titleStrip.contains(child))
            continue;
        child->setEnabled(false);
        m_lockedForRun << child;
    }
}

void TMainForm1::Shutdown()
{
    m_shuttingDown = true;
    if (m_session.Running()) {
        m_session.Interrupt(); // its end brings us back here
        return;
    }
    close();
    QCoreApplication::quit();
}

void TMainForm1::runFinished(const BatchResult& result)
{
    // Someone who is not watching learns of the end from the desktop; asked before the progress
    // window, which may hold the activation, goes.
    if (!m_shuttingDown && !QApplication::activeWindow())
        DesktopNotification::Send(ProgramTitle + QStringLiteral(": ") + RunSummary(result),
                                  EndMessage(result));
    // A finished run must not look like one still going while its messages are read.
    m_progress->hide();
    // Released once the signal that brought us here has returned.
    m_progress.release()->deleteLater();
    lockForRun(false);
    if (m_shuttingDown) {
        Shutdown();
        return;
    }
    const QString endMessage = EndMessage(result);
    if (!endMessage.isEmpty())
        Messages::Show(endMessage, this);
    if (!result.Failures.isEmpty())
        Messages::Show(FailureSummary(result.Failures), this, FailureReport(result.Failures));
    bool told = !endMessage.isEmpty() || !result.Failures.isEmpty();
    if (result.Skipped > 0)
        Messages::Show(SkippedReport(result.Skipped), this);
    for (const QString& report :
         {LeftOutReport(result.LeftOut), DamageReport(result.Damaged), SameFileReport(result.SameFiles)}) {
        if (!report.isEmpty())
            Messages::Show(report, this);
        told = told || !report.isEmpty();
    }
    if (!told && result.Skipped == 0)
        Messages::Beep();
}

void TMainForm1::Button1Click(QObject*)
{
    close();
}

void TMainForm1::Button2Click(QObject*)
{
    showMinimized();
}

void TMainForm1::Button3Click(QObject*)
{
    const QString readme = ProgramFolder() + QStringLiteral("/Readme.txt");
    // Without a desktop to open it with, the user still learns where the guide is.
    if (!Desktop::OpenDocument(readme))
        Messages::Show(
            QStringLiteral(
                "ユーザーズガイドを開けませんでした。\nテキストエディタで次のファイルを開いてください。\n") +
                readme,
            this);
}

void TMainForm1::Button4Click(QObject*)
{
    Desktop::OpenUrl(InfoPageUrl(QCoreApplication::applicationFilePath()));
}

void TMainForm1::C1_03Change(QObject*)
{
    // What the user types stays as typed; a finished path, a chosen one and a loaded one lose
    // their trailing separator and have a leading "~" made the home folder (which brings us back
    // here, nested, with nothing left to change).
    if (!C1_03->IsEditing())
        C1_03->SetPath(Paths::UsableFolder(C1_03->Path()));
    C1_03->setToolTip(C1_03->Path());
    m_session.Settings().Conversion.OutputFolder = C1_03->Path();
}

void TMainForm1::C2_00Change(QObject*)
{
    const std::optional<QString> problem = m_session.ChoosePreset(C2_00->ItemIndex());
    showSettings();
    if (problem)
        Messages::Show(*problem, this);
}

// A Wayland compositor places windows itself and tells no one where: the saved position is kept
// for X11 rather than fought over.
static bool placesWindows()
{
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

void TMainForm1::FormActivate(QObject*)
{
    if (Tag != 0)
        return;
    if (placesWindows())
        m_session.Settings().WindowPosition = pos();
    const QStringList problems = m_session.Load();
    if (placesWindows())
        move(PlaceOnScreens(m_session.Settings().WindowPosition, TitleStrip, ScreenAreas()));
    showSettings();
    // Shown once; the saved values and the paths still arrive.
    showProblems(problems);
    addPaths(m_arguments, m_argumentsNotText);
    Tag = 1;
}

void TMainForm1::FormClose(QObject*)
{
    if (placesWindows())
        m_session.Settings().WindowPosition = pos();
    // Reported, and the window closes all the same: the user is never kept from leaving.
    if (const std::optional<QString> problem = m_session.Save())
        Messages::Show(*problem, this);
}

// Every control of a remembered setting writes its value back as the user changes it.
void TMainForm1::wireSettingsControls()
{
    ConversionSettings& conversion = m_session.Settings().Conversion;
    connect(DigitBar1, &TDigitBar::changed, this,
            [this, &conversion] { conversion.FrameRate = DigitBar1->Position(); });
    connect(DigitBar2, &TDigitBar::changed, this,
            [this, &conversion] { conversion.VideoBitRate = DigitBar2->Position(); });
    connect(DigitBar3, &TDigitBar::changed, this,
            [this, &conversion] { conversion.AudioBitRate = DigitBar3->Position(); });
    connect(TrackBar1, &QSlider::valueChanged, this,
            [&conversion](int index) { conversion.SampleRateIndex = index; });
    connect(TrackBar2, &QSlider::valueChanged, this,
            [&conversion](int index) { conversion.PictureSizeIndex = index; });
    connect(CheckBox1, &QCheckBox::toggled, this, [&conversion](bool on) { conversion.TwoPass = on; });
}

void TMainForm1::showSettings()
{
    const ConversionSettings conversion = m_session.Settings().Conversion;
    C2_00->SetItemIndex(m_session.Settings().PresetIndex);
    DigitBar1->SetPosition(conversion.FrameRate);
    DigitBar2->SetPosition(conversion.VideoBitRate);
    TrackBar1->setValue(conversion.SampleRateIndex);
    DigitBar3->SetPosition(conversion.AudioBitRate);
    TrackBar2->setValue(conversion.PictureSizeIndex);
    C1_03->SetPath(conversion.OutputFolder);
    CheckBox1->setChecked(conversion.TwoPass);
}

void TMainForm1::closeEvent(QCloseEvent* event)
{
    // Closing during a run (×, Alt+F4, the window manager) may stop the whole run, which ends
    // first and brings us back here.
    if (m_session.Running() && !m_shuttingDown) {
        event->ignore();
        if (Messages::Ask(QStringLiteral("変換を中止しますか？"), this))
            Shutdown();
        return;
    }
    if (m_session.Running()) {
        event->ignore();
        return;
    }
    FormClose(this);
    event->accept();
}

bool TMainForm1::event(QEvent* event)
{
    // Loaded when first shown: a compositor that does not activate new windows (focus-stealing
    // prevention, a headless one) would otherwise leave an empty window.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
        FormActivate(this);
    return QWidget::event(event);
}
