#include "app/exportcommands.h"
#include "export/jpegfile.h"
#include "export/onlinecopyexport.h"
#include "export/onlinecopysize.h"
#include "export/sheetlayout.h"
#include "fakeplatform.h"
#include "i18n/settings.h"
#include "photo/photodocument.h"
#include "photo/photoformat.h"
#include "print/sheetgeometry.h"
#include "programfolder.h"
#include "testconfig.h"
#include "testphotos.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
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

// The band's formats, then a portal's file: a square of 600 to 1200 pixels under 240 KB.
IdDocument document(int index)
{
    IdDocument portal;
    portal.size = QSizeF(600, 600);
    portal.unit = SizeUnit::Pixel;
    portal.file = FileRule { 600, 1200, 0, 240 };
    return index < PhotoFormatCount ? formatDocument(index) : portal;
}

ClipImage wholeClip(const QImage &image)
{
    return ClipImage(
        std::make_shared<const Photo>(image, QImageIOHandler::TransformationNone), image.rect());
}

// Where copies of the quadrants lie across the sheet, from column to column: every quadrant
// has a channel at 0, the background none below 200.
QList<QPoint> copyRuns(const QImage &sheet)
{
    QList<QPoint> runs;
    for (int x = 0, start = -1; x <= sheet.width(); ++x) {
        bool copy = false;
        for (int y = 0; x < sheet.width() && !copy && y < sheet.height(); y += 3) {
            const QRgb c = sheet.pixel(x, y);
            copy = std::min({ qRed(c), qGreen(c), qBlue(c) }) < 100;
        }
        if (copy && start < 0)
            start = x;
        else if (!copy && start >= 0)
            runs.append(QPoint(std::exchange(start, -1), x));
    }
    return runs;
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
        m_settings = Settings(m_program->path());
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
    // The offices' other sizes: 150 x 100 mm (upright when that holds more) with every whole
    // copy it takes at its real size; a larger copy alone.
    void exportedSheetAnySize_data()
    {
        QTest::addColumn<QSizeF>("photo"); // mm
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QPoint>("grid"); // columns, rows
        QTest::newRow("50 x 70") << QSizeF(50, 70) << QSize(1772, 1181) << QPoint(2, 1);
        QTest::newRow("33 x 48") << QSizeF(33, 48) << QSize(1772, 1181) << QPoint(4, 2);
        QTest::newRow("26 x 32") << QSizeF(26, 32) << QSize(1772, 1181) << QPoint(5, 3);
        QTest::newRow("40 x 60, upright") << QSizeF(40, 60) << QSize(1181, 1772) << QPoint(2, 2);
        QTest::newRow("120 x 110, alone") << QSizeF(120, 110) << QSize(1417, 1299) << QPoint(1, 1);
    }
    void exportedSheetAnySize()
    {
        QFETCH(QSizeF, photo);
        const QString target = m_out + QStringLiteral("/sheet.jpg");
        writeSheet(
            wholeClip(TestPhotos::quadrants(700, 900)), photo, QColor(200, 200, 200), target);
        const QImage sheet = QImageReader(target).read();
        QTEST(sheet.size(), "pixels");
        const QList<QPoint> columns = copyRuns(sheet),
                            rows = copyRuns(sheet.transformed(QTransform(0, 1, 1, 0, 0, 0)));
        QTEST(QPoint(int(columns.size()), int(rows.size())), "grid");
        for (const QPoint &run : columns)
            QVERIFY(std::abs(run.y() - run.x() - photo.width() / 25.4 * 300) <= 1);
        for (const QPoint &run : rows)
            QVERIFY(std::abs(run.y() - run.x() - photo.height() / 25.4 * 300) <= 1);
    }
    void answersThatWriteNothing()
    {
        QCOMPARE(
            runSheetExport(*m_platform, m_texts, m_settings, nullptr, {}, QSizeF(35, 45), Qt::white)
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
    // The save dialogs open where the run last saved, the first time in the photo's folder.
    void saveFolderKeptForTheRun()
    {
        m_settings.setLastPhotoFolder(m_program->path() + QStringLiteral("/photos/"));
        QStringList opened;
        for (const QString &target : { m_out + "/a.jpg", m_program->path() + "/b.jpg" }) {
            exportTo(target);
            opened << m_platform->dialogs.last().initialDir;
        }
        copyOnline(
            TestPhotos::gradients(700, 900), 1, [](QWidget *, const OnlineCopyQuestion &asked) {
                return std::optional(asked.prefill);
            });
        QCOMPARE(opened << m_platform->dialogs.last().initialDir,
            QStringList({ m_settings.lastPhotoFolder(), m_out, m_program->path() }));
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
        QTest::addColumn<QSize>("own"); // the crop in the photo's own pixels
        struct Row
        {
            int format;
            const char *size, *limit; // no size: the texts the dialog is prefilled with
            QSize pixels; // empty: refused
            int dpi;
            qint64 limitBytes;
            QSize own { 3000, 3000 };
        };
        // The height follows the width, unless it is that height rounded the other way. 2 x 2 in
        // and the portal's square keep the photo's own pixels within 600 to 1200 under 240 KB.
        for (const Row &r : { Row { 0, nullptr, "", { 709, 945 }, 600, 0 },
                 { 1, nullptr, "", { 827, 1063 }, 600, 0, { 154, 198 } },
                 { 2, nullptr, "", { 945, 945 }, 600, 0 },
                 { 3, nullptr, "", { 1181, 1181 }, 600, 0 },
                 { 4, nullptr, "", { 1200, 1200 }, 600, 240000 },
                 { 4, nullptr, "", { 1200, 1200 }, 600, 240000, { 1201, 1300 } },
                 { 4, nullptr, "", { 901, 901 }, 450, 240000, { 902, 901 } },
                 { 4, nullptr, "", { 600, 600 }, 300, 240000, { 599, 599 } },
                 { 5, nullptr, "", { 1200, 1200 }, 300, 240000 },
                 { 5, nullptr, "", { 901, 901 }, 300, 240000, { 902, 901 } },
                 { 1, "600", " ", { 600, 771 }, 435, 0 },
                 { 1, "600x771", "250", { 600, 771 }, 435, 250000 },
                 { 1, " 600 X 772 ", "", { 600, 772 }, 435, 0 },
                 { 1, "600 x 800", "", { 600, 771 }, 435, 0 },
                 { 4, "1000×1000", "", { 1000, 1000 }, 500, 0 },
                 { 3, "10000", "", { 10000, 10000 }, 5080, 0 }, { 0, "10001", "" },
                 { 0, "7501 x 5000", "" }, { 0, "0", "" }, { 0, "600 x 0", "" }, { 0, "abc", "" },
                 { 0, "-600", "" }, { 0, "6.5", "" }, { 0, "600 x", "" }, { 0, "x 600", "" },
                 { 0, "600 x 771 x 2", "" }, { 0, "600", "0" }, { 0, "600", "1.5" },
                 { 0, "600", "-5" }, { 0, "600", "12 KB" }, { 0, "", "" } })
            QTest::addRow("%s: '%s' '%s' %dx%d", qPrintable(sizeText(document(r.format), {})),
                r.size ? r.size : "default", r.limit, r.own.width(), r.own.height())
                << r.format << QString::fromUtf8(r.size) << QString::fromUtf8(r.limit) << r.pixels
                << r.dpi << r.limitBytes << r.own;
    }
    void onlineCopySize()
    {
        QFETCH(int, format);
        QFETCH(QString, size);
        QFETCH(QString, limit);
        QFETCH(QSize, pixels);
        const IdDocument shape = document(format);
        if (size.isNull()) {
            QFETCH(QSize, own);
            const OnlineCopyDefaults defaults = defaultOnlineCopy(shape, own);
            size = pixelSizeText(defaults.pixels);
            limit = defaults.limitKb > 0 ? QString::number(defaults.limitKb) : QString();
        }
        const std::optional<OnlineCopyPlan> plan = planOnlineCopy(size, limit, shape);
        QCOMPARE(plan.has_value(), !pixels.isEmpty());
        if (plan) {
            QCOMPARE(plan->pixels, pixels);
            QTEST(plan->dotsPerInch, "dpi");
            QTEST(plan->limitBytes, "limitBytes");
        }
    }

    // A file under the office's lower limit is written at a higher quality, at 100 at most.
    void onlineCopyLowerLimit()
    {
        const ClipImage clip = wholeClip(TestPhotos::gradients(900, 900));
        OnlineCopyPlan plan { QSize(600, 600), 300 };
        const qint64 usual = encodeOnlineCopy(clip, plan).bytes.size();
        const qint64 best = encodeJpeg(clip.ownPixelsScaledTo(plan.pixels), 100, 300).size();
        for (const qint64 least : { (usual + best) / 2, best + 1 }) {
            plan.leastBytes = least;
            const OnlineCopyJpeg copy = encodeOnlineCopy(clip, plan);
            QCOMPARE(copy.underLeast, least > best);
            QVERIFY(copy.bytes.size() >= std::min(least, best) && copy.bytes.size() <= best);
        }
    }

    // The halves find the file a search from 95 down, quality by quality, finds; a limit under
    // the file at 70 is told with that file's size.
    void onlineCopyQualitySearch_data()
    {
        QTest::addColumn<double>("between"); // the limit: 0 the file at 70, 1 the one at 95
        for (const double between : { -0.01, 0.0, 0.05, 0.5, 0.9, 1.0 })
            QTest::addRow("%g", between) << between;
    }
    void onlineCopyQualitySearch()
    {
        QFETCH(double, between);
        const ClipImage clip = wholeClip(QImage(KALMORA_SOURCE_DIR "/tests/data/astronaut.jpg"));
        OnlineCopyPlan plan { QSize(400, 400), 300 };
        QList<QByteArray> linear;
        for (int quality = 95; quality >= 70; --quality)
            linear << encodeJpeg(clip.ownPixelsScaledTo(plan.pixels), quality, 300);
        plan.limitBytes = linear.last().size()
            + qint64(between * double(linear.first().size() - linear.last().size()));
        const auto fits = std::find_if(linear.cbegin(), linear.cend(),
            [&plan](const QByteArray &jpeg) { return jpeg.size() <= plan.limitBytes; });
        const OnlineCopyJpeg copy = encodeOnlineCopy(clip, plan);
        QCOMPARE(copy.bytes, fits == linear.cend() ? QByteArray() : *fits);
        QCOMPARE(copy.failure.smallestKb,
            fits == linear.cend() ? (linear.last().size() + 999) / 1000 : 0);
    }
    // A wait given up on writes nothing and says nothing; the work hears the stop.
    void onlineCopyCancelled()
    {
        const std::atomic<bool> stop = true;
        const OnlineCopyJpeg stopped = encodeOnlineCopy(
            wholeClip(TestPhotos::gradients(300, 300)), { QSize(600, 600), 300 }, &stop);
        QVERIFY(stopped.bytes.isEmpty());
        QCOMPARE(stopped.failure.outcome, ExportOutcome::Cancelled);
        QString caption;
        const auto prefilled = [](QWidget *, const OnlineCopyQuestion &asked) {
            return std::optional(asked.prefill);
        };
        QCOMPARE(copyOnline(TestPhotos::gradients(700, 900), 1, prefilled,
                     [&caption](QWidget *, const QString &cancel, const QFuture<void> &) {
                         caption = cancel;
                         return false;
                     })
                     .outcome,
            ExportOutcome::Cancelled);
        QCOMPARE(caption, m_texts.text(TextId::Cancel));
        QVERIFY(m_platform->messages.isEmpty() && m_platform->dialogs.isEmpty());
        QCOMPARE(leftInOut(), QStringList());
        QCOMPARE(m_platform->busy, 0);
    }

    // Under the size, as it is typed: how many of the photo's own pixels the copy has, and
    // how many times it enlarges them when that is over 5 %, in the user's locale.
    void onlineCopyEnlargedNote_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("photo"); // of the format's proportions: the crop is all of it
        QTest::addColumn<QString>("typed"); // none: the size the dialog is prefilled with
        QTest::addColumn<QString>("factor"); // none: no note
        QTest::newRow("35 x 45 mm, small") << 1 << QSize(245, 315) << QString() << "3,4";
        QTest::newRow("35 x 45 mm, typed larger") << 1 << QSize(1400, 1800) << "2000"
                                                  << "1,4";
        QTest::newRow("2 x 2 in, 3 % short") << 4 << QSize(583, 583) << QString() << QString();
        QTest::newRow("2 x 2 in, 7 % short") << 4 << QSize(560, 560) << QString() << "1,1";
    }
    void onlineCopyEnlargedNote()
    {
        QFETCH(int, format);
        QFETCH(QSize, photo);
        QFETCH(QString, typed);
        QFETCH(QString, factor);
        QStringList shown;
        QString caption; // of the size to be written
        const AskOnlineCopy ask = [&](QWidget *, const OnlineCopyQuestion &question) {
            const QLocale before;
            QLocale::setDefault(QLocale::German);
            OnlineCopyDialog dialog(question, nullptr);
            if (!typed.isNull())
                dialog.findChild<QLineEdit *>("sizeEdit")->setText(typed);
            for (const char *name : { "ownPixelsLabel", "enlargedLabel" })
                shown << dialog.findChild<QLabel *>(name)->text();
            caption = dialog.findChild<QLabel *>("resultCaption")->text();
            QLocale::setDefault(before);
            return std::optional<OnlineCopyChoice>();
        };
        QCOMPARE(
            copyOnline(TestPhotos::gradients(photo.width(), photo.height()), format, ask).outcome,
            ExportOutcome::Cancelled);
        QCOMPARE(caption, "Size written (pixels)");
        QCOMPARE(shown,
            QStringList(
                { m_texts.text(TextId::OnlineCopyOwnPixels).arg(photo.width()).arg(photo.height()),
                    factor.isNull() ? QString()
                                    : m_texts.text(TextId::OnlineCopyEnlarged).arg(factor) }));
    }

private:
    // The photo, written as a JPEG, loaded for the format.
    bool load(PhotoDocument &document, const QImage &image, int format);
    // The copy for an online application of a photo fitted to the format, the dialog answered
    // by `ask`, saved as out/online.jpg; `wait` waits for the work.
    ExportResult copyOnline(
        const QImage &image, int format, const AskOnlineCopy &ask,
        const WaitForOnlineCopy &wait = [](QWidget *, const QString &, QFuture<void> work) {
            work.waitForFinished();
            return true;
        });
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
    Settings m_settings { QString() };
};

bool TestExport::load(PhotoDocument &document, const QImage &image, int format)
{
    const QString photo = m_program->path() + QStringLiteral("/photo.jpg");
    TestPhotos::writeFile(photo, TestPhotos::encodeJpeg(image, 95));
    document.selectFormat(format);
    return document.load(photo) == LoadOutcome::Accepted;
}

// Exports a quadrant photo fitted to the format; an empty target cancels the dialog.
ExportResult TestExport::exportTo(const QString &target, int format, int answer)
{
    PhotoDocument document;
    if (!load(document, TestPhotos::quadrants(1600, 2400), format))
        return ExportOutcome::NoPhoto;
    if (!target.isEmpty()) {
        m_platform->dialogAnswers.enqueue(QStringList { target });
        m_platform->answers.enqueue(answer);
    }
    return runSheetExport(*m_platform, m_texts, m_settings, nullptr, document.shown(),
        photoSizeMm(document.frame()), QColor(200, 200, 200));
}

ExportResult TestExport::copyOnline(
    const QImage &image, int format, const AskOnlineCopy &ask, const WaitForOnlineCopy &wait)
{
    PhotoDocument document;
    if (!load(document, image, format))
        return ExportOutcome::NoPhoto;
    m_platform->dialogAnswers.enqueue(QStringList { m_out + QStringLiteral("/online.jpg") });
    return runOnlineCopyExport(*m_platform, m_texts, m_settings, nullptr, ask, document.shown(),
        formatDocument(format), wait);
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
