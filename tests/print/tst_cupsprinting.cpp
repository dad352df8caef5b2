#include "i18n/texttable.h"
#include "print/boundedprintersystem.h"
#include "print/copiestext.h"
#include "print/cupsprintersystem.h"
#include "print/printer.h"
#include "print/sheetgeometry.h"
#include "print/sheetjob.h"
#include "print/sheetpdf.h"
#include "testphotos.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <QUuid>

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

// Prints a sheet as the print dialog does, on a thread of its own, on the private CUPS daemon
// that scripts/test starts, on each kind of queue it adds (see scripts/cups-test-server).

namespace {

const QString Plain = QStringLiteral("KalmoraPDF");
const QString Margins = QStringLiteral("KalmoraMargins");
const QString Chosen = QStringLiteral("KalmoraChosen");
const QString Eve = QStringLiteral("KalmoraEve");
const QString PhotoPaper = QStringLiteral("KalmoraPhoto");
const QString A6Paper = QStringLiteral("KalmoraA6");
constexpr double MmPerDot = 25.4 / 300;

int colourDistance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
        + std::abs(qBlue(a) - qBlue(b));
}

// cups-pdf writes each job to PDF/ in the owner's home as the password database has it, named
// after the job's title and ending in "job_<id>.pdf".
QString outputOf(const QString &title)
{
    const passwd *owner = getpwuid(getuid());
    const QString home = QString::fromLocal8Bit(owner ? owner->pw_dir : "/");
    // The driverless printer keeps what it receives as "<id>-<title>.pdf".
    for (const QDir &folder : { QDir(home + QStringLiteral("/PDF")),
             QDir(qEnvironmentVariable("KALMORA_TEST_CUPS_ROOT") + QStringLiteral("/eve")) }) {
        const QStringList names = folder.entryList({ u'*' + title + u'*' }, QDir::Files);
        if (!names.isEmpty())
            return folder.filePath(names.first());
    }
    return {};
}

// CUPS logs a finished job as "<queue> <user> <id> [<time>] total <pages> - <host> <title> ...".
QString finishedJob(const QString &title)
{
    QFile log(qEnvironmentVariable("KALMORA_TEST_CUPS_ROOT") + QStringLiteral("/log/page_log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n').filter(title).value(0);
}

// The runs of inked columns across the page: x is where one starts, y where it ends, in mm.
QList<QPointF> inkRuns(const QImage &page)
{
    QList<QPointF> runs;
    for (int x = 0, start = -1; x <= page.width(); ++x) {
        bool inked = false;
        for (int y = 0; x < page.width() && !inked && y < page.height(); ++y)
            inked = page.pixelColor(x, y).lightness() < 191; // every colour of the photo
        if (inked && start < 0)
            start = x;
        else if (!inked && start >= 0)
            runs.append(QPointF(std::exchange(start, -1), x) * MmPerDot);
    }
    return runs;
}

} // namespace

class TestCupsPrinting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qgetenv("KALMORA_TEST_CUPS") != "1")
            QSKIP("needs the private CUPS daemon that scripts/test starts");
        // A user's own paper for a queue, as they choose it.
        QCOMPARE(QProcess::execute(QStringLiteral("lpoptions"),
                     { QStringLiteral("-p"), Chosen, QStringLiteral("-o"),
                         QStringLiteral("media=Letter") }),
            0);
    }
    void realSizeOnPaper_data()
    {
        QTest::addColumn<QSizeF>("photo"); // mm
        QTest::addColumn<QString>("queue");
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<int>("count");
        QTest::addColumn<QSizeF>("paper"); // mm, upright
        QTest::addColumn<QMarginsF>("margins"); // mm on the upright paper
        const auto row = [](const char *name, QSizeF photo, const QString &queue, bool portrait,
                             const char *copies, int count, QSizeF paper, QMarginsF margins) {
            QTest::newRow(name) << photo << queue << portrait << QString(copies) << count << paper
                                << margins;
        };
        const QSizeF a4(210, 297), letter(215.9, 279.4);
        // The margins PPD's printable area: "18 54 559 806" of 595 x 842 points.
        const QMarginsF driver = QMarginsF(18, 36, 36, 54) * (25.4 / 72);
        row("30 x 40, A4 driver, portrait", QSizeF(30, 40), Plain, true, "1", 1, a4, QMarginsF());
        row("35 x 45, margins, portrait", QSizeF(35, 45), Margins, true, "2.5", 2, a4, driver);
        row("50 x 50, margins, landscape", QSizeF(50, 50), Margins, false, "1", 1, a4, driver);
        row("35 x 45, Letter driver, portrait", QSizeF(35, 45), QStringLiteral("KalmoraLetter"),
            true, "1", 1, letter, QMarginsF());
        row("35 x 45, Letter chosen for an A4 driver, landscape", QSizeF(35, 45), Chosen, false,
            "1", 1, letter, QMarginsF());
        const QMarginsF eve(6.35, 6.35, 6.35, 6.35);
        row("40 x 40, driverless, landscape", QSizeF(40, 40), Eve, false, "1", 1, letter, eve);
        // Photo paper smaller than the sheet: the copies laid out for it.
        const QSizeF photo(101.6, 152.4), a6 = QSizeF(297, 420) * (25.4 / 72);
        const QMarginsF a6Driver = QMarginsF(8.5, 8.5, 8.5, 8.5) * (25.4 / 72);
        row("35 x 45, 4 x 6 in photo paper, landscape", QSizeF(35, 45), PhotoPaper, false, "1", 1,
            photo, QMarginsF());
        row("50 x 50, A6 with margins, landscape", QSizeF(50, 50), A6Paper, false, "1", 1, a6,
            a6Driver);
        // The offices' other sizes: as many copies as the paper takes.
        row("50 x 70, A4 driver, portrait", QSizeF(50, 70), Plain, true, "1", 1, a4, QMarginsF());
        row("33 x 48, margins, landscape", QSizeF(33, 48), Margins, false, "1", 1, a4, driver);
        row("26 x 32, 4 x 6 in photo paper, portrait", QSizeF(26, 32), PhotoPaper, true, "1", 1,
            photo, QMarginsF());
    }
    void realSizeOnPaper()
    {
        QFETCH(QSizeF, photo);
        QFETCH(QString, queue);
        QFETCH(bool, portrait);
        QFETCH(QString, copies);
        QFETCH(int, count);
        QFETCH(QSizeF, paper);
        QFETCH(QMarginsF, margins);
        QString title;
        const std::optional<PrinterFailure> failure = print(photo, queue, portrait, copies, &title);
        QVERIFY2(!failure, qPrintable(failure ? failure->said(TextTable()) : QString()));
        QString job;
        QTRY_VERIFY_WITH_TIMEOUT(!(job = finishedJob(title)).isEmpty(), 120000);
        const QString pdf = outputOf(title);
        QProcess raster;
        raster.start(QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-singlefile"), pdf });
        QVERIFY(raster.waitForFinished(60000) && QFile::remove(pdf));
        QVERIFY2(
            job.contains(QStringLiteral(" total %1 ").arg(count)), qPrintable(job)); // one page
        QImage page = QImage::fromData(raster.readAllStandardOutput(), "PPM");
        // The paper comes out upright, of the queue's size; a landscape sheet is read turned
        // clockwise.
        QVERIFY2(std::abs(page.width() * MmPerDot - paper.width()) < 0.5
                && std::abs(page.height() * MmPerDot - paper.height()) < 0.5,
            qPrintable("sent as " + CupsPrinterSystem().paper(queue)->media));
        const QSizeF area = paper.shrunkBy(margins);
        if (!portrait) {
            page = page.transformed(QTransform().rotate(90));
            margins = QMarginsF(margins.bottom(), margins.left(), margins.top(), margins.right());
        }
        const QList<QRectF> places = sheetOnPaper(photo, portrait ? area : area.transposed());
        // Row by row: each column and each row of copies is one run of ink across the page.
        const int columns = int(std::count_if(places.begin(), places.end(),
            [&](const QRectF &place) { return place.top() == places[0].top(); }));
        const QList<QPointF> xs = inkRuns(page);
        const QList<QPointF> ys = inkRuns(page.transformed(QTransform(0, 1, 1, 0, 0, 0)));
        QCOMPARE(xs.size(), columns);
        QCOMPARE(ys.size(), (places.size() + columns - 1) / columns);
        for (int i = 0; i < places.size(); ++i) {
            const QRectF want = places[i].translated(margins.left(), margins.top());
            const QPointF x = xs[i % columns];
            const QPointF y = ys[i / columns];
            const double off
                = std::max({ std::abs(x.x() - want.left()), std::abs(x.y() - want.right()),
                    std::abs(y.x() - want.top()), std::abs(y.y() - want.bottom()) });
            QVERIFY2(
                off <= 0.2, qPrintable(QStringLiteral("photo %1 off by %2 mm").arg(i).arg(off)));
            // The whole photo, upright: each quarter of the cell shows the photo's quarter.
            for (const QPointF f : { QPointF(0.25, 0.25), QPointF(0.75, 0.25), QPointF(0.25, 0.75),
                     QPointF(0.75, 0.75) }) {
                const QPointF at(x.x() + f.x() * want.width(), y.x() + f.y() * want.height());
                QVERIFY(colourDistance(page.pixel((at / MmPerDot).toPoint()),
                            m_photo.pixel(int(f.x() * 1400), int(f.y() * 2000)))
                    < 120);
            }
        }
    }
    void refusedJobReported_data()
    {
        QTest::addColumn<QString>("reason");
        // What breaks the queue and what mends it again, each a command line.
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QSizeF>("photo");
        QTest::addColumn<QString>("copies");
        const QString queue = u' ' + Margins;
        QTest::newRow("stopped queue")
            << "stopped" << QStringList { "cupsdisable" + queue, "cupsenable" + queue }
            << QSizeF(35, 45) << "1";
        QTest::newRow("not accepting jobs")
            << "not accepting" << QStringList { "cupsreject" + queue, "cupsaccept" + queue }
            << QSizeF(35, 45) << "1";
        QTest::newRow("too many copies") << "999" << QStringList() << QSizeF(35, 45) << "1000";
        const QString choose = "lpoptions -p" + queue + " -o media=";
        const QString mend = "lpoptions -p" + queue + " -r media";
        QTest::newRow("a paper CUPS cannot name")
            << "NoSuchPaper" << QStringList { choose + "NoSuchPaper", mend } << QSizeF(35, 45)
            << "1";
        // A6 now carries four 2 x 2 in copies; A9 carries no 40 x 40 mm one.
        QTest::newRow("no 40 x 40 mm copy on A9")
            << "(40.0 x 40.0 mm)" << QStringList { choose + "iso_a9_37x52mm", mend }
            << QSizeF(40, 40) << "1";
    }
    void refusedJobReported()
    {
        QFETCH(QString, reason);
        QFETCH(QStringList, commands);
        QFETCH(QSizeF, photo);
        QFETCH(QString, copies);
        const auto run = [&](int i) {
            const QStringList line = commands.value(i).split(u' ');
            return commands.isEmpty() || QProcess::execute(line[0], line.mid(1)) == 0;
        };
        QVERIFY(run(0));
        const std::optional<PrinterFailure> failure = print(photo, Margins, false, copies);
        QVERIFY(run(1));
        QVERIFY(failure);
        const QString said = failure->said(TextTable());
        QVERIFY2(said.contains(reason, Qt::CaseInsensitive), qPrintable(said));
    }
    void defaultSwitch()
    {
        const QFileInfo machine(QStringLiteral("/etc/cups/lpoptions"));
        const QDateTime before = machine.lastModified();
        // Asked as the print dialog asks, off the window's thread.
        const auto makeDefault = [this](const QString &name) {
            return askPrinterSystem(m_printers, [name](PrinterSystem &system) {
                return makeUserDefault(system, name);
            }).result();
        };
        Printer printer(m_printers);
        printer.adoptDefault(askPrinterSystem(m_printers, [](PrinterSystem &system) {
            return system.listPrinters();
        }).result());
        QCOMPARE(printer.deviceName(), Plain); // the default when first listed
        QVERIFY(!makeDefault(QStringLiteral("NoSuchPrinter")).found);
        const Printer::DefaultSwitch margins = makeDefault(QStringLiteral("kalmoraMARGINS"));
        QVERIFY(margins.found && !margins.failure);
        QCOMPARE(margins.printer, Margins);
        // A program started now begins on the new default.
        CupsPrinterSystem fresh;
        QCOMPARE(fresh.listPrinters().defaultName, Margins);
        QVERIFY(makeDefault(Plain).found);
        QCOMPARE(fresh.listPrinters().defaultName, Plain);
        // The choice is the user's own, under the test's HOME or server root, never the machine's.
        QCOMPARE(QFileInfo(machine.filePath()).lastModified(), before);
    }

private:
    // Prints the photo at a size in mm as the dialog would with these choices; the job's
    // title, by which its output is found, goes to `title`.
    std::optional<PrinterFailure> print(const QSizeF &photo, const QString &queue, bool portrait,
        const QString &copies, QString *title = nullptr);

    BoundedPrinterSystem m_printers { std::make_shared<CupsPrinterSystem>(),
        std::chrono::seconds(20), std::chrono::seconds(60) };
    QImage m_photo = TestPhotos::quadrants(1400, 2000);
};

std::optional<PrinterFailure> TestCupsPrinting::print(
    const QSizeF &photo, const QString &queue, bool portrait, const QString &copies, QString *title)
{
    PrintChoices choices;
    choices.printer = queue;
    choices.orientation = portrait ? PrintOrientation::Portrait : PrintOrientation::Landscape;
    choices.copies = copiesToPrint(copies, 1);
    choices.title = QStringLiteral("kalmora") + QUuid::createUuid().toString(QUuid::Id128);
    if (title)
        *title = choices.title;
    return startPrintSheet(m_printers, choices, { m_photo, photo }).result(); // waits
}

QTEST_MAIN(TestCupsPrinting)
#include "tst_cupsprinting.moc"
