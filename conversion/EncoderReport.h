#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What the encoder front tells while a pass runs. Its standard output carries key=value lines:
// "duration=<seconds>" for the source, "writing=<path>" for the file it writes (with "\\", "\n" and
// "\r" escaped), "picture_subtitles_left_out=<count>" for subtitles the output cannot carry, and
// ffmpeg's own progress ("out_time_us=<microseconds>", "progress=end"). Its standard error carries ffmpeg's
// error messages. Text may arrive in pieces of any size; a line counts once it is whole.
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

    // How many subtitle tracks of pictures the output leaves out.
    int PictureSubtitlesLeftOut() const { return m_pictureSubtitlesLeftOut; }

    // The last message on the error output, without the source's path in front: ffmpeg's reason
    // when the pass fails. Empty when there was none.
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
    int m_pictureSubtitlesLeftOut = 0;
    QString m_reason;
};
