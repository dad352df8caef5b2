#include "app/mainwindow.h"
#include "app/printdialog.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "photo/photoformat.h"
#include "print/boundedprintersystem.h"
#include "print/copiestext.h"
#include "print/cupsprintersystem.h"
#include "print/sheetgeometry.h"
#include "print/sheetpdf.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocalServer>
#include <QPointer>
#include <QSet>
#include <QTest>

// One printer "P", the user's default, and a 35 x 45 mm photo to print on it.
struct OnePrinter
{
    OnePrinter()
    {
        platform.printerSystem.names = QStringList { "P" };
        platform.printerSystem.defaultName = "P";
    }
    PrintDialog *dialog() { return new PrintDialog(platform, texts, printer, source); }

    FakePlatform platform { QString {} };
    Printer printer { platform.printerSystem };
    const TextTable texts;
    const PhotoSheetSource source { [] { return TestPhotos::quadrants(70, 90); },
        [] { return QSizeF(3500, 4500); } };
};

class TestPrintLogic : public QObject
{
    Q_OBJECT
private slots:
    void copiesFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("copies"); // 0: the printer keeps its setting; -1: refused
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("half rounds to even, down") << "2.5" << 2;
        QTest::newRow("half rounds to even, up") << "3.5" << 4;
        QTest::newRow("rounds to 0 still prints one") << "0.4" << 1;
        QTest::newRow("blanks inside, letters after") << "1 2\t3 abc" << 123;
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
    // Each row: a paper in one orientation and, for the five formats in order, how many copies
    // print on it; "s" marks the sheet's own positions, otherwise a centred grid.
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
        both("A4", { 210, 297 }, {}, "8s 8s 8s 6s 6s", "8s 8s 8s 6s 6s");
        both("A5", { 148, 210 }, {}, "8s 8 8 6 6", "8s 8s 8s 6s 6s");
        both("A6", { 105, 148 }, {}, "8 6 6 4 4", "8s 8 6 4 4");
        both("4 x 6 in borderless", { 101.6, 152.4 }, {}, "8 6 6 6 2", "8s 8 6 6 2");
        both("10 x 15 cm, 3 mm margins", { 100, 150 }, QMarginsF(3, 3, 3, 3), "8 6 6 2 2",
            "8s 8 6 2 2");
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
        for (const PhotoFormat &format : PhotoFormats) {
            const QSizeF photo = photoSizeMm(QSizeF(format.frameWidth, format.frameHeight));
            const QList<QRectF> places = ::sheetOnPaper(photo, area);
            const QString wanted = copies.split(u' ')[&format - PhotoFormats.data()];
            QVERIFY2(
                places.size() == wanted.chopped(wanted.endsWith(u's')).toInt(), format.caption);
            QRectF extent;
            for (int i = 0; i < places.size(); ++i) {
                // Whole copies of the photo's size, row by row, 1 mm apart.
                const QRectF &last = places[std::max(i - 1, 0)];
                QVERIFY2(i ? near(places[i], last.translated(photo.width() + 1, 0))
                            || near(places[i],
                                QRectF(QPointF(places[0].left(), last.bottom() + 1), photo))
                           : near(places[0], QRectF(places[0].topLeft(), photo)),
                    format.caption);
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
        OnePrinter one;
        one.platform.printerSystem.paper = { paper, margins };
        const std::unique_ptr<PrintDialog> dialog(one.dialog());
        const double upright = paper.width() / paper.height();
        for (const auto &[name, aspect, grid] :
            { std::tuple { "portraitPicture", upright, portraitGrid },
                std::tuple { "landscapePicture", 1 / upright, landscapeGrid } }) {
            const QImage picture = dialog->findChild<QLabel *>(name)->pixmap().toImage();
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
    // A printing server that takes connections and never answers: the window comes up at once,
    // and the print dialog says within seconds, in the user's words, that nothing can print,
    // and offers the export instead.
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
        MainWindow form(platform, printers);
        form.startUp(QUrl());
        QVERIFY(form.isVisible() && clock.elapsed() < 1000);
        const QString photo = program.path() + QStringLiteral("/photo.jpg");
        QVERIFY(TestPhotos::writeFile(
            photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1400, 2000), 90)));
        form.openPhoto(photo);
        clock.restart();
        form.findChild<QAction *>(QStringLiteral("printAction"))->trigger();
        QVERIFY(clock.elapsed() < 10000);
        QPointer<PrintDialog> dialog = form.printDialog();
        QVERIFY(platform.messages.isEmpty());
        QCOMPARE(dialog->findChild<QLabel *>("silenceNote")->text(),
            form.text(TextId::PrintingSystemSilent));
        QVERIFY(!dialog->findChild<QWidget *>("printButton")->isEnabled());
        QTest::keyClick(dialog, Qt::Key_Return);
        QVERIFY(platform.messages.isEmpty() && dialog->isVisible());

        const QString sheet = program.path() + QStringLiteral("/sheet.jpg");
        platform.dialogAnswers.enqueue(QStringList { sheet });
        QTest::mouseClick(dialog->findChild<QWidget *>("exportInsteadButton"), Qt::LeftButton);
        QVERIFY(!dialog || !dialog->isVisible());
        QCOMPARE(QImage(sheet).size(), QSize(1772, 1181));
        qunsetenv("CUPS_SERVER");
    }
    // By keyboard alone: Tab visits the printer, the orientation shown, the copies and the two
    // buttons; Space turns the page, Return prints what the dialog shows (the quality chosen
    // included), Escape cancels.
    void keyboardAlone()
    {
        OnePrinter one;
        for (const Qt::Key last : { Qt::Key_Return, Qt::Key_Escape }) {
            QPointer<PrintDialog> dialog = one.dialog();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QStringList visited;
            for (int tab = 0; tab < 5; ++tab) {
                QWidget *focus = QApplication::focusWidget();
                visited << (focus->objectName().isEmpty() ? focus->parentWidget() : focus)
                               ->objectName();
                QTest::keyClick(focus, Qt::Key_Tab);
            }
            QCOMPARE(visited,
                QStringList({ "printerBox", "landscapePicture", "copiesBox", "printButton",
                    "cancelButton" }));
            QWidget *landscape = dialog->findChild<QWidget *>("landscapePicture");
            landscape->setFocus();
            QTest::keyClick(landscape, Qt::Key_Space);
            QVERIFY(landscape->isHidden() && QApplication::focusWidget()->isVisible());
            dialog->findChild<QComboBox *>("qualityBox")->setCurrentIndex(3);
            QTest::keyClick(QApplication::focusWidget(), last);
            QVERIFY(!dialog || !dialog->isVisible());
            delete dialog;
        }
        QCOMPARE(one.platform.printerSystem.submitted.size(), 1);
        QCOMPARE(one.platform.printerSystem.submitted[0].orientation, PrintOrientation::Portrait);
        QCOMPARE(one.platform.printerSystem.submitted[0].quality, PrintQuality::Draft);
    }
};

QTEST_MAIN(TestPrintLogic)
#include "tst_printlogic.moc"
