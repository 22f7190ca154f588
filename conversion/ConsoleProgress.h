#pragma once

#include "conversion/ProgressView.h"

#include <QElapsedTimer>
#include <functional>

struct PassStart;

// Shows a batch run on standard output, for a run nobody watches in a window: one line per pass
// ("[1/2] pass 1/1: a.avi -> a.mp4"), or for a dry run each command as a line a shell runs as it
// stands (the encoder named by its path in `programFolder`); between them, how far the files and the run have
// come ("a.avi 42 %, run 14 %, 1:23 left"), rewritten in place on a terminal and at most every few seconds as
// a line of its own elsewhere.
class ConsoleProgress : public ProgressView
{
public:
    // `terminal`: standard output is a terminal, where a line can be rewritten.
    ConsoleProgress(bool dryRun, bool terminal, QString programFolder = {})
        : m_dryRun(dryRun), m_terminal(terminal), m_programFolder(std::move(programFolder))
    {
        m_sinceShown.start();
    }

    // Writes the commands still held and clears a progress line being rewritten, so that what
    // follows starts on a line of its own.
    void Close();

    // Runs once standard output has failed to take a dry run's commands: the run is of no use.
    std::function<void()> OnOutputFailed;
    // Why the commands could not all be written; empty while they were, or a stop cut them short.
    const QString& OutputProblem() const { return m_outputProblem; }

    void ShowProgress(const RunProgress& progress) override;
    void AnnouncePass(const PassStart& pass) override;

private:
    // The encoder and `arguments` as a shell line. The words that come from the settings are the
    // same strings in every command: each is quoted once, not again for every file.
    QString shellLine(const QStringList& arguments);
    void writeCommands();

    bool m_dryRun;
    bool m_terminal;
    QString m_programFolder;
    QString m_quotedProgram;   // the encoder found in the program folder or on the search path, quoted
    bool m_lineOpen = false;   // a progress line is being rewritten
    QStringList m_lastWords;   // the words of the last command shown
    QStringList m_quotedWords; // those words as the shell reads them
    QByteArray m_commands;     // a dry run's commands not yet written, written many at a time
    bool m_outputFailed = false;
    QString m_outputProblem;
    QElapsedTimer m_sinceShown;
};

// "a.avi 42 %, run 14 %, 1:23 left": each file being converted, the run, and the time left.
QString ProgressText(const RunProgress& progress);
