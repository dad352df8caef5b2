#include "export/sheetexport.h"
#include "fakeplatform.h"
#include "i18n/languagesettings.h"
#include "photo/photoformat.h"
#include "photo/photoworkspace.h"
#include "testphotos.h"
#include "tinydisk.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static bool spoil(TinyDisk &disk, const QString &fault)
{
    return fault.isEmpty() || (fault == "full" ? disk.fill() : disk.makeReadOnly());
}

// Faults of real disks: a full disk or a read-only folder costs the user neither options.ini
// nor a sheet already on disk, and leaves no half-written file behind.
class TestFaults : public QObject
{
    Q_OBJECT
private slots:
    void faults_data()
    {
        QTest::addColumn<QString>("programDisk");
        QTest::addColumn<QString>("targetDisk");
        QTest::addColumn<ExportOutcome>("outcome");
        using enum ExportOutcome;
        QTest::newRow("none") << QString() << QString() << Written;
        QTest::newRow("program disk full") << "full" << QString() << Written;
        QTest::newRow("program read-only") << "read-only" << QString() << Written;
        QTest::newRow("target disk full") << QString() << "full" << Failed;
        QTest::newRow("target read-only") << QString() << "read-only" << Failed;
    }
    void faults()
    {
        QFETCH(QString, programDisk);
        QFETCH(QString, targetDisk);
        QFETCH(ExportOutcome, outcome);
        QTemporaryDir base;
        TinyDisk program(base.filePath("program"), 24 * 1024 * 1024);
        TinyDisk out(base.filePath("out"), 256 * 1024);
        if (!program.mounted() || !out.mounted())
            QSKIP("mounting a tmpfs needs root");
        QVERIFY(QDir().mkpath(program.path() + "/Lang"));
        LanguageSettings settings(program.path());
        QVERIFY(settings.save(2));
        const QByteArray options = contents(settings.optionsPath());
        const QString photo = base.filePath("photo.jpg");
        QVERIFY(TestPhotos::writeFile(
            photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1600, 2400))));
        PhotoWorkspace workspace;
        workspace.selectFormat(1);
        QCOMPARE(workspace.load(photo), LoadOutcome::Accepted);
        const QString target = out.path() + "/sheet.jpg";
        const QByteArray previous = TestPhotos::encodeJpeg(TestPhotos::quadrants(64, 48));
        QVERIFY(TestPhotos::writeFile(target, previous));
        QVERIFY(spoil(program, programDisk) && spoil(out, targetDisk));
        const auto files
            = [&out] { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); };
        const QStringList before = files();

        settings.lastPhotoFolder = QString(3000, u'q');
        QCOMPARE(settings.save(4), programDisk.isEmpty());
        QCOMPARE(contents(settings.optionsPath()) == options, !programDisk.isEmpty());
        // No half-written copy is left beside it.
        QCOMPARE(QDir(program.path() + "/Lang").entryList(QDir::Files | QDir::Hidden),
            QStringList { "options.ini" });

        FakePlatform platform(program.path());
        platform.dialogAnswers.enqueue(QStringList { target });
        platform.answers.enqueue(MessageBoxAnswer::Yes); // replace the existing sheet
        QCOMPARE(SheetExport(platform, TextTable(), nullptr)
                     .run(workspace.shown(), workspace.frame(), Qt::white),
            outcome);
        const QByteArray sheet = contents(target);
        QCOMPARE(QImage::fromData(sheet).width(), outcome == ExportOutcome::Written ? 1772 : 64);
        QCOMPARE(sheet == previous, outcome != ExportOutcome::Written);
        QCOMPARE(files(), before); // the sheet's half-written copy is gone too
        QCOMPARE(platform.busy, 0);
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
