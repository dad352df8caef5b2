#include "app/form1.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "print/boundedprintersystem.h"
#include "print/copiestext.h"
#include "print/cupsprintersystem.h"
#include "print/frmstampa.h"
#include "print/sheetgeometry.h"
#include "print/sheetpdf.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocalServer>
#include <QPointer>
#include <QSet>
#include <QTest>

class TestPrintLogic : public QObject
{
    Q_OBJECT
private slots:
    void copiesFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("copies"); // 0: the printer keeps its setting; -1: refused
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("999.4") << "999.4" << 999;
        QTest::newRow("half rounds to even, down") << "2.5" << 2;
        QTest::newRow("half rounds to even, up") << "3.5" << 4;
        QTest::newRow("rounds to 0 still prints one") << "0.4" << 1;
        QTest::newRow("blanks inside, letters after") << "1 2\t3 abc" << 123;
        QTest::newRow("exponent") << "25E-1" << 2;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("negative") << "-2" << 0;
        QTest::newRow("999.5 rounds to 1000") << "999.5" << -1;
        QTest::newRow("beyond a double") << "1e400" << -1;
    }
    void copiesFromText()
    {
        QFETCH(QString, text);
        QFETCH(int, copies);
        const CopiesRequest request = ::copiesFromText(text);
        QCOMPARE(request.kind == CopiesRequest::Kind::Set   ? request.copies
                : request.kind == CopiesRequest::Kind::Keep ? 0
                                                            : -1,
            copies);
    }
    void sheetRectangles_data()
    {
        QTest::addColumn<QSizeF>("frameTwips");
        QTest::addColumn<int>("columns");
        QTest::newRow("35 x 45") << QSizeF(3500, 4500) << 4;
        QTest::newRow("50 x 50") << QSizeF(5000, 5000) << 3;
        QTest::newRow("2 x 2 in") << QSizeF(5080, 5080) << 3;
        QTest::newRow("just under 50 wide") << QSizeF(4999, 3000) << 4;
    }
    void sheetRectangles()
    {
        QFETCH(QSizeF, frameTwips);
        QFETCH(int, columns);
        const QList<QRectF> rects = ::sheetRectangles(photoSizeMm(frameTwips));
        QCOMPARE(rects.size(), 2 * columns);
        const auto near = [](QPointF a, QPointF b) { return (a - b).manhattanLength() < 1e-4; };
        for (int i = 0; i < rects.size(); ++i) {
            QVERIFY(near({ rects[i].width(), rects[i].height() },
                { frameTwips.width() / 100, frameTwips.height() / 100 }));
            // Row by row, left to right, 10 mm in from the corner and 1 mm apart.
            const QPointF expected = i % columns ? rects[i - 1].topRight() + QPointF(1, 0)
                : i                              ? QPointF(10, rects[i - columns].bottom() + 1)
                                                 : QPointF(10, 10);
            QVERIFY(near(rects[i].topLeft(), expected));
        }
    }
    void pageMargins()
    {
        const PaperArea paper { QSizeF(210, 297), QMarginsF(6, 12, 13, 19) };
        QCOMPARE(::pageMargins(paper, PrintOrientation::Portrait), paper.marginsMm);
        // Turned a quarter turn anticlockwise: the paper's bottom edge is the page's left.
        QCOMPARE(::pageMargins(paper, PrintOrientation::Landscape), QMarginsF(19, 6, 12, 13));
        // A printable area wider than the paper is the printer's fault, and said so.
        const std::optional<PrinterFailure> failure = writeSheetPdf(
            {}, { QSizeF(210, 297), QMarginsF(110, 0, 110, 0) }, QStringLiteral("/dev/null"));
        QVERIFY(failure && failure->text == TextId::AreaLargerThanPaper);
    }
    // The quality chosen in the dialog travels with the job, whatever it is.
    void qualityTravelsWithTheJob()
    {
        FakePlatform platform(QString {});
        platform.printerSystem.names = QStringList { "P" };
        platform.printerSystem.defaultName = "P";
        Printer printer(platform.printerSystem);
        const TextTable texts;
        const PhotoSheetSource source { [] { return TestPhotos::quadrants(70, 90); },
            [] { return QSizeF(3500, 4500); } };
        for (int index : { 3, 0 }) {
            QPointer<frmStampa> dialog = new frmStampa(platform, texts, printer, source);
            dialog->findChild<QComboBox *>("cboQualita")->setCurrentIndex(index);
            QTest::mouseClick(
                dialog->findChild<QWidget *>("Label1_0"), Qt::LeftButton, {}, { 5, 5 });
            delete dialog;
        }
        QCOMPARE(platform.printerSystem.submitted.size(), 2);
        QCOMPARE(platform.printerSystem.submitted[0].quality, PrintQuality::Draft);
        QCOMPARE(platform.printerSystem.submitted[1].quality, PrintQuality::High);
    }
    // The orientation pictures show the page as it will print: the paper's proportions in
    // each orientation and the user's photo at each of the eight places.
    void truePreview()
    {
        FakePlatform platform(QString {});
        platform.printerSystem.names = QStringList { "P" };
        platform.printerSystem.defaultName = "P";
        platform.printerSystem.paper = { QSizeF(215.9, 279.4), QMarginsF(6, 6, 6, 6) };
        Printer printer(platform.printerSystem);
        const TextTable texts;
        const PhotoSheetSource source { [] { return TestPhotos::quadrants(70, 90); },
            [] { return QSizeF(3500, 4500); } };
        frmStampa dialog(platform, texts, printer, source);
        for (const auto &[name, aspect] :
            { std::pair { "Image2", 215.9 / 279.4 }, std::pair { "Image3", 279.4 / 215.9 } }) {
            const QImage picture = dialog.findChild<QLabel *>(name)->pixmap().toImage();
            QRect page;
            QSet<int> redColumns, redRows;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    page |= c == Qt::white ? QRect(x, y, 1, 1) : QRect();
                    if (c.red() > 200 && c.green() < 90 && c.blue() < 90)
                        redColumns << x, redRows << y;
                }
            }
            QVERIFY(std::abs(page.width() / double(page.height()) - aspect) < 0.03);
            // Red is each copy's top-left quarter: four columns of it, two rows.
            auto runs = [](const QSet<int> &at) {
                return std::count_if(
                    at.begin(), at.end(), [&](int v) { return !at.contains(v - 1); });
            };
            QCOMPARE(runs(redColumns), 4);
            QCOMPARE(runs(redRows), 2);
        }
    }
    // A printing server that takes connections and never answers: the window comes up at once
    // and the print dialog reports the silence within seconds.
    void silentServer()
    {
        ProgramFolder program;
        QLocalServer silent;
        QVERIFY(silent.listen(program.path() + QStringLiteral("/cups.sock")));
        qputenv("CUPS_SERVER", QFile::encodeName(silent.fullServerName()));
        BoundedPrinterSystem printers(std::make_shared<CupsPrinterSystem>(),
            std::chrono::seconds(3), std::chrono::seconds(3));
        FakePlatform platform(program.path());
        QElapsedTimer clock;
        clock.start();
        Form1 form(platform, printers);
        form.startUp(QUrl());
        QVERIFY(form.isVisible() && clock.elapsed() < 1000);
        const QString photo = program.path() + QStringLiteral("/photo.jpg");
        QVERIFY(TestPhotos::writeFile(
            photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1400, 2000), 90)));
        form.LoadPhoto(photo);
        clock.restart();
        form.findChild<QAction *>(QStringLiteral("mnuPrint"))->trigger();
        QCOMPARE(platform.messages.size(), 1);
        QVERIFY(
            platform.messages[0].text.startsWith(form.text(TextId::PrintFailed) + "the printing"));
        QVERIFY(clock.elapsed() < 10000);
        // Still silent: the next try fails at once instead of waiting again.
        clock.restart();
        QTest::mouseClick(
            form.printDialog()->findChild<QWidget *>("Label1_0"), Qt::LeftButton, {}, { 5, 5 });
        QCOMPARE(platform.messages.size(), 2);
        QVERIFY(clock.elapsed() < 1000);
        qunsetenv("CUPS_SERVER");
    }
};

QTEST_MAIN(TestPrintLogic)
#include "tst_printlogic.moc"
