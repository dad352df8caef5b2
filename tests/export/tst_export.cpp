#include "export/sheetexport.h"
#include "export/sheetlayout.h"
#include "fakeplatform.h"
#include "photo/photoformat.h"
#include "photo/photoworkspace.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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
    void init();
    void columnsAndSheetSize_data();
    void columnsAndSheetSize();
    void exportedSheet_data();
    void exportedSheet();
    void answersThatWriteNothing();
    void failuresKeepTheTarget_data();
    void failuresKeepTheTarget();

private:
    ExportOutcome exportTo(
        const QString &target, int format = 1, int answer = MessageBoxAnswer::Yes);
    QString bitmap() const { return m_program->path() + QStringLiteral("/PhotoID_tmp.bmp"); }

    std::unique_ptr<ProgramFolder> m_program;
    std::unique_ptr<FakePlatform> m_platform;
    TextTable m_texts;
};

void TestExport::init()
{
    m_program = std::make_unique<ProgramFolder>(false);
    m_platform = std::make_unique<FakePlatform>(m_program->path());
}

// Exports a quadrant photo fitted to the format; an empty target cancels the dialog.
ExportOutcome TestExport::exportTo(const QString &target, int format, int answer)
{
    const QString photo = m_program->path() + QStringLiteral("/photo.jpg");
    TestPhotos::writeFile(photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1600, 2400), 95));
    PhotoWorkspace workspace;
    workspace.setFrame(QSizeF(PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight));
    if (workspace.LoadPhoto(photo) != LoadOutcome::Accepted)
        return ExportOutcome::NoPhoto;
    if (!target.isEmpty()) {
        m_platform->dialogAnswers.enqueue(QStringList { target });
        m_platform->answers.enqueue(answer);
    }
    return SheetExport(*m_platform, m_texts, nullptr)
        .run(workspace.shown(), workspace.frame(), QColor(200, 200, 200));
}

void TestExport::columnsAndSheetSize_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("sheetX");
    QTest::newRow("3999") << 3999.0 << 4 << 150;
    QTest::newRow("4000 gets three") << 4000.0 << 3 << 150;
    QTest::newRow("5000 keeps 150 x 100") << 5000.0 << 3 << 150;
    QTest::newRow("5001") << 5001.0 << 3 << 180;
}

void TestExport::columnsAndSheetSize()
{
    QFETCH(double, width);
    QFETCH(int, columns);
    QFETCH(int, sheetX);
    const SheetLayout layout = computeSheetLayout(width, 4000);
    QCOMPARE(int(layout.columnCount), columns);
    QCOMPARE(layout.sheetUnitsX, sheetX);
}

void TestExport::exportedSheet_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("35 x 45 mm, eight copies") << 1 << QSize(1772, 1181);
    QTest::newRow("2 x 2 in, larger sheet") << 4 << QSize(2126, 1417);
}

void TestExport::exportedSheet()
{
    QFETCH(int, format);
    QFETCH(QSize, pixels);
    const QString target = m_program->path() + QStringLiteral("/Ärger ünd Fotos.jpg");
    // A bitmap left over from an earlier run is replaced, and removed afterwards.
    TestPhotos::writeFile(bitmap(), "left over");
    QCOMPARE(exportTo(target, format), ExportOutcome::Written);
    QVERIFY(!m_platform->dialogs.last().openDialog);
    QVERIFY(!QFile::exists(bitmap()));

    const QImage sheet = QImageReader(target).read();
    QCOMPARE(sheet.size(), pixels);
    QCOMPARE(qRound(sheet.dotsPerMeterX() * 0.0254), 300);
    // Every copy in place, reaching its exact edges, quadrants in their corners.
    const SheetLayout layout
        = computeSheetLayout(PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight);
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

void TestExport::answersThatWriteNothing()
{
    QCOMPARE(SheetExport(*m_platform, m_texts, nullptr).run({}, QSizeF(3500, 4500), Qt::white),
        ExportOutcome::NoPhoto);
    QVERIFY(m_platform->dialogs.isEmpty());
    QCOMPARE(exportTo(QString()), ExportOutcome::Cancelled);

    const QString target = m_program->path() + QStringLiteral("/PhotoID1.jpg");
    TestPhotos::writeFile(target, "previous");
    QCOMPARE(exportTo(target, 1, MessageBoxAnswer::No), ExportOutcome::KeptExisting);
    QCOMPARE(
        m_platform->messages.last().style, MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo);
    QCOMPARE(m_program->read(QStringLiteral("PhotoID1.jpg")), QByteArray("previous"));
    QVERIFY(!QFile::exists(bitmap()));
}

void TestExport::failuresKeepTheTarget_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder does not exist") << "missing";
    QTest::newRow("disk full") << "full";
}

void TestExport::failuresKeepTheTarget()
{
    QFETCH(QString, fault);
    QString target = m_program->path() + QStringLiteral("/sheet.jpg");
    rlimit previous {};
    if (fault == QLatin1String("folder")) {
        QDir().mkpath(target);
    } else if (fault == QLatin1String("missing")) {
        target = m_program->path() + QStringLiteral("/no/such/folder/sheet.jpg");
    } else {
        TestPhotos::writeFile(target, "previous");
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tiny = previous;
        tiny.rlim_cur = 64 * 1024; // smaller than the sheet: the write cannot complete
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    const ExportOutcome outcome = exportTo(target);
    if (fault == QLatin1String("full"))
        setrlimit(RLIMIT_FSIZE, &previous);

    QCOMPARE(outcome, ExportOutcome::Failed);
    QCOMPARE(exportMessage(outcome)->text, TextId::SheetNotWritten);
    if (fault == QLatin1String("full"))
        QCOMPARE(m_program->read(QStringLiteral("sheet.jpg")), QByteArray("previous"));
    QVERIFY(!QFile::exists(bitmap()));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
