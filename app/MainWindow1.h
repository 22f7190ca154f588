#pragma once

#include "app/Session.h"
#include "platform/PrivateFolder.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class FadeButton;
class QCheckBox;
class QListView;
class QSlider;
class QTimer;
class TAppHint;
class TBrowseEdit;
class TDigitBar;
class TMultiColComboBox;
class TProgressForm1;
class TPanel;
class TLabel;
class TShadowLabel;
class TTrackBar;

// The main window: a borderless 400 x 570 window with the input list, the preset chooser,
// the manual settings, the output folder and the start buttons. A view of its session: its
// handlers forward to the session and show what comes back.
class TMainForm1 : public QWidget
{
    // First, as the public Inputs refers to its list.
    Session m_session; // what the controls show; the window position is taken at close

public:
    // `files` says where profile.txt, Korumi.ini, Readme.txt and the tools are; `arguments` are
    // the paths given on the command line, taken into the input list at first activation, where
    // `argumentsNotText` (shown as people can read them) are named as not taken. Raises
    // an Exception naming profile.txt when it cannot be read.
    TMainForm1(const ProgramFiles& files, const QStringList& arguments,
               const QStringList& argumentsNotText = {}, QWidget* parent = nullptr);
    ~TMainForm1() override;

    const QString& ProgramFolder() const { return m_session.Files().ProgramFolder; }

    // The paths the next run converts, in list order.
    QStringList InputFiles() const;
    // Whether dropped or given paths are still being searched; the list changes when it ends.
    bool TakingPaths() const { return m_session.TakingPaths(); }

    // First-activation mark: 0 until the first activation's work has completed.
    int Tag = 0;

    // Title strip.
    FadeButton* Button1; // ×
    FadeButton* Button2; // _
    FadeButton* Button3; // ?
    FadeButton* Button4; // info.
    // Input area.
    QListView* ListBox1;
    TPanel* Panel11;
    TLabel* Label11; // the drop panel's caption, or how many files a search has found
    TMultiColComboBox* C2_00;
    FadeButton* Button5;
    // Manual settings.
    TDigitBar* DigitBar1;
    TDigitBar* DigitBar2;
    TDigitBar* DigitBar3;
    TTrackBar* TrackBar1;
    TTrackBar* TrackBar2;
    // Output and start.
    TBrowseEdit* C1_03;
    QCheckBox* CheckBox1;
    FadeButton* Button10;
    FadeButton* Button11;
    // Every hint of the program.
    TAppHint* AppHint1;

    void Button1Click(QObject* Sender);
    void Button5Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void Button10Click(QObject* Sender);
    void Button11Click(QObject* Sender);
    void C1_03Change(QObject* Sender);
    void C2_00Change(QObject* Sender);
    void FormActivate(QObject* Sender);
    void FormClose(QObject* Sender);

    // Converts the input list, handing each file to the media library in the SaveAndRegister mode.
    void StartConversion(RunMode mode);

    // Ends a running conversion as a cancel does, then closes the window as "×" does (the
    // settings are saved) and ends the program, whatever message box is open.
    void Shutdown();

    // The input list: what the next run converts.
    InputList& Inputs;

protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTitleStrip();
    void buildInputArea();
    void buildManualSettings();
    void buildOutputArea();
    void buildTitleButtons();
    void wireHandlers();
    void wireSettingsControls();
    void showSettings();
    void runFinished(const BatchResult& result);
    void lockForRun(bool locked);
    void inputsChanged();
    void addPaths(const QStringList& paths, const QStringList& notText = {});
    void showProblems(const QStringList& problems);
    void pathsTaken(const QString& report);
    void showSearchCount();
    void wireKeys();
    void removeSelectedFiles();

    // Never shared with another Korumi; made when the first batch starts, not at start-up.
    std::optional<PrivateFolder> m_thumbnailFolder;
    QStringList m_arguments;
    QStringList m_argumentsNotText;
    RunMode m_runMode = RunMode::Save;
    bool m_shuttingDown = false;
    std::unique_ptr<TProgressForm1> m_progress;
    QWidgetList m_titleStrip;   // stays usable during a run
    QWidgetList m_lockedForRun; // what a run has disabled
    QTimer* m_searchCount;      // shows how far a search has come while it runs
};
