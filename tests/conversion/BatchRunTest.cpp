#include "controls/FadeButton.h"
#include "controls/GradientProgressBar.h"
#include "conversion/SourceLengths.h"
#include "platform/FileChecks.h"
#include "platform/JpegImage.h"
#include "tests/conversion/BatchFixture.h"
#include "tests/support/Media.h"

#include <QLabel>
#include <QMap>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace
{

// The calls of one tool in the log, each as its argument list.
QList<QStringList> callsOf(const QStringList& log, const QString& tool)
{
    QList<QStringList> calls;
    for (const QString& line : log) {
        QStringList words = line.split(u'\t');
        if (words.takeFirst() == tool)
            calls << words;
    }
    return calls;
}

class RecordedBatch : public BatchFixture
{
protected:
    // The hand-offs of the runs so far. Each starts, detached, before its run finishes, so once no
    // registration tool of this program folder is running, every one has logged its call.
    QList<QStringList> handOffs() const
    {
        const QString tool = programDir.File(QStringLiteral("addfile.exe"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !ProcessRunningWith(tool); }, 60000));
        return callsOf(Log(), QStringLiteral("addfile.exe"));
    }
};

TEST_F(RecordedBatch, TwoFilesTwoPassesInOrderWithHandOffsAfterTheLastPass)
{
    UseRecordingTools();
    settings.TwoPass = true;
    const QString a = sourceDir.Write(QStringLiteral("a.avi"), "a");
    const QString b = sourceDir.Write(QStringLiteral("b b.avi"), "b");
    Prepare({a, b}, /*itunes=*/true);
    QStringList captions;
    QObject::connect(run.get(), &BatchRun::PassStarted, run.get(), [&] { captions << view.Caption; });

    const BatchResult result = StartAndWait();

    EXPECT_EQ(result.End, RunEnd::Completed);
    EXPECT_EQ(result.Converted, 2);
    EXPECT_EQ(captions.first(), "a.avi -> a.mp4  (パス 1/2)");
    EXPECT_EQ(captions.last(), "b b.avi -> b b.mp4  (パス 2/2)");
    // Each file starts at its index of the count; its second pass starts halfway through it.
    EXPECT_EQ(passFractions, QList<double>({0, 0.25, 0.5, 0.75}));
    QStringList encodes;
    for (const QStringList& call : callsOf(Log(), QStringLiteral("ffmpeg.exe")))
        if (!call.contains(QStringLiteral("image2")))
            encodes << call.at(1) + QStringLiteral(" pass ") +
                           call.at(call.indexOf(QStringLiteral("-pass")) + 1);
    EXPECT_EQ(encodes, QStringList({a + " pass 1", a + " pass 2", b + " pass 1", b + " pass 2"}));

    // The two run side by side, so they may log in either order.
    const auto calls = handOffs();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_TRUE(calls.contains(QStringList{settings.OutputFolder + "/a.mp4"}));
    EXPECT_TRUE(calls.contains(QStringList{settings.OutputFolder + "/b b.mp4"}));
}

TEST_F(RecordedBatch, EveryPassGrabsAThumbnailBesideItsEncoderAsBatchWorkAndSaveModeNeverHandsOff)
{
    UseRecordingTools();
    const QString a = sourceDir.Write(QStringLiteral("a.avi"), "a");

    Run({a}, /*itunes=*/false);

    const auto calls = callsOf(Log(), QStringLiteral("ffmpeg.exe"));
    ASSERT_EQ(calls.size(), 2);
    EXPECT_TRUE(calls.contains(ThumbnailArguments(a, thumbnailDir.Path()).Arguments()));
    EXPECT_TRUE(calls.contains(
        ConversionCommand(a, TargetPathFor(a, settings.OutputFolder), 1, settings).Arguments()));
    EXPECT_TRUE(handOffs().isEmpty());
    EXPECT_TRUE(QDir(settings.OutputFolder).exists());
    EXPECT_EQ(ReadBytes(programDir.File(QStringLiteral("policies.log"))), "3\n3\n");
}

TEST_F(RecordedBatch, AFailedFileIsReportedAndNeverHandedOff)
{
    UseRecordingTools();
    const QString broken = sourceDir.Write(QStringLiteral("broken.avi"), "x");
    const QString fine = sourceDir.Write(QStringLiteral("fine.avi"), "y");

    const BatchResult result = Run({broken, fine}, /*itunes=*/true);

    ASSERT_EQ(result.Failures.size(), 1);
    EXPECT_EQ(result.Failures[0].Name, "broken.avi");
    EXPECT_EQ(result.Failures[0].ExitCode, 3);
    EXPECT_EQ(handOffs(), QList<QStringList>{{settings.OutputFolder + "/fine.mp4"}});
}

TEST_F(RecordedBatch, EachFileShowsItsOwnSourceSizeFromItsFirstMoment)
{
    UseRecordingTools();
    const QString a = sourceDir.Write(QStringLiteral("a.avi"), QByteArray(5000, 'a'));
    const QString b = sourceDir.Write(QStringLiteral("b.avi"), QByteArray(9000, 'b'));
    Prepare({a, b});
    QList<qint64> sourceSizes;
    QObject::connect(run.get(), &BatchRun::PassStarted, run.get(), [&] { sourceSizes << view.SourceSize; });

    StartAndWait();

    EXPECT_EQ(sourceSizes, QList<qint64>({5000, 9000}));
}

TEST_F(RecordedBatch, DryRunAnnouncesEveryCommandAndWritesNothing)
{
    UseRecordingTools();
    settings.TwoPass = true;
    const QString a = sourceDir.Write(QStringLiteral("a.avi"), "a");
    const QString b = sourceDir.Write(QStringLiteral("b.avi"), "b");

    const BatchResult result = Run({a, b}, /*itunes=*/true, /*dryRun=*/true);

    const QString aTarget = TargetPathFor(a, settings.OutputFolder);
    const QString bTarget = TargetPathFor(b, settings.OutputFolder);
    EXPECT_EQ(commands, QStringList({ConversionCommand(a, aTarget, 1, settings).Text(),
                                     ConversionCommand(a, aTarget, 2, settings).Text(),
                                     ConversionCommand(b, bTarget, 1, settings).Text(),
                                     ConversionCommand(b, bTarget, 2, settings).Text()}));
    EXPECT_EQ(result.Converted, 2);
    EXPECT_TRUE(Log().isEmpty());
    EXPECT_FALSE(QDir(settings.OutputFolder).exists());
}

TEST_F(RecordedBatch, ASourceInTheOutputFolderIsNeverItsOwnTarget)
{
    UseRecordingTools();
    const QString source = sourceDir.Write(QStringLiteral("movie.mp4"), "precious");
    settings.OutputFolder = sourceDir.Path();

    const BatchResult result = Run({source});

    EXPECT_EQ(result.Converted, 1);
    EXPECT_EQ(ReadBytes(source), "precious");
    EXPECT_EQ(commands,
              QStringList{ConversionCommand(source, sourceDir.File("movie (2).mp4"), 1, settings).Text()});
}

TEST_F(RecordedBatch, AnOutputFolderThatIsMissingOrCannotBeMadeStopsTheRunBeforeAnyFile)
{
    UseRecordingTools();
    const QString source = sourceDir.Write(QStringLiteral("a.avi"), "a");
    const QString underAFile = outputRoot.Write(QStringLiteral("plain-file")) + "/out";
    struct Case {
        QString folder;
        RunEnd end;
        QString message;
    };
    for (const Case& c : {Case{"", RunEnd::NoOutputFolder, "保存先フォルダが指定されていません。"},
                          Case{underAFile, RunEnd::OutputFolderFailed,
                               "保存先フォルダ " + underAFile + " を作成できません。処理を中止します。"}}) {
        settings.OutputFolder = c.folder;
        const BatchResult result = Run({source, source});
        EXPECT_EQ(result.End, c.end);
        EXPECT_EQ(EndMessage(result), c.message);
        EXPECT_TRUE(result.Failures.isEmpty()) << "one message, not one failure per file";
        EXPECT_TRUE(Log().isEmpty());
    }
}

TEST_F(RecordedBatch, AFileWhosePassFailsSkipsItsLaterPassAndIsListedOnce)
{
    UseRecordingTools();
    settings.TwoPass = true;
    const QString broken = sourceDir.Write(QStringLiteral("broken.avi"), "x");
    const QString fine = sourceDir.Write(QStringLiteral("fine.avi"), "y");

    const BatchResult result = Run({broken, fine});

    const QString brokenTarget = TargetPathFor(broken, settings.OutputFolder);
    const QString fineTarget = TargetPathFor(fine, settings.OutputFolder);
    EXPECT_EQ(commands, QStringList({ConversionCommand(broken, brokenTarget, 1, settings).Text(),
                                     ConversionCommand(fine, fineTarget, 1, settings).Text(),
                                     ConversionCommand(fine, fineTarget, 2, settings).Text()}));
    ASSERT_EQ(result.Failures.size(), 1);
    EXPECT_EQ(result.Converted, 1);
    EXPECT_EQ(result.Converted + result.Failures.size(), result.FileCount);
}

// An encoder that writes its output and runs until it is asked to end.
QString writeEndlessEncoder(const TempDir& programDir, const char* onTerm)
{
    const QString encoder = programDir.Write(
        QStringLiteral("ffmpeg.exe"),
        QByteArray("#!/bin/sh\nfor last in \"$@\"; do :; done\n"
                   "if [ \"$3\" = -f ]; then echo garbage > \"$last\"; : > \"$0.grabbed\"; exit 0; fi\n"
                   "trap '") +
            onTerm + "' TERM\nprintf output > \"$last\"\nsleep 600 & wait\n");
    QFile::setPermissions(encoder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return encoder;
}

TEST_F(RecordedBatch, AThumbnailThatCannotBeDecodedIsLeftOutAndACancelThatCameTooLateCancelsNothing)
{
    // The grab writes no picture at all; the encoder is done as the cancel reaches it.
    writeEndlessEncoder(programDir, "exit 0");
    Prepare({sourceDir.Write(QStringLiteral("a.avi"), "a")});
    QObject::connect(run.get(), &BatchRun::PassStarted, run.get(), [&] {
        QTimer::singleShot(0, run.get(), [&] {
            // The broken picture is taken, and removed before it is decoded.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return QFile::exists(programDir.File("ffmpeg.exe.grabbed")) &&
                           !QFile::exists(ThumbnailPath(thumbnailDir.Path()));
                },
                10000));
            run->CancelRunningPasses();
        });
    });

    const BatchResult result = StartAndWait();

    EXPECT_EQ(result.End, RunEnd::Completed);
    EXPECT_EQ(result.Converted, 1);
    EXPECT_EQ(result.Cancelled, QStringList());
    EXPECT_EQ(view.Thumbnail, "garbage\n") << "the picture goes to the view, which decodes it";
}

TEST_F(RecordedBatch, AMissingEncoderEndsTheRun)
{
    // No tools in the program folder, and none named so on the search path.
    const BatchResult result = Run({sourceDir.Write(QStringLiteral("a.avi"), "a")});
    EXPECT_EQ(result.End, RunEnd::EncoderMissing);
    EXPECT_EQ(result.Converted, 0);
}

// Conversions with the real encoder front.
class EncodedBatch : public BatchFixture
{
protected:
    void SetUp() override { UseBuiltTools(); }
};

TEST_F(EncodedBatch, SinglePassWritesAPlayableFileWithAThumbnailAndTheBarMovesWithinIt)
{
    settings.OutputFolder = outputRoot.File(QStringLiteral("new/nested/out"));
    settings.PictureSizeIndex = 0;
    const QString clip =
        MakeClip(sourceDir.Path(), {QStringLiteral("clip.avi"), 30, true, QSize(320, 240), 30});
    ASSERT_FALSE(clip.isEmpty());
    QImage shown;
    Prepare({clip});
    QObject::connect(run.get(), &BatchRun::Finished, run.get(), [&] { shown = DecodeJpeg(view.Thumbnail); });
    QList<double> fractions;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { fractions << view.Progress.Fraction; });
    watch.start(20);

    const BatchResult result = StartAndWait();

    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_TRUE(std::any_of(fractions.begin(), fractions.end(), [](double fraction) {
        return fraction > 0 && fraction < 1;
    })) << "the bar moves within the file";
    EXPECT_TRUE(result.AllConverted());
    const QJsonObject video = StreamOf(Probe(settings.OutputFolder + "/clip.mp4"), QStringLiteral("video"));
    EXPECT_EQ(video.value("codec_name").toString(), "h264");
    EXPECT_EQ(video.value("width").toInt(), 640);
    EXPECT_EQ(shown.size(), QSize(80, 60));
    EXPECT_TRUE(QDir(thumbnailDir.Path()).isEmpty()) << "the grabbed picture is removed once shown";
}

TEST_F(EncodedBatch, TargetsWithTheLongestNamesTheFileSystemTakesConvert)
{
    // 255 bytes each, the most a name may have: in ASCII, and in Japanese (three bytes a character).
    const QStringList stems{QString(251, u'a'), QString(83, QChar(0x52D5)) + QStringLiteral("xy")};
    QStringList files;
    for (const QString& stem : stems) {
        files << MakeClip(sourceDir.Path(), {stem + QStringLiteral(".avi"), 1, false});
        ASSERT_FALSE(files.last().isEmpty());
    }
    Prepare(files);

    EXPECT_TRUE(StartAndWait().AllConverted());

    for (const QString& stem : stems)
        EXPECT_TRUE(QFile::exists(settings.OutputFolder + u'/' + stem + QStringLiteral(".mp4")));
}

TEST_F(EncodedBatch, LargeSourcesShowTheirPictureWhileTheyConvert)
{
    // Grabbing the picture at 5 s decodes from the first key frame: seconds for such sources.
    const QStringList h264{"-c:v", "libx264", "-preset", "ultrafast"};
    struct Case {
        const char* name;
        QSize size;
        QStringList options;
    };
    QStringList files;
    for (const Case& c : {Case{"wide.mp4", {1920, 1080}, h264},
                          Case{"deep.mkv",
                               {1920, 1080},
                               {"-c:v", "libx265", "-preset", "ultrafast", "-pix_fmt", "yuv420p10le"}},
                          Case{"tall.mp4", {1080, 1920}, h264}}) {
        files << MakeClip(sourceDir.Path(), {QLatin1String(c.name), 7, false, c.size, 30, c.options});
        ASSERT_FALSE(files.last().isEmpty()) << c.name;
    }
    Prepare(files);
    // A file's picture stays until the next file starts (or the run ends), so it is read then.
    QMap<int, QImage> shown;
    QObject::connect(run.get(), &BatchRun::PassStarted, run.get(), [&](const PassStart& pass) {
        if (pass.FileIndex > 0)
            shown[pass.FileIndex - 1] = DecodeJpeg(view.Thumbnail);
    });
    QObject::connect(run.get(), &BatchRun::Finished, run.get(),
                     [&] { shown[int(files.size()) - 1] = DecodeJpeg(view.Thumbnail); });

    EXPECT_TRUE(StartAndWait().AllConverted());

    for (int i = 0; i < files.size(); ++i) {
        const QImage picture = shown.value(i).convertToFormat(QImage::Format_Grayscale8);
        qint64 sum = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                sum += qGray(picture.pixel(x, y));
        const qint64 pixels = qint64(picture.width()) * picture.height();
        EXPECT_GT(pixels > 0 ? sum / pixels : 0, 30)
            << files.at(i).toStdString() << ": no picture, or a black one";
    }
}

TEST_F(EncodedBatch, TwoPassProducesAPlayableFileWithAudio)
{
    settings.TwoPass = true;
    settings.VideoCodec = QStringLiteral("MPEG4");
    const QString clip = MakeClip(sourceDir.Path(), {QStringLiteral("clip.mkv"), 2});
    ASSERT_FALSE(clip.isEmpty());

    EXPECT_TRUE(Run({clip}).AllConverted());

    const QJsonObject probe = Probe(settings.OutputFolder + "/clip.mp4");
    EXPECT_EQ(StreamOf(probe, QStringLiteral("video")).value("codec_name").toString(), "mpeg4");
    EXPECT_EQ(StreamOf(probe, QStringLiteral("audio")).value("codec_name").toString(), "aac");
}

TEST_F(EncodedBatch, ACorruptInputIsReportedWhileTheOthersConvert)
{
    const QString bad = sourceDir.Write(QStringLiteral("bad.avi"), QByteArray(4096, 'x'));
    const QString good = MakeClip(sourceDir.Path(), {QStringLiteral("good.mov"), 1});
    // A target the encoder never reaches is left alone.
    const QString oldTarget = outputRoot.Write(QStringLiteral("out/bad.mp4"), "older work");

    const BatchResult result = Run({bad, good});

    ASSERT_EQ(result.Failures.size(), 1);
    EXPECT_EQ(result.Failures[0].Name, "bad.avi");
    EXPECT_NE(result.Failures[0].ExitCode, 0);
    EXPECT_EQ(result.Converted, 1);
    EXPECT_EQ(ReadBytes(oldTarget), "older work");
    EXPECT_FALSE(StreamOf(Probe(settings.OutputFolder + "/good.mp4"), QStringLiteral("video")).isEmpty());
}

TEST_F(EncodedBatch, CancelEndsTheEncoderLeavesTheEarlierFileAsItWasAndGoesOnWithTheNextFile)
{
    settings.PictureSizeIndex = 3;
    settings.TwoPass = true;
    const QString slow =
        MakeClip(sourceDir.Path(), {QStringLiteral("slow.avi"), 60, true, QSize(640, 480), 30});
    const QString quick = MakeClip(sourceDir.Path(), {QStringLiteral("quick.avi"), 1});
    ASSERT_FALSE(slow.isEmpty());
    const QString slowTarget = outputRoot.Write(QStringLiteral("out/slow.mp4"), "an earlier result");
    Prepare({slow, quick});
    QList<int> passesOfSlow;
    QObject::connect(run.get(), &BatchRun::PassStarted, run.get(), [&](const PassStart& pass) {
        if (pass.FileIndex != 0)
            return;
        passesOfSlow << pass.Pass;
        // Cancel once the encoder has written part of its first pass's output.
        QTimer::singleShot(0, run.get(), [&] {
            EXPECT_TRUE(QTest::qWaitFor([&] { return IsBeingEncoded(slowTarget); }, 60000));
            // The window's sizes follow the output as it grows under its temporary name.
            EXPECT_TRUE(QTest::qWaitFor([&] { return view.OutputSize > 0; }, 60000));
            run->CancelRunningPasses();
        });
    });

    const BatchResult result = StartAndWait();

    EXPECT_EQ(passesOfSlow, QList<int>{1}) << "no second pass works from a log cut short";
    EXPECT_EQ(result.Cancelled, QStringList{slow});
    EXPECT_TRUE(result.Failures.isEmpty());
    EXPECT_EQ(result.Converted, 1);
    EXPECT_EQ(ReadBytes(slowTarget), "an earlier result");
    EXPECT_EQ(TemporaryOutputsOf(slowTarget), QStringList());
    EXPECT_FALSE(ProcessRunningWith(slowTarget));
    EXPECT_TRUE(QFile::exists(settings.OutputFolder + "/quick.mp4"));
}

TEST(SourceLengths, EachFileWeighsItsShareOfTheRunsMedia)
{
    TempDir dir;
    QStringList files;
    for (const int seconds : {8, 5, 90})
        files.append(
            MakeClip(dir.Path(), {QStringLiteral("%1s.mkv").arg(seconds), double(seconds), false, {32, 32}}));
    files.append(dir.Write(QStringLiteral("no video.avi"), "not a video"));
    SourceLengths lengths;
    QSignalSpy known(&lengths, &SourceLengths::Known);

    lengths.Start(files);
    EXPECT_EQ(lengths.Weight(2), 1) << "every file alike until the lengths are known";
    ASSERT_TRUE(known.wait(60000));

    // Shares of the known average, 103 s / 3; a file that tells no length weighs the average.
    EXPECT_NEAR(lengths.Weight(0), 8 / (103 / 3.0), 0.02);
    EXPECT_NEAR(lengths.Weight(2), 90 / (103 / 3.0), 0.02);
    EXPECT_EQ(lengths.Weight(3), 1);
}

} // namespace
