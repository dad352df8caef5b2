#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "print/cupsprintersystem.h"
#include "print/frmstampa.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

// These tests print for real on the private CUPS daemon that scripts/test starts, with two
// cups-pdf queues: KalmoraPDF (whole A4 printable, the default) and KalmoraMargins.

namespace {

constexpr double Dpi = 300;
constexpr double MmPerPoint = 25.4 / 72;
const QString PlainQueue = QStringLiteral("KalmoraPDF");
const QString MarginsQueue = QStringLiteral("KalmoraMargins");

// The printable area the queues' PPDs give for A4, upright: "18 54 559 806" in points
// (left, bottom, right, top) for KalmoraMargins, the whole 595 x 842 page for KalmoraPDF.
QSizeF paperMm()
{
    return QSizeF(595 * MmPerPoint, 842 * MmPerPoint);
}

QRectF printableMm(const QString &queue)
{
    if (queue == MarginsQueue)
        return QRectF(QPointF(18 * MmPerPoint, (842 - 806) * MmPerPoint),
            QPointF(559 * MmPerPoint, (842 - 54) * MmPerPoint));
    return QRectF(QPointF(0, 0), paperMm());
}

// The photo drawn into every rectangle: one colour per quarter, so a turned or mirrored
// picture shows.
enum Quarter { TopLeft, TopRight, BottomLeft, BottomRight };
const QColor QuarterColours[]
    = { QColor(255, 0, 0), QColor(0, 200, 0), QColor(0, 0, 255), QColor(0, 0, 0) };

QImage quarterPhoto(const QSize &size)
{
    QImage photo(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int quarter = (y < size.height() / 2 ? 0 : 2) + (x < size.width() / 2 ? 0 : 1);
            photo.setPixelColor(x, y, QuarterColours[quarter]);
        }
    }
    return photo;
}

int nearestQuarter(QRgb pixel)
{
    int best = -1;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 4; ++i) {
        const QColor &c = QuarterColours[i];
        const int d = std::abs(qRed(pixel) - c.red()) + std::abs(qGreen(pixel) - c.green())
            + std::abs(qBlue(pixel) - c.blue());
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return bestDistance < 120 ? best : -1;
}

TextTable englishTexts()
{
    TextTable texts;
    for (int k = 1; k <= TextTable::LastEntry; ++k)
        texts.setText(k, QStringLiteral("text %1 ").arg(k));
    return texts;
}

struct JobInfo
{
    int state = 0;
    int copies = 0;
    int orientation = 0;
    QString scaling;
};

JobInfo jobInfo(int id)
{
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    JobInfo info;
    if (!response)
        return info;
    if (ipp_attribute_t *a = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
        info.state = ippGetInteger(a, 0);
    if (ipp_attribute_t *a = ippFindAttribute(response, "copies", IPP_TAG_INTEGER))
        info.copies = ippGetInteger(a, 0);
    if (ipp_attribute_t *a = ippFindAttribute(response, "orientation-requested", IPP_TAG_ENUM))
        info.orientation = ippGetInteger(a, 0);
    if (ipp_attribute_t *a = ippFindAttribute(response, "print-scaling", IPP_TAG_ZERO))
        info.scaling = QString::fromUtf8(ippGetString(a, 0, nullptr));
    ippDelete(response);
    return info;
}

int jobWithTitle(const QString &title)
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int id = 0;
    for (int i = 0; i < count; ++i) {
        if (QString::fromUtf8(jobs[i].title) == title)
            id = jobs[i].id;
    }
    cupsFreeJobs(count, jobs);
    return id;
}

// cups-pdf writes into PDF/ of the job owner's home as the password database has it.
QString ownerPdfFolder()
{
    const passwd *entry = getpwuid(getuid());
    return QString::fromLocal8Bit(entry ? entry->pw_dir : "/") + QStringLiteral("/PDF");
}

QString outputOf(const QString &token, int id)
{
    const QDir folder(ownerPdfFolder());
    const QStringList names
        = folder.entryList({ QStringLiteral("*%1*job_%2.pdf").arg(token).arg(id) }, QDir::Files);
    return names.isEmpty() ? QString() : folder.filePath(names.first());
}

bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

QImage rasterise(const QString &pdf, const QString &folder)
{
    const QString prefix = folder + QStringLiteral("/page");
    if (!runTool(QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-singlefile"), pdf,
                prefix }))
        return {};
    return QImage(prefix + QStringLiteral(".ppm")).convertToFormat(QImage::Format_RGB32);
}

struct Run
{
    double first = 0;
    double last = 0; // both in millimetres: the first inked edge and the edge after the last
};

// Runs of inked columns (or rows) across the whole page.
QList<Run> inkRuns(const QImage &page, bool columns)
{
    const int length = columns ? page.width() : page.height();
    const int across = columns ? page.height() : page.width();
    QList<Run> runs;
    int start = -1;
    for (int i = 0; i <= length; ++i) {
        bool inked = false;
        for (int j = 0; i < length && j < across && !inked; ++j) {
            const QRgb p = columns ? page.pixel(i, j) : page.pixel(j, i);
            inked = std::min({ qRed(p), qGreen(p), qBlue(p) }) < 128;
        }
        if (inked && start < 0)
            start = i;
        if (!inked && start >= 0) {
            runs.append({ start * 25.4 / Dpi, i * 25.4 / Dpi });
            start = -1;
        }
    }
    return runs;
}

} // namespace

class TestCupsPrinting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void queuesAsReported();
    void qualitiesAsReported();
    void realSizeOnPaper_data();
    void realSizeOnPaper();
    void copiesReachTheJob_data();
    void copiesReachTheJob();
    void impostaSwitchesPrivateDefault();
    void refusedJobsReported_data();
    void refusedJobsReported();
    void noDaemonReported();

private:
    // Opens the dialog, sets it up as a user would and clicks Print; returns the job id.
    int printThroughDialog(const QString &queue, bool portrait, const QString &copies,
        const QSizeF &frameTwips, QString *token = nullptr);

    CupsPrinterSystem m_system;
    std::optional<Printer> m_printer;
    FakePlatform m_platform { QStringLiteral("/opt/kalmora") };
    TextTable m_texts = englishTexts();
    QPointer<frmStampa> m_dialog;
    QStringList m_outputs;
};

void TestCupsPrinting::initTestCase()
{
    if (qgetenv("KALMORA_TEST_CUPS") != "1")
        QSKIP("needs the private CUPS daemon that scripts/test starts");
    const PrinterListing listing = m_system.listPrinters();
    QVERIFY2(
        !listing.failure, qPrintable(listing.failure ? listing.failure->description : QString()));
    QVERIFY(listing.names.contains(PlainQueue));
    QVERIFY(listing.names.contains(MarginsQueue));
}

void TestCupsPrinting::init()
{
    m_platform.messages.clear();
    m_printer.emplace(m_system);
    QCOMPARE(m_printer->deviceName(), PlainQueue);
}

void TestCupsPrinting::cleanup()
{
    delete m_dialog;
    for (const QString &path : std::as_const(m_outputs))
        QFile::remove(path);
    m_outputs.clear();
}

void TestCupsPrinting::queuesAsReported()
{
    const std::optional<PaperArea> margins = m_system.paperArea(MarginsQueue);
    QVERIFY(margins);
    QVERIFY(std::abs(margins->paperMm.width() - paperMm().width()) < 0.05);
    QVERIFY(std::abs(margins->paperMm.height() - paperMm().height()) < 0.05);
    const QRectF printable = printableMm(MarginsQueue);
    QVERIFY(std::abs(margins->marginsMm.left() - printable.left()) < 0.05);
    QVERIFY(std::abs(margins->marginsMm.top() - printable.top()) < 0.05);
    QVERIFY(std::abs(margins->marginsMm.right() - (paperMm().width() - printable.right())) < 0.05);
    QVERIFY(
        std::abs(margins->marginsMm.bottom() - (paperMm().height() - printable.bottom())) < 0.05);
    const std::optional<PaperArea> plain = m_system.paperArea(PlainQueue);
    QVERIFY(plain);
    QCOMPARE(plain->marginsMm, QMarginsF());
    QVERIFY(!m_system.paperArea(QStringLiteral("NoSuchQueue")));
}

void TestCupsPrinting::qualitiesAsReported()
{
    // The cups-pdf driver offers normal quality only, and a set of resolutions.
    QVERIFY(m_system.supportsQuality(PlainQueue, PrintQuality::Medium));
    QVERIFY(!m_system.supportsQuality(PlainQueue, PrintQuality::High));
    QVERIFY(!m_system.supportsQuality(PlainQueue, PrintQuality::Draft));
    QVERIFY(m_system.supportsQuality(PlainQueue, 300));
    QVERIFY(!m_system.supportsQuality(PlainQueue, 4));
    QVERIFY(!m_system.supportsQuality(QStringLiteral("NoSuchQueue"), PrintQuality::Medium));

    frmStampa::SavedQualityIndex = 0;
    PhotoSheetSource source;
    m_dialog = new frmStampa(m_platform, m_texts, *m_printer, source);
    auto *quality = m_dialog->findChild<QComboBox *>(QStringLiteral("cboQualita"));
    QCOMPARE(quality->count(), 1);
    QCOMPARE(quality->itemText(0), QStringLiteral("Media"));
    QCOMPARE(m_printer->quality(), PrintQuality::Medium);
}

int TestCupsPrinting::printThroughDialog(const QString &queue, bool portrait, const QString &copies,
    const QSizeF &frameTwips, QString *token)
{
    const QString unique = QUuid::createUuid().toString(QUuid::Id128);
    if (token)
        *token = unique;
    m_printer->setDocumentTitle(QStringLiteral("kalmora") + unique);
    PhotoSheetSource source;
    const QImage photo = quarterPhoto((frameTwips / 10).toSize());
    source.photoCrop = [photo] { return photo; };
    source.frameTwips = [frameTwips] { return frameTwips; };
    m_dialog = new frmStampa(m_platform, m_texts, *m_printer, source);
    auto *printers = m_dialog->findChild<QComboBox *>(QStringLiteral("Combo1"));
    printers->setCurrentIndex(printers->findText(queue));
    if (portrait)
        QTest::mouseClick(m_dialog->findChild<QWidget *>(QStringLiteral("Image3")), Qt::LeftButton);
    m_dialog->findChild<QComboBox *>(QStringLiteral("Combo2"))->setEditText(copies);
    QTest::mouseClick(m_dialog->findChild<QWidget *>(QStringLiteral("Label1_0")), Qt::LeftButton,
        {}, QPoint(5, 5));
    return jobWithTitle(QStringLiteral("kalmora") + unique);
}

void TestCupsPrinting::realSizeOnPaper_data()
{
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<QString>("queue");
    QTest::addColumn<bool>("portrait");
    const QList<std::pair<const char *, QSizeF>> formats = { { "30 x 40", { 3000, 4000 } },
        { "35 x 45", { 3500, 4500 } }, { "40 x 40", { 4000, 4000 } }, { "50 x 50", { 5000, 5000 } },
        { "2 x 2 in", { 5080, 5080 } } };
    for (const auto &[name, frame] : formats) {
        QTest::addRow("%s, whole page, portrait", name) << frame << PlainQueue << true;
        QTest::addRow("%s, margins, landscape", name) << frame << MarginsQueue << false;
    }
    QTest::addRow("35 x 45, margins, portrait") << QSizeF(3500, 4500) << MarginsQueue << true;
    QTest::addRow("50 x 50, whole page, landscape") << QSizeF(5000, 5000) << PlainQueue << false;
}

void TestCupsPrinting::realSizeOnPaper()
{
    QFETCH(QSizeF, frame);
    QFETCH(QString, queue);
    QFETCH(bool, portrait);

    QString token;
    const int id = printThroughDialog(queue, portrait, QStringLiteral("2"), frame, &token);
    QVERIFY2(m_platform.messages.isEmpty(),
        qPrintable(m_platform.messages.isEmpty() ? QString() : m_platform.messages[0].text));
    QVERIFY(id > 0);
    QTRY_VERIFY_WITH_TIMEOUT(m_dialog.isNull(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(jobInfo(id).state >= IPP_JSTATE_CANCELED, 120000);
    QCOMPARE(jobInfo(id).state, int(IPP_JSTATE_COMPLETED));
    QTRY_VERIFY_WITH_TIMEOUT(!outputOf(token, id).isEmpty(), 30000);
    const QString pdf = outputOf(token, id);
    m_outputs.append(pdf);

    const JobInfo info = jobInfo(id);
    QCOMPARE(info.copies, 2);
    QCOMPARE(info.orientation, portrait ? 3 : 4);
    QCOMPARE(info.scaling, QStringLiteral("none"));

    QTemporaryDir work;
    QImage page = rasterise(pdf, work.path());
    QVERIFY(!page.isNull());
    // The paper comes out upright; a landscape sheet is read by turning it a quarter turn
    // clockwise, and its printable area turns with it.
    QVERIFY(page.height() > page.width());
    QRectF printable = printableMm(queue);
    if (!portrait) {
        page = page.transformed(QTransform().rotate(90));
        const QSizeF paper = paperMm();
        printable = QRectF(QPointF(paper.height() - printable.bottom(), printable.left()),
            QPointF(paper.height() - printable.top(), printable.right()));
    }

    const double w = frame.width() / 100;
    const double h = frame.height() / 100;
    const int columns = w < 50 ? 4 : 3;
    const QList<Run> xs = inkRuns(page, true);
    const QList<Run> ys = inkRuns(page, false);
    QCOMPARE(xs.size(), columns);
    QCOMPARE(ys.size(), 2);
    const double tolerance = 0.2;
    for (int k = 0; k < columns; ++k) {
        const double left = printable.left() + 10 + k * (w + 1);
        QVERIFY2(std::abs(xs[k].first - left) <= tolerance,
            qPrintable(
                QStringLiteral("column %1 left %2, wanted %3").arg(k).arg(xs[k].first).arg(left)));
        QVERIFY2(std::abs((xs[k].last - xs[k].first) - w) <= tolerance,
            qPrintable(QStringLiteral("column %1 width %2").arg(k).arg(xs[k].last - xs[k].first)));
    }
    for (int r = 0; r < 2; ++r) {
        const double top = printable.top() + 10 + r * (h + 1);
        QVERIFY2(std::abs(ys[r].first - top) <= tolerance,
            qPrintable(
                QStringLiteral("row %1 top %2, wanted %3").arg(r).arg(ys[r].first).arg(top)));
        QVERIFY2(std::abs((ys[r].last - ys[r].first) - h) <= tolerance,
            qPrintable(QStringLiteral("row %1 height %2").arg(r).arg(ys[r].last - ys[r].first)));
    }
    // Every cell holds the whole photo, upright.
    auto pixelAt = [&](double xMm, double yMm) {
        return page.pixel(int(xMm * Dpi / 25.4), int(yMm * Dpi / 25.4));
    };
    for (int r = 0; r < 2; ++r) {
        for (int k = 0; k < columns; ++k) {
            const double left = xs[k].first;
            const double top = ys[r].first;
            QCOMPARE(nearestQuarter(pixelAt(left + w / 4, top + h / 4)), int(TopLeft));
            QCOMPARE(nearestQuarter(pixelAt(left + 3 * w / 4, top + h / 4)), int(TopRight));
            QCOMPARE(nearestQuarter(pixelAt(left + w / 4, top + 3 * h / 4)), int(BottomLeft));
            QCOMPARE(nearestQuarter(pixelAt(left + 3 * w / 4, top + 3 * h / 4)), int(BottomRight));
        }
    }
}

void TestCupsPrinting::copiesReachTheJob_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("copies");
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("2.5") << "2.5" << 2;
}

void TestCupsPrinting::copiesReachTheJob()
{
    QFETCH(QString, text);
    QFETCH(int, copies);
    QString token;
    const int id = printThroughDialog(PlainQueue, true, text, QSizeF(3500, 4500), &token);
    QVERIFY(id > 0);
    QCOMPARE(jobInfo(id).copies, copies);
    QTRY_VERIFY_WITH_TIMEOUT(jobInfo(id).state >= IPP_JSTATE_CANCELED, 120000);
    QTRY_VERIFY_WITH_TIMEOUT(!outputOf(token, id).isEmpty(), 30000);
    m_outputs.append(outputOf(token, id));
}

void TestCupsPrinting::impostaSwitchesPrivateDefault()
{
    const QString root = qEnvironmentVariable("KALMORA_TEST_CUPS_ROOT");
    QVERIFY(!root.isEmpty());
    // The choice lands in the user's own lpoptions, which here is in the test's temporary
    // HOME, never in the machine's settings.
    const QString written = QDir::homePath() + QStringLiteral("/.cups/lpoptions");
    QVERIFY2(written.startsWith(QFileInfo(root).path()), qPrintable(written));
    const QFileInfo machine(QStringLiteral("/etc/cups/lpoptions"));
    const QDateTime machineBefore = machine.exists() ? machine.lastModified() : QDateTime();

    PhotoSheetSource source;
    m_dialog = new frmStampa(m_platform, m_texts, *m_printer, source);
    QVERIFY(!m_dialog->ImpostaStampante(QStringLiteral("NoSuchPrinter")));
    QCOMPARE(m_system.listPrinters().defaultName, PlainQueue);

    QVERIFY(m_dialog->ImpostaStampante(QStringLiteral("kalmoraMARGINS")));
    QCOMPARE(m_printer->deviceName(), MarginsQueue);
    QCOMPARE(m_system.listPrinters().defaultName, MarginsQueue);
    QFile options(written);
    QVERIFY(options.open(QIODevice::ReadOnly));
    QVERIFY(options.readAll().contains("Default " + MarginsQueue.toUtf8()));
    // A program started now begins on the new default.
    CupsPrinterSystem fresh;
    QCOMPARE(Printer(fresh).deviceName(), MarginsQueue);

    QVERIFY(m_dialog->ImpostaStampante(PlainQueue));
    QCOMPARE(m_system.listPrinters().defaultName, PlainQueue);
    QVERIFY(m_platform.messages.isEmpty());
    const QFileInfo machineAfter(QStringLiteral("/etc/cups/lpoptions"));
    QCOMPARE(machineAfter.exists() ? machineAfter.lastModified() : QDateTime(), machineBefore);
}

void TestCupsPrinting::refusedJobsReported_data()
{
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("restart");
    QTest::addColumn<QString>("reason");
    QTest::newRow("stopped queue") << "cupsdisable"
                                   << "cupsenable"
                                   << "stopped";
    QTest::newRow("queue refusing jobs") << "cupsreject"
                                         << "cupsaccept"
                                         << "not accepting";
}

void TestCupsPrinting::refusedJobsReported()
{
    QFETCH(QString, stop);
    QFETCH(QString, restart);
    QFETCH(QString, reason);
    QVERIFY(runTool(stop, { MarginsQueue }));
    const int id = printThroughDialog(MarginsQueue, false, QStringLiteral("1"), QSizeF(3000, 4000));
    QVERIFY(runTool(restart, { MarginsQueue }));

    QCOMPARE(id, 0);
    QCOMPARE(m_platform.messages.size(), 1);
    const QString text = m_platform.messages[0].text;
    QVERIFY2(
        text.startsWith(QStringLiteral("text 52 ")) && text.contains(reason, Qt::CaseInsensitive),
        qPrintable(text));
    QCOMPARE(m_platform.messages[0].title, QStringLiteral("text 14 "));
    QVERIFY(!m_dialog.isNull());
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("text 36 "));
    QVERIFY(!QApplication::overrideCursor());
}

void TestCupsPrinting::noDaemonReported()
{
    const QByteArray server = cupsServer();
    QTemporaryDir gone;
    cupsSetServer(QFile::encodeName(gone.path() + QStringLiteral("/cups.sock")).constData());
    const int id = printThroughDialog(PlainQueue, true, QStringLiteral("1"), QSizeF(3500, 4500));
    cupsSetServer(server.constData());

    QCOMPARE(id, 0);
    QCOMPARE(m_platform.messages.size(), 1);
    QVERIFY(m_platform.messages[0].text.startsWith(QStringLiteral("text 52 ")));
    QVERIFY(m_platform.messages[0].text.size() > QStringLiteral("text 52 ").size());
    QVERIFY(!m_dialog.isNull());
    QVERIFY(!QApplication::overrideCursor());
    // And it prints again once CUPS is back.
    QVERIFY(!m_system.listPrinters().failure);
}

QTEST_MAIN(TestCupsPrinting)
#include "tst_cupsprinting.moc"
