#pragma once

#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>

// A short test clip made by the real ffmpeg: a test pattern with a tone.
struct ClipSpec {
    QString FileName = QStringLiteral("clip.avi"); // the container follows the extension
    double Seconds = 2;
    bool Audio = true;
    QSize Size{160, 120};
    int Fps = 10;
    QStringList VideoOptions = {}; // ffmpeg output options, after the defaults: codec, pixel format
};

// Writes the clip into `folder`; returns its path, or an empty string when ffmpeg failed.
QString MakeClip(const QString& folder, const ClipSpec& spec = {});

// Writes a recording of a Japanese digital broadcast (MPEG-TS: 1080i, AAC, ARIB captions) named
// `name` into `folder` with tests/support/broadcast_recording.py and its `options`; returns its
// path, or an empty string when the script failed.
QString MakeBroadcastRecording(const QString& folder, const QString& name, const QStringList& options = {});

// ffprobe's view of a media file: {"streams": [...], "format": {...}}; empty when unreadable.
QJsonObject Probe(const QString& path);

// The first stream of `type` ("video" or "audio") in a probe result; empty when there is none.
QJsonObject StreamOf(const QJsonObject& probe, const QString& type);

// True while a process whose command line names `needle` is running (scans /proc).
bool ProcessRunningWith(const QString& needle);

// The temporary files the encoder front writes beside `target` before a whole result takes its
// name, by file name.
QStringList TemporaryOutputsOf(const QString& target);

// True once the encoder front has written part of `target` under a temporary name beside it.
bool IsBeingEncoded(const QString& target);
