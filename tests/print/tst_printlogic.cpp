#include "fakeprintersystem.h"
#include "i18n/textfile.h"
#include "photo/photoformat.h"
#include "print/boundedprintersystem.h"
#include "print/copiestext.h"
#include "print/sheetgeometry.h"
#include "print/sheetjob.h"
#include "print/sheetpdf.h"
#include "print/sheetpreview.h"
#include "testconfig.h"
#include "testphotos.h"

#include <QFutureWatcher>
#include <QSet>
#include <QTest>
#include <QTimer>

class TestPrintLogic : public QObject
{
    Q_OBJECT
private slots:
    void copiesToPrint_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("copies"); // with 7 set on the printer; 1000 is refused
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("half rounds to even, down") << "2.5" << 2;
        QTest::newRow("half rounds to even, up") << "3.5" << 4;
        QTest::newRow("rounds to 0 still prints one") << "0.4" << 1;
        QTest::newRow("blanks inside, letters after") << "1 2\t3 abc" << 123;
        QTest::newRow("letters keep the printer's") << "abc" << 7;
        QTest::newRow("negative keeps the printer's") << "-2" << 7;
        QTest::newRow("999.5 rounds to 1000") << "999.5" << 1000;
        QTest::newRow("beyond a double") << "1e400" << 1000;
    }
    void copiesToPrint()
    {
        QFETCH(QString, text);
        QFETCH(int, copies);
        QCOMPARE(::copiesToPrint(text, 7), copies);
    }
    // Each row: a paper in one orientation and, for the five formats in order and then for
    // 50 x 70, 33 x 48, 26 x 32, 40 x 60 and 300 x 300 mm, how many copies print on it; "s"
    // marks the sheet's own positions, otherwise a centred grid.
    void sheetOnPaper_data()
    {
        QTest::addColumn<QSizeF>("paper"); // upright, mm
        QTest::addColumn<QMarginsF>("margins");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QString>("copies");
        const auto both = [](const char *name, QSizeF paper, QMarginsF margins,
                              const char *portrait, const char *landscape) {
            QTest::addRow("%s, portrait", name) << paper << margins << false << portrait;
            QTest::addRow("%s, landscape", name) << paper << margins << true << landscape;
        };
        both(
            "A4", { 210, 297 }, {}, "8s 8s 8s 6s 6s 16 36 63 20 0", "8s 8s 8s 6s 6s 10 32 66 21 0");
        both("Letter, 6 mm margins", { 215.9, 279.4 }, QMarginsF(6, 6, 6, 6),
            "8s 8s 8s 6s 6s 12 30 56 16 0", "8s 8s 8s 6s 6s 10 28 54 18 0");
        both("A5", { 148, 210 }, {}, "8s 8 8 6 6", "8s 8s 8s 6s 6s");
        both("A6", { 105, 148 }, {}, "8 6 6 4 4", "8s 8 6 4 4");
        both("4 x 6 in borderless", { 101.6, 152.4 }, {}, "8 6 6 6 2", "8s 8 6 6 2");
        both("10 x 15 cm, 3 mm margins", { 100, 150 }, QMarginsF(3, 3, 3, 3),
            "8 6 6 2 2 2 4 12 4 0", "8s 8 6 2 2 2 4 10 3 0");
        both("13 x 18 cm", { 127, 178 }, {}, "8 8 8 6 6", "8s 8s 8s 6s 6s");
        both("5 x 7 in, 5 mm at the bottom", { 127, 177.8 }, QMarginsF(0, 0, 0, 5), "8 8 8 6 6",
            "8s 8s 8 6s 6s");
        both("45 x 60 mm: one copy or none", { 45, 60 }, {}, "1 1 1 0 0", "1 1 1 0 0");
    }
    void sheetOnPaper()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QMarginsF, margins);
        QFETCH(bool, landscape);
        QFETCH(QString, copies);
        const QSizeF area = printableSize({ paper, margins },
            landscape ? PrintOrientation::Landscape : PrintOrientation::Portrait);
        const auto near = [](const QRectF &a, const QRectF &b) {
            return (a.topLeft() - b.topLeft()).manhattanLength()
                + (a.bottomRight() - b.bottomRight()).manhattanLength()
                < 1e-4;
        };
        QList<QSizeF> sizes;
        for (const PhotoFormat &format : PhotoFormats)
            sizes << photoSizeMm(QSizeF(format.frameWidth, format.frameHeight));
        sizes << QSizeF(50, 70) << QSizeF(33, 48) << QSizeF(26, 32) << QSizeF(40, 60)
              << QSizeF(300, 300);
        const QStringList counts = copies.split(u' ');
        for (qsizetype size = 0; size < counts.size(); ++size) {
            const QSizeF photo = sizes[size];
            const QList<QRectF> places = ::sheetOnPaper(photo, area);
            const QString &wanted = counts[size];
            const QByteArray caption
                = QByteArray::number(photo.width()) + " x " + QByteArray::number(photo.height());
            QVERIFY2(places.size() == wanted.chopped(wanted.endsWith(u's')).toInt(), caption);
            QRectF extent;
            for (int i = 0; i < places.size(); ++i) {
                // Whole copies of the photo's size, row by row, 1 mm apart.
                const QRectF &last = places[std::max(i - 1, 0)];
                QVERIFY2(i ? near(places[i], last.translated(photo.width() + 1, 0))
                            || near(places[i],
                                QRectF(QPointF(places[0].left(), last.bottom() + 1), photo))
                           : near(places[0], QRectF(places[0].topLeft(), photo)),
                    caption);
                extent |= places[i];
            }
            // Inside the area: the sheet's own place 10 mm in from the corner, or centred.
            const QMarginsF room(extent.left(), extent.top(), area.width() - extent.right(),
                area.height() - extent.bottom());
            QVERIFY(places.isEmpty()
                || (std::min({ room.left(), room.top(), room.right(), room.bottom() }) > -1e-4
                    && (wanted.endsWith(u's')
                               ? std::abs(room.left() - 10) + std::abs(room.top() - 10)
                               : std::abs(room.left() - room.right())
                                   + std::abs(room.top() - room.bottom()))
                        < 1e-4));
        }
    }
    // Among grids that hold as many copies, the sheet's four columns and two rows: 35 x 45 mm
    // on 150 x 160 mm fits 8 as 4 x 2 and as 3 x 3.
    void sheetOnPaperKeepsTheSheetsShape()
    {
        const QList<QRectF> places = ::sheetOnPaper({ 35, 45 }, { 150, 160 });
        QCOMPARE(places.size(), 8);
        QCOMPARE(places[3].top(), places[0].top());
    }
    // The orientation pictures show the page as it will print: the paper's proportions in
    // each orientation and the user's photo at each place it prints on that paper.
    void truePreview_data()
    {
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<QMarginsF>("margins");
        QTest::addColumn<QPoint>("portraitGrid"); // columns, rows of copies
        QTest::addColumn<QPoint>("landscapeGrid");
        QTest::newRow("Letter") << QSizeF(215.9, 279.4) << QMarginsF(6, 6, 6, 6) << QPoint(4, 2)
                                << QPoint(4, 2);
        QTest::newRow("4 x 6 in") << QSizeF(101.6, 152.4) << QMarginsF() << QPoint(2, 3)
                                  << QPoint(4, 2);
    }
    void truePreview()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QMarginsF, margins);
        QFETCH(QPoint, portraitGrid);
        QFETCH(QPoint, landscapeGrid);
        const double upright = paper.width() / paper.height();
        // The dialog's two pictures: a portrait and a landscape page.
        for (const auto &[orientation, bounds, aspect, grid] :
            { std::tuple { PrintOrientation::Portrait, QSize(160, 185), upright, portraitGrid },
                std::tuple {
                    PrintOrientation::Landscape, QSize(190, 152), 1 / upright, landscapeGrid } }) {
            const QImage picture = sheetPreview({ paper, margins }, orientation,
                TestPhotos::quadrants(70, 90), QSizeF(35, 45), bounds);
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
            // Red is each copy's top-left quarter: one run of it per column and per row.
            auto runs = [](const QSet<int> &at) {
                return int(std::count_if(
                    at.begin(), at.end(), [&](int v) { return !at.contains(v - 1); }));
            };
            QCOMPARE(QPoint(runs(redColumns), runs(redRows)), grid);
        }
    }
    // The job's refusals come first, in this order, and nothing is sent; otherwise one page
    // with the choices as they were made.
    void printSheet_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QSizeF>("photo"); // mm; empty: none
        QTest::addColumn<int>("refusal"); // a TextId, or 0 when the page is sent
        QTest::newRow("sent") << "P" << 3 << QSizeF(35, 45) << 0;
        QTest::newRow("too many copies, before the missing photo")
            << "P" << 1000 << QSizeF() << int(TextId::TooManyCopies);
        QTest::newRow("no photo, before the missing printer")
            << "" << 1 << QSizeF() << int(TextId::NoPhotoToPrint);
        QTest::newRow("300 x 300 mm on A4")
            << "P" << 1 << QSizeF(300, 300) << int(TextId::NoCopyFits);
        QTest::newRow("no printer") << "" << 1 << QSizeF(35, 45) << int(TextId::NoPrinter);
    }
    void printSheet()
    {
        QFETCH(QString, printer);
        QFETCH(int, copies);
        QFETCH(QSizeF, photo);
        QFETCH(int, refusal);
        FakePrinterSystem system;
        system.names = QStringList { "P" };
        const PrintChoices choices { printer, PrintOrientation::Landscape, copies,
            PrintQuality::Draft, "title" };
        const std::optional<PrinterFailure> failure = ::printSheet(
            system, choices, { photo.isEmpty() ? QImage() : TestPhotos::quadrants(70, 90), photo });
        QCOMPARE(failure ? int(failure->text()) : 0, refusal);
        QCOMPARE(system.submitted.size(), refusal ? 0 : 1);
        if (refusal)
            return;
        const PrintDocument &sent = system.submitted[0];
        QVERIFY(sent.printer == printer && sent.orientation == PrintOrientation::Landscape
            && sent.copies == copies && sent.quality == PrintQuality::Draft
            && sent.title == choices.title);
        QCOMPARE(sent.pictures.size(), 8);
        QCOMPARE(sent.pictures[7].rectMm, QRectF(118, 56, 35, 45));
    }
    // A reason in the user's language: its figures in their places, taken as they are, and
    // the printing system's words after it.
    void failureSaid_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QStringList>("figures");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("said");
        using enum PrinterFailure::Reason;
        QTest::newRow("stopped") << int(PrinterStopped) << QStringList { "B\u00FCro %2" }
                                 << "Paused"
                                 << "der Drucker \u201EB\u00FCro %2\u201C ist angehalten (Paused)";
        QTest::newRow("no copy fits")
            << int(NoCopyFits) << QStringList { "35.0", "45.0", "30.0", "40.0" } << ""
            << "kein einziges Foto (35.0 x 45.0 mm) passt in den Druckbereich des Papiers "
               "(30.0 x 40.0 mm)";
        QTest::newRow("job unanswered")
            << int(NotAnsweredJobMayPrint) << QStringList { "30" } << ""
            << "das Drucksystem hat nicht innerhalb von 30 s geantwortet: der Auftrag wird "
               "vielleicht trotzdem gedruckt";
    }
    void failureSaid()
    {
        QFETCH(int, reason);
        QFETCH(QStringList, figures);
        QFETCH(QString, words);
        QFETCH(QString, said);
        TextTable german;
        german.applyLines(readTextLines(KALMORA_SOURCE_DIR "/Lang/deutsch.lng").value());
        QCOMPARE(PrinterFailure(PrinterFailure::Reason(reason), figures, words).said(german), said);
    }
    // A job on its own thread through a printing server that never answers: the window's
    // thread goes on meanwhile, and the job gives up at the time limit.
    void jobOffThreadGivesUp()
    {
        QSemaphore never;
        auto silent = std::make_shared<FakePrinterSystem>();
        silent->names = QStringList { "P" };
        silent->submitGate = &never;
        BoundedPrinterSystem printers(silent, std::chrono::seconds(5), std::chrono::seconds(1));
        QFutureWatcher<std::optional<PrinterFailure>> job;
        job.setFuture(
            startPrintSheet(printers, { "P" }, { TestPhotos::quadrants(70, 90), { 35, 45 } }));
        bool free = false;
        QTimer::singleShot(0, [&free] { free = true; });
        QTRY_VERIFY(free);
        QVERIFY(!job.isFinished());
        QTRY_VERIFY_WITH_TIMEOUT(job.isFinished(), 2500);
        QCOMPARE(job.result()->reason, PrinterFailure::Reason::NotAnsweredJobMayPrint);
        never.release(); // the call given up ends, with the system it owns
        QTRY_COMPARE(silent.use_count(), 2); // here and in the printing system
    }
};

QTEST_MAIN(TestPrintLogic)
#include "tst_printlogic.moc"
