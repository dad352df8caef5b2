#include "app/form1.h"
#include "fakeplatform.h"
#include "i18n/languagesettings.h"
#include "testconfig.h"
#include "testphotos.h"
#include "tinydisk.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// Faults of a real file system: a full disk and a read-only folder cost the user neither the
// settings nor a sheet already on disk, and leave no temporary bitmap behind.
class TestFaults : public QObject
{
    Q_OBJECT
private slots:
    void settingsSurvive_data();
    void settingsSurvive();
    void exportKeepsTarget_data();
    void exportKeepsTarget();

private:
    // A program folder with the shipped language files, on the given disk.
    static bool installProgram(const QString &folder);
};

bool TestFaults::installProgram(const QString &folder)
{
    const QDir shipped(QStringLiteral(KALMORA_SOURCE_DIR "/Lang"));
    if (!QDir().mkpath(folder + QStringLiteral("/Lang")))
        return false;
    for (const QString &name : shipped.entryList({ QStringLiteral("english.lng") }, QDir::Files))
        if (!QFile::copy(shipped.filePath(name), folder + QStringLiteral("/Lang/") + name))
            return false;
    return true;
}

void TestFaults::settingsSurvive_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("full disk") << "full";
    QTest::newRow("read-only folder") << "readonly";
}

void TestFaults::settingsSurvive()
{
    QFETCH(QString, fault);
    QTemporaryDir base;
    TinyDisk disk(base.filePath(QStringLiteral("program")), 256 * 1024);
    if (!disk.mounted())
        QSKIP("no permission to mount a tmpfs; the file-size limit tests cover a full disk");
    QVERIFY(installProgram(disk.path()));
    LanguageSettings settings(disk.path());
    settings.LanguageFileName = QStringLiteral("english.lng");
    settings.LastPhotoFolder = QStringLiteral("/home/u/photos/");
    QVERIFY(settings.SaveSettings(2));
    QFile options(settings.optionsPath());
    QVERIFY(options.open(QIODevice::ReadOnly));
    const QByteArray before = options.readAll();
    options.close();
    QCOMPARE(before, QByteArray("1\r\nenglish.lng\r\n2\r\n/home/u/photos/\r\n"));

    if (fault == QLatin1String("full"))
        QVERIFY(disk.fill());
    else
        QVERIFY(disk.makeReadOnly());
    settings.LastPhotoFolder = QString(3000, u'q');
    QVERIFY(!settings.SaveSettings(4));

    QVERIFY(options.open(QIODevice::ReadOnly));
    QCOMPARE(options.readAll(), before);
    // No half-written copy is left beside it either.
    const QStringList left
        = QDir(disk.path() + QStringLiteral("/Lang")).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList({ QStringLiteral("english.lng"), QStringLiteral("options.ini") }));
    const std::optional<OptionsIni> read = settings.readOptions();
    QVERIFY(read);
    QCOMPARE(read->formatIndex, 2);
}

void TestFaults::exportKeepsTarget_data()
{
    QTest::addColumn<QString>("fault");
    // The temporary bitmap cannot be written: the program's folder is full.
    QTest::newRow("program folder full") << "bitmapFull";
    // The bitmap is written, the sheet cannot be: the target's disk is full.
    QTest::newRow("target disk full") << "targetFull";
    // The target's folder refuses every write.
    QTest::newRow("target folder read-only") << "targetReadOnly";
    // No fault: the sheet replaces the old file and the bitmap goes.
    QTest::newRow("no fault") << "none";
}

void TestFaults::exportKeepsTarget()
{
    QFETCH(QString, fault);
    QTemporaryDir base;
    TinyDisk program(base.filePath(QStringLiteral("program")), 24 * 1024 * 1024);
    TinyDisk out(base.filePath(QStringLiteral("out")), 256 * 1024);
    if (!program.mounted() || !out.mounted())
        QSKIP("no permission to mount a tmpfs; the file-size limit tests cover a full disk");
    QVERIFY(installProgram(program.path()));
    const QString photo = base.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(TestPhotos::writeFile(
        photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1600, 2400), 95)));
    const QString target = out.path() + QStringLiteral("/sheet.jpg");
    const QByteArray previous = TestPhotos::encodeJpeg(TestPhotos::photoLike(64, 48));
    QVERIFY(TestPhotos::writeFile(target, previous));

    FakePlatform platform(program.path());
    Form1 form(platform);
    form.SelectFormat(1);
    form.LoadPhoto(photo);
    QVERIFY(form.isPhotoLoaded());
    if (fault == QLatin1String("bitmapFull"))
        QVERIFY(program.fill());
    else if (fault == QLatin1String("targetFull"))
        QVERIFY(out.fill());
    else if (fault == QLatin1String("targetReadOnly"))
        QVERIFY(out.makeReadOnly());

    platform.dialogAnswers.enqueue(QStringList { target });
    platform.answers.enqueue(MessageBoxAnswer::Yes); // replace the existing sheet
    form.findChild<QAction *>(QStringLiteral("mnuExport"))->trigger();

    QCOMPARE(platform.messages.size(), 2);
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    if (fault == QLatin1String("none")) {
        QCOMPARE(platform.messages.last().text, form.text(40));
        QCOMPARE(QImage::fromData(written.readAll()).size(), QSize(1772, 1181));
    } else {
        QCOMPARE(platform.messages.last().text, form.text(53) + target);
        QCOMPARE(written.readAll(), previous);
        QCOMPARE(
            QDir(out.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("sheet")),
            QStringList { QStringLiteral("sheet.jpg") });
    }
    // The temporary bitmap is gone, wherever it was put.
    QVERIFY(!QFile::exists(program.path() + QStringLiteral("/PhotoID_tmp.bmp")));
    QVERIFY(!QFile::exists(QDir::tempPath() + QStringLiteral("/PhotoID_tmp.bmp")));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
