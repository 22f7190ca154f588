#pragma once

#include "conversion/CommandLine.h"

#include <QStringList>
#include <QWidget>

class FadeButton;
class QCheckBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class TBrowseEdit;
class TDigitBar;
class TMultiColComboBox;
class TPanel;
class TShadowLabel;

// The main window: a borderless 400 x 570 window with the input list, the preset chooser,
// the manual settings, the output folder and the start buttons.
class TMainForm1 : public QWidget
{
public:
    // `programFolder` holds profile.txt, Korumi.ini, Readme.txt and the tools; `arguments` are
    // the paths given on the command line, taken into the input list at first activation.
    TMainForm1(const QString& programFolder, const QStringList& arguments, QWidget* parent = nullptr);

    const QString& ProgramFolder() const { return m_programFolder; }

    // The conversion settings as the controls hold them now.
    ConversionSettings CurrentSettings() const;

    // First-activation mark: 0 until the first activation's work has completed.
    int Tag = 0;

    // Title strip.
    FadeButton* Button1; // ×
    FadeButton* Button2; // _
    FadeButton* Button3; // ?
    FadeButton* Button4; // info.
    // Input area.
    QListWidget* ListBox1;
    TPanel* Panel11;
    TMultiColComboBox* C2_00;
    TMultiColComboBox* C2_04;
    FadeButton* Button5;
    QPlainTextEdit* Memo0;
    // Manual settings.
    TDigitBar* DigitBar1;
    TDigitBar* DigitBar2;
    TDigitBar* DigitBar3;
    QSlider* TrackBar1;
    QSlider* TrackBar2;
    // Output and start.
    TBrowseEdit* C1_03;
    QCheckBox* CheckBox1;
    FadeButton* Button10;
    FadeButton* Button11;
    QPushButton* Button0;

    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void C1_03Change(QObject* Sender);
    void FormActivate(QObject* Sender);

protected:
    bool event(QEvent* event) override;

private:
    void buildTitleStrip();
    void buildInputArea();
    void buildManualSettings();
    void buildOutputArea();
    void wireHandlers();

    QString m_programFolder;
    QStringList m_arguments;
};
