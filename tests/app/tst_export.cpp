#include "app/exportcommands.h"
#include "export/jpegfile.h"
#include "export/onlinecopyexport.h"
#include "export/onlinecopysize.h"
#include "export/sheetlayout.h"
#include "fakeplatform.h"
#include "photo/photodocument.h"
#include "photo/photoformat.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

bool near(const QColor &a, const QColor &b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_program = std::make_unique<ProgramFolder>(false);
        m_platform = std::make_unique<FakePlatform>(m_program->path());
        m_out = m_program->path() + QStringLiteral("/out");
        QVERIFY(QDir().mkpath(m_out));
    }
    void exportedSheet_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QPoint>("margin"); // of the first copy, hundredths of a millimetre
        // The 4000 and 5000 twip boundaries of the layout fall on real formats.
        QTest::newRow("30 x 40 mm") << 0 << QSize(1772, 1181) << QPoint(1500, 1000);
        QTest::newRow("35 x 45 mm, four columns") << 1 << QSize(1772, 1181) << QPoint(500, 500);
        QTest::newRow("40 x 40 mm, three columns") << 2 << QSize(1772, 1181) << QPoint(1500, 1000);
        QTest::newRow("50 x 50 mm, still 150 x 100") << 3 << QSize(1772, 1181) << QPoint(0, 0);
        QTest::newRow("2 x 2 in, 180 x 120") << 4 << QSize(2126, 1417) << QPoint(1380, 920);
    }
    void exportedSheet()
    {
        QFETCH(int, format);
        QFETCH(QSize, pixels);
        QFETCH(QPoint, margin);
        const QString target = m_out + QStringLiteral("/Ärger ünd Fotos.jpg");
        QCOMPARE(exportTo(target, format).outcome, ExportOutcome::Written);
        QVERIFY(!m_platform->dialogs.last().openDialog);
        QCOMPARE(leftInOut(), QStringList { QStringLiteral("Ärger ünd Fotos.jpg") });

        const QImage sheet = QImageReader(target).read();
        QCOMPARE(sheet.size(), pixels);
        QCOMPARE(qRound(sheet.dotsPerMeterX() * 0.0254), 300);
        // Every copy in place, reaching its exact edges, quadrants in their corners.
        const SheetLayout layout
            = computeSheetLayout(PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight);
        QCOMPARE(layout.copies.size(), format < 2 ? 8 : 6);
        // Column by column, the upper copy first, the tiles abutting.
        const QSize tile(PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight);
        for (int i = 0; i < layout.copies.size(); ++i)
            QCOMPARE(layout.copies[i],
                QPointF(margin + QPoint(i / 2 * tile.width(), i % 2 * tile.height())));
        for (const QPointF &corner : layout.copies) {
            const QRect copy = copyPixelRect(layout, corner);
            const int qx = copy.width() / 4, qy = copy.height() / 4;
            QVERIFY(near(sheet.pixelColor(copy.left() + qx, copy.top() + qy), Qt::red));
            QVERIFY(near(sheet.pixelColor(copy.right() - qx, copy.top() + qy), Qt::green));
            QVERIFY(near(sheet.pixelColor(copy.left() + qx, copy.bottom() - qy), Qt::blue));
            QVERIFY(near(sheet.pixelColor(copy.right() - qx, copy.bottom() - qy), Qt::yellow));
            QVERIFY(near(sheet.pixelColor(copy.left() + 2, copy.top() + 2), Qt::red, 40));
            QVERIFY(std::abs(copy.left() - corner.x() / 100 / 25.4 * 300) <= 1);
        }
        if (layout.marginX > 0)
            QVERIFY(near(sheet.pixelColor(3, sheet.height() / 2), QColor(200, 200, 200)));
    }
    void answersThatWriteNothing()
    {
        QCOMPARE(runSheetExport(*m_platform, m_texts, nullptr, {}, QSizeF(3500, 4500), Qt::white)
                     .outcome,
            ExportOutcome::NoPhoto);
        QVERIFY(m_platform->dialogs.isEmpty());
        QCOMPARE(exportTo(QString()).outcome, ExportOutcome::Cancelled);

        const QString target = m_out + QStringLiteral("/PhotoID1.jpg");
        TestPhotos::writeFile(target, "previous");
        QCOMPARE(exportTo(target, 1, MessageBoxAnswer::No).outcome, ExportOutcome::KeptExisting);
        QCOMPARE(m_platform->messages.last().style,
            MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo);
        QCOMPARE(m_program->read(QStringLiteral("out/PhotoID1.jpg")), QByteArray("previous"));
        QCOMPARE(leftInOut(), QStringList { QStringLiteral("PhotoID1.jpg") });
    }
    void failuresKeepTheTarget_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("target is a folder") << "folder";
        QTest::newRow("target is a link to another file") << "link";
        QTest::newRow("target is a pipe") << "pipe";
        QTest::newRow("disk full") << "full";
    }
    void failuresKeepTheTarget()
    {
        QFETCH(QString, fault);
        const QString target = m_out + QStringLiteral("/sheet.jpg");
        const QString victim = m_program->path() + QStringLiteral("/victim");
        if (fault == QLatin1String("folder")) {
            QDir().mkpath(target);
        } else if (fault == QLatin1String("link")) {
            TestPhotos::writeFile(victim, "previous");
            QVERIFY(QFile::link(victim, target));
        } else if (fault == QLatin1String("pipe")) {
            QCOMPARE(mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        } else {
            TestPhotos::writeFile(target, "previous");
        }
        // A file-size limit fails the write as a full disk does, and binds root too.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tiny = previous;
        if (fault == QLatin1String("full"))
            tiny.rlim_cur = 64 * 1024; // smaller than the sheet
        setrlimit(RLIMIT_FSIZE, &tiny);
        const ExportResult result = exportTo(target);
        setrlimit(RLIMIT_FSIZE, &previous);

        QCOMPARE(result.outcome, ExportOutcome::Failed);
        // The message says which file and why.
        QVERIFY(!result.reason.isEmpty());
        if (fault == QLatin1String("full"))
            QCOMPARE(result.reason, qt_error_string(EFBIG));
        QCOMPARE(m_platform->messages.last().text,
            m_texts.text(TextId::SheetNotWritten) + target + "\n\n" + result.reason);
        if (fault == QLatin1String("link") || fault == QLatin1String("full"))
            QCOMPARE(m_program->read(QStringLiteral("out/sheet.jpg")), QByteArray("previous"));
        if (fault == QLatin1String("link") || fault == QLatin1String("pipe"))
            QCOMPARE(QFileInfo(target).isSymLink(), fault == QLatin1String("link"));
        QCOMPARE(leftInOut(), QStringList { QStringLiteral("sheet.jpg") });
        QCOMPARE(m_platform->busy, 0);
    }

    void onlineCopySize_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<qint64>("limitBytes");
        struct Row
        {
            int format;
            const char *size, *limit; // no size: the text the dialog is prefilled with
            QSize pixels; // empty: refused
            int dpi;
            qint64 limitBytes;
        };
        // The height follows the width, unless it is that height rounded the other way.
        for (const Row &r :
            { Row { 0, nullptr, "", { 709, 945 }, 600, 0 },
                { 1, nullptr, "", { 827, 1063 }, 600, 0 }, { 2, nullptr, "", { 945, 945 }, 600, 0 },
                { 3, nullptr, "", { 1181, 1181 }, 600, 0 },
                { 4, nullptr, "", { 1200, 1200 }, 600, 0 }, { 1, "600", " ", { 600, 771 }, 435, 0 },
                { 1, "600x771", "250", { 600, 771 }, 435, 250000 },
                { 1, " 600 X 772 ", "", { 600, 772 }, 435, 0 },
                { 1, "600 x 800", "", { 600, 771 }, 435, 0 },
                { 4, "1000×1000", "", { 1000, 1000 }, 500, 0 },
                { 3, "10000", "", { 10000, 10000 }, 5080, 0 }, { 0, "10001", "" },
                { 0, "7501 x 5000", "" }, { 0, "0", "" }, { 0, "600 x 0", "" }, { 0, "abc", "" },
                { 0, "-600", "" }, { 0, "6.5", "" }, { 0, "600 x", "" }, { 0, "x 600", "" },
                { 0, "600 x 771 x 2", "" }, { 0, "600", "0" }, { 0, "600", "1.5" },
                { 0, "600", "-5" }, { 0, "600", "12 KB" }, { 0, "", "" } })
            QTest::addRow("%s: '%s' '%s'", PhotoFormats[r.format].caption,
                r.size ? r.size : "default", r.limit)
                << r.format << QString::fromUtf8(r.size) << QString::fromUtf8(r.limit) << r.pixels
                << r.dpi << r.limitBytes;
    }
    void onlineCopySize()
    {
        QFETCH(int, format);
        QFETCH(QString, size);
        QFETCH(QString, limit);
        QFETCH(QSize, pixels);
        const PhotoFormat &shape = PhotoFormats[format];
        if (size.isNull())
            size = pixelSizeText(defaultOnlineCopyPixels(shape));
        const std::optional<OnlineCopyPlan> plan = planOnlineCopy(size, limit, shape);
        QCOMPARE(plan.has_value(), !pixels.isEmpty());
        if (plan) {
            QCOMPARE(plan->pixels, pixels);
            QTEST(plan->dotsPerInch, "dpi");
            QTEST(plan->limitBytes, "limitBytes");
        }
    }

    // A KB of a limit is 1000 bytes: a copy of N * 1000 bytes is within N KB; one of a byte
    // more is not, and is told as N + 1 KB.
    void onlineCopyLimitInThousands()
    {
        QImage noise(120, 120, QImage::Format_RGB32);
        QRandomGenerator random(1);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate() | 0xFF000000);
        const QImage read = QImage::fromData(TestPhotos::encodeJpeg(noise, 95));
        const ClipImage clip(
            std::make_shared<Photo>(read, QImageIOHandler::TransformationNone), read.rect());
        for (const qint64 over : { 0, 1 }) {
            // A size at which quality 70, the last the copy tries, writes N * 1000 + over bytes.
            QSize size;
            qint64 bytes = 0;
            for (int i = 0; i < 96 * 96 && (bytes == 0 || bytes % 1000 != over); ++i) {
                size = QSize(24 + i % 96, 24 + i / 96);
                bytes = encodeJpeg(clip.ownPixelsScaledTo(size), 70, 1).size();
            }
            QCOMPARE(bytes % 1000, over);
            const OnlineCopyJpeg copy = encodeOnlineCopy(clip, { size, 1, bytes / 1000 * 1000 });
            QCOMPARE(copy.bytes.size(), over ? 0 : bytes);
            QCOMPARE(copy.failure.smallestKb, over ? bytes / 1000 + 1 : 0);
        }
    }

private:
    ExportResult exportTo(
        const QString &target, int format = 1, int answer = MessageBoxAnswer::Yes);
    // Everything in the targets' folder, hidden files, links and pipes included.
    QStringList leftInOut() const
    {
        return QDir(m_out).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<ProgramFolder> m_program;
    QString m_out; // where the targets go
    std::unique_ptr<FakePlatform> m_platform;
    TextTable m_texts;
};

// Exports a quadrant photo fitted to the format; an empty target cancels the dialog.
ExportResult TestExport::exportTo(const QString &target, int format, int answer)
{
    const QString photo = m_program->path() + QStringLiteral("/photo.jpg");
    TestPhotos::writeFile(photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1600, 2400), 95));
    PhotoDocument document;
    document.selectFormat(format);
    if (document.load(photo) != LoadOutcome::Accepted)
        return ExportOutcome::NoPhoto;
    if (!target.isEmpty()) {
        m_platform->dialogAnswers.enqueue(QStringList { target });
        m_platform->answers.enqueue(answer);
    }
    return runSheetExport(
        *m_platform, m_texts, nullptr, document.shown(), document.frame(), QColor(200, 200, 200));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
