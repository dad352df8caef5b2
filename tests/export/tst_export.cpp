#include "app/form1.h"
#include "export/sheetlayout.h"
#include "photo/photoformat.h"
#include "fakeplatform.h"
#include "platform/bmptojpg.h"
#include "programfolder.h"
#include "testphotos.h"

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
    void layout_data();
    void layout();
    void boundaries_data();
    void boundaries();
    void exportedSheet_data();
    void exportedSheet();
    void refusedWithoutPhoto();
    void cancelWritesNothing();
    void replaceQuestion_data();
    void replaceQuestion();
    void failuresKeepTheTarget_data();
    void failuresKeepTheTarget();
    void oldTemporaryBitmapIsReplacedAndRemoved();
    void bmpToJpgKeepsSource();

private:
    // A form with a loaded quadrant photo in the given format.
    std::unique_ptr<Form1> formWithPhoto(int format);
    QString exportTo(Form1 &form, const QString &target, int answer = MessageBoxAnswer::Yes);

    std::unique_ptr<ProgramFolder> m_program;
    std::unique_ptr<FakePlatform> m_platform;
};

void TestExport::init()
{
    m_program = std::make_unique<ProgramFolder>();
    m_platform = std::make_unique<FakePlatform>(m_program->path());
}

std::unique_ptr<Form1> TestExport::formWithPhoto(int format)
{
    const QString path = m_program->path() + QStringLiteral("/photo.jpg");
    TestPhotos::writeFile(path, TestPhotos::encodeJpeg(TestPhotos::quadrants(1600, 2400), 95));
    auto form = std::make_unique<Form1>(*m_platform);
    form->SelectFormat(format);
    form->LoadPhoto(path);
    return form;
}

QString TestExport::exportTo(Form1 &form, const QString &target, int answer)
{
    m_platform->dialogAnswers.enqueue(QStringList{target});
    m_platform->answers.enqueue(answer);
    form.findChild<QAction *>(QStringLiteral("mnuExport"))->trigger();
    return m_platform->messages.isEmpty() ? QString() : m_platform->messages.last().text;
}

void TestExport::layout_data()
{
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QSizeF>("sheet");
    QTest::addColumn<QPoint>("margins");
    QTest::newRow("30x40") << QSizeF(3000, 4000) << 8 << QSizeF(15000, 10000) << QPoint(1500, 1000);
    QTest::newRow("35x45") << QSizeF(3500, 4500) << 8 << QSizeF(15000, 10000) << QPoint(500, 500);
    QTest::newRow("40x40") << QSizeF(4000, 4000) << 6 << QSizeF(15000, 10000) << QPoint(1500, 1000);
    QTest::newRow("50x50") << QSizeF(5000, 5000) << 6 << QSizeF(15000, 10000) << QPoint(0, 0);
    QTest::newRow("2x2in") << QSizeF(5080, 5080) << 6 << QSizeF(18000, 12000) << QPoint(1380, 920);
}

void TestExport::layout()
{
    QFETCH(QSizeF, frame);
    QFETCH(int, copies);
    QFETCH(QSizeF, sheet);
    QFETCH(QPoint, margins);
    const SheetLayout layout = computeSheetLayout(frame.width(), frame.height());
    QCOMPARE(layout.copies.size(), copies);
    QCOMPARE(QSizeF(layout.sheetWidth, layout.sheetHeight), sheet);
    QCOMPARE(QPoint(layout.marginX, layout.marginY), margins);
    // Column by column, the upper copy first, at a pitch of exactly the tile size.
    QCOMPARE(layout.copies.at(0), QPointF(margins));
    QCOMPARE(layout.copies.at(1), QPointF(margins.x(), margins.y() + frame.height()));
    QCOMPARE(layout.copies.at(2), QPointF(margins.x() + frame.width(), margins.y()));
}

void TestExport::boundaries_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("sheetX");
    QTest::newRow("3999") << 3999.0 << 4 << 150;
    QTest::newRow("4000 gets three") << 4000.0 << 3 << 150;
    QTest::newRow("5000 keeps 150 x 100") << 5000.0 << 3 << 150;
    QTest::newRow("5001") << 5001.0 << 3 << 180;
}

void TestExport::boundaries()
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
    for (int format = 0; format < 4; ++format)
        QTest::addRow("format %d", format) << format << QSize(1772, 1181);
    QTest::newRow("2 x 2 in") << 4 << QSize(2126, 1417);
}

void TestExport::exportedSheet()
{
    QFETCH(int, format);
    QFETCH(QSize, pixels);
    auto form = formWithPhoto(format);
    const QString target = m_program->path() + QStringLiteral("/Ärger ünd Fotos.jpg");
    QCOMPARE(exportTo(*form, target), form->text(40));
    QCOMPARE(m_platform->messages.last().title, form->text(42));
    const FileDialogRequest &request = m_platform->dialogs.last();
    QCOMPARE(request.fileName, QStringLiteral("PhotoID1.jpg"));
    QCOMPARE(request.dialogTitle, form->text(37));
    QVERIFY(!request.openDialog);

    QImageReader reader(target);
    const QImage sheet = reader.read();
    QCOMPARE(sheet.size(), pixels);
    QCOMPARE(qRound(sheet.dotsPerMeterX() * 0.0254), 300);
    QCOMPARE(qRound(sheet.dotsPerMeterY() * 0.0254), 300);

    // Every copy in place: its four quadrants show red, green, blue and yellow.
    const QSizeF frame = QSizeF(PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight);
    const SheetLayout layout = computeSheetLayout(frame.width(), frame.height());
    for (const QPointF &corner : layout.copies) {
        const QRect copy = copyPixelRect(layout, corner);
        const int qx = copy.width() / 4;
        const int qy = copy.height() / 4;
        QVERIFY(near(sheet.pixelColor(copy.left() + qx, copy.top() + qy), Qt::red));
        QVERIFY(near(sheet.pixelColor(copy.right() - qx, copy.top() + qy), Qt::green));
        QVERIFY(near(sheet.pixelColor(copy.left() + qx, copy.bottom() - qy), Qt::blue));
        QVERIFY(near(sheet.pixelColor(copy.right() - qx, copy.bottom() - qy), Qt::yellow));
        // The copy reaches its exact edges: red two pixels inside its corner.
        QVERIFY(near(sheet.pixelColor(copy.left() + 2, copy.top() + 2), Qt::red, 40));
        const double exactLeft = corner.x() / 100 / 25.4 * 300;
        QVERIFY(std::abs(copy.left() - exactLeft) <= 1);
    }
    if (layout.marginX > 0)
        QVERIFY(near(sheet.pixelColor(3, sheet.height() / 2), QGuiApplication::palette().color(QPalette::Button)));
    QVERIFY(!QFile::exists(m_program->path() + QStringLiteral("/PhotoID_tmp.bmp")));
}

void TestExport::refusedWithoutPhoto()
{
    Form1 form(*m_platform);
    form.findChild<QAction *>(QStringLiteral("mnuExport"))->trigger();
    QCOMPARE(m_platform->messages.size(), 1);
    QCOMPARE(m_platform->messages.first().text, form.text(49));
    QCOMPARE(m_platform->messages.first().style, 48);
    QVERIFY(m_platform->dialogs.isEmpty());
}

void TestExport::cancelWritesNothing()
{
    auto form = formWithPhoto(1);
    form->findChild<QAction *>(QStringLiteral("mnuExport"))->trigger(); // the fake cancels
    QCOMPARE(m_platform->dialogs.size(), 1);
    QVERIFY(m_platform->messages.isEmpty());
    QVERIFY(!QFile::exists(m_program->path() + QStringLiteral("/PhotoID_tmp.bmp")));
}

void TestExport::replaceQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes replaces") << int(MessageBoxAnswer::Yes);
    QTest::newRow("no keeps") << int(MessageBoxAnswer::No);
}

void TestExport::replaceQuestion()
{
    QFETCH(int, answer);
    auto form = formWithPhoto(1);
    const QString target = m_program->path() + QStringLiteral("/PhotoID1.jpg");
    TestPhotos::writeFile(target, "previous");
    exportTo(*form, target, answer);
    const FakePlatform::Message &question = m_platform->messages.first();
    QCOMPARE(question.text, form->text(38) + QStringLiteral("\r\r") + form->text(39));
    QCOMPARE(question.style, 52);
    QCOMPARE(question.title, form->text(14));
    if (answer == MessageBoxAnswer::No) {
        QCOMPARE(m_program->read(QStringLiteral("PhotoID1.jpg")), QByteArray("previous"));
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY2(!QFile::exists(m_program->path() + QStringLiteral("/PhotoID_tmp.bmp")),
                 "No writes nothing, not even the temporary bitmap");
    } else {
        QCOMPARE(QImageReader(target).size(), QSize(1772, 1181));
        QCOMPARE(m_platform->messages.last().text, form->text(40));
    }
}

void TestExport::failuresKeepTheTarget_data()
{
    QTest::addColumn<QString>("case_");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder does not exist") << "missing";
    QTest::newRow("disk full") << "full";
}

void TestExport::failuresKeepTheTarget()
{
    QFETCH(QString, case_);
    auto form = formWithPhoto(1);
    QString target = m_program->path() + QStringLiteral("/sheet.jpg");
    rlimit previous {};
    if (case_ == QLatin1String("folder")) {
        QDir().mkpath(target);
    } else if (case_ == QLatin1String("missing")) {
        target = m_program->path() + QStringLiteral("/no/such/folder/sheet.jpg");
    } else {
        TestPhotos::writeFile(target, "previous");
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tiny = previous;
        tiny.rlim_cur = 64 * 1024; // smaller than the sheet: the write cannot complete
        setrlimit(RLIMIT_FSIZE, &tiny);
        m_platform->answers.enqueue(MessageBoxAnswer::Yes); // replace it
    }
    const QString shown = exportTo(*form, target);
    if (case_ == QLatin1String("full"))
        setrlimit(RLIMIT_FSIZE, &previous);

    QCOMPARE(shown, form->text(53) + target);
    QCOMPARE(m_platform->messages.last().title, form->text(14));
    for (const FakePlatform::Message &message : std::as_const(m_platform->messages))
        QVERIFY(message.text != form->text(40));
    if (case_ == QLatin1String("full"))
        QCOMPARE(m_program->read(QStringLiteral("sheet.jpg")), QByteArray("previous"));
    QVERIFY(!QFile::exists(m_program->path() + QStringLiteral("/PhotoID_tmp.bmp")));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestExport::oldTemporaryBitmapIsReplacedAndRemoved()
{
    auto form = formWithPhoto(3);
    const QString bitmap = m_program->path() + QStringLiteral("/PhotoID_tmp.bmp");
    TestPhotos::writeFile(bitmap, "left over from an earlier run");
    QCOMPARE(exportTo(*form, m_program->path() + QStringLiteral("/a.jpg")), form->text(40));
    QVERIFY(!QFile::exists(bitmap));
}

void TestExport::bmpToJpgKeepsSource()
{
    const QString bmp = m_program->path() + QStringLiteral("/in.bmp");
    const QString jpg = m_program->path() + QStringLiteral("/out.jpg");
    QVERIFY(TestPhotos::quadrants(64, 48).save(bmp, "BMP"));
    QCOMPARE(BMPToJPG(bmp, jpg, 85), int16_t(1));
    QVERIFY(QFile::exists(bmp));
    QCOMPARE(QImageReader(jpg).size(), QSize(64, 48));

    BmpToJpgFailure failure = BmpToJpgFailure::None;
    TestPhotos::writeFile(bmp, "BM not really");
    QCOMPARE(BMPToJPG(bmp, jpg, 85, &failure), int16_t(0));
    QCOMPARE(failure, BmpToJpgFailure::SourceUnreadable);
    QCOMPARE(QImageReader(jpg).size(), QSize(64, 48)); // the earlier JPEG is intact
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
