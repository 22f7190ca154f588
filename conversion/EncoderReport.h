#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// What the encoder front tells while a pass runs. Its standard output carries key=value lines:
// "duration=<seconds>" for what is converted of the source, "writing=<path>" for the file it
// writes (with "\\", "\n" and "\r" escaped), "subtitle_left_out=<kind>" for each subtitle track the
// output cannot carry ("picture", "teletext" or the name of a form ffmpeg cannot read), and
// ffmpeg's own progress ("out_time_us=<microseconds>", "progress=end"). Its standard error
// carries ffmpeg's error messages and the front's own. Text may arrive in pieces of any size; a
// line counts once it is whole.
class EncoderReport
{
public:
    // `source` is the pass's input, whose path ffmpeg puts in front of messages about it.
    explicit EncoderReport(QString source = {}) : m_source(std::move(source)) {}

    void AddOutput(const QByteArray& bytes);
    void AddErrors(const QByteArray& bytes);

    // How much of the pass is done, 0 to 1; nothing until both the length and a time are known.
    std::optional<double> Fraction() const;

    // The file the front writes until the result is whole, when it has said; its size is the
    // output's as it grows.
    const QString& WritingPath() const { return m_writingPath; }

    // The kinds of the subtitle tracks the output leaves out, one per track.
    const QStringList& SubtitlesLeftOut() const { return m_subtitlesLeftOut; }

    // The source's damage: how many of its packets could not be decoded or left pictures
    // concealed, and how far into the pass (in seconds of media) the first came. Other errors of
    // a decoder, such as those of a recording that starts between two keyframes, do not count.
    int DecodeErrors() const { return m_decodeErrors; }
    std::optional<double> FirstDecodeErrorSeconds() const { return m_firstDecodeError; }

    // Why the pass failed, without the source's path in front: the first message that names a
    // cause Korumi knows, else the last one that is not a mere consequence of an earlier one
    // ("Conversion failed!"). Empty when there was none.
    QString Reason() const;

private:
    void takeOutputLine(const QByteArray& line);
    void takeErrorLine(const QByteArray& line);

    QString m_source;
    QByteArray m_outputRest;
    QByteArray m_errorRest;
    std::optional<double> m_durationSeconds;
    std::optional<double> m_doneSeconds;
    bool m_ended = false;
    QString m_writingPath;
    QStringList m_subtitlesLeftOut;
    int m_decodeErrors = 0;
    std::optional<double> m_firstDecodeError;
    QString m_cause;        // the first message with a known cause
    QString m_lastSpecific; // the last message that is no mere consequence
    QString m_last;
};
