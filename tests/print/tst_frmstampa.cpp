#include "app/form1.h"
#include "widgets/twips.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "print/frmstampa.h"
#include "programfolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {

TextTable numberedTexts()
{
    TextTable texts;
    for (int k = 1; k <= TextTable::LastEntry; ++k)
        texts.setText(k, QStringLiteral("text %1").arg(k));
    return texts;
}

QImage quadrantPhoto()
{
    QImage photo(40, 60, QImage::Format_RGB32);
    photo.fill(Qt::red);
    return photo;
}

// One open print dialog over the fake printers, as the main window would open it.
struct Fixture
{
    explicit Fixture(
        const QStringList &printers = { QStringLiteral("Alpha"), QStringLiteral("Beta") },
        const QString &defaultPrinter = QStringLiteral("Beta"))
        : platform(QStringLiteral("/opt/kalmora"))
    {
        system().names = printers;
        system().defaultName = defaultPrinter;
        printer.emplace(system());
    }

    FakePrinterSystem &system() { return platform.printerSystem; }

    frmStampa *open(QSizeF frame = QSizeF(3500, 4500))
    {
        frameTwips = frame;
        PhotoSheetSource source;
        source.photoCrop = [this] { return photo; };
        source.frameTwips = [this] { return frameTwips; };
        dialog = new frmStampa(platform, texts, *printer, source);
        return dialog;
    }

    template<typename T = QWidget> T *control(const char *name)
    {
        return dialog->findChild<T *>(QString::fromLatin1(name));
    }

    FakePlatform platform;
    TextTable texts = numberedTexts();
    std::optional<Printer> printer;
    QImage photo = quadrantPhoto();
    QSizeF frameTwips;
    QPointer<frmStampa> dialog;

    ~Fixture() { delete dialog; }
};

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
}

QRectF designOf(QWidget *widget)
{
    return twipsGeometry(widget);
}

} // namespace

class TestFrmStampa : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void designGeometry_data();
    void designGeometry();
    void designLook();
    void loadSequence();
    void loadShowsCurrentPrinterNotFirst();
    void loadWithoutPrinters();
    void qualityProbe_data();
    void qualityProbe();
    void savedQualityOutlivesDialog();
    void savedPositionMissingLeavesSelectionEmpty();
    void printerSelection_data();
    void printerSelection();
    void orientationToggle();
    void openingAlwaysShowsLandscape();
    void hoverLiftsOnce();
    void backgroundReturnsButtonsHome();
    void cancelCloses();
    void printJob_data();
    void printJob();
    void printCopies_data();
    void printCopies();
    void tooManyCopiesRefused();
    void captionAndPointerDuringJob();
    void failedJobReported();
    void qualityNeverFour();
    void imposta_data();
    void imposta();
    void impostaFailureReported();
    void printCommandNeedsPhoto();
};

void TestFrmStampa::init()
{
    frmStampa::SavedQualityIndex = 0;
    QVERIFY(!QApplication::overrideCursor());
}

void TestFrmStampa::designGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("twips");
    QTest::addColumn<bool>("visible");
    QTest::newRow("Label3") << "Label3" << QRectF(345, 150, 630, 270) << true;
    QTest::newRow("Combo1") << "Combo1" << QRectF(510, 600, 6195, 405) << true;
    QTest::newRow("Label4") << "Label4" << QRectF(360, 1410, 975, 270) << true;
    QTest::newRow("Image2") << "Image2" << QRectF(855, 1785, 2400, 2775) << false;
    QTest::newRow("Image3") << "Image3" << QRectF(660, 2070, 2850, 2280) << true;
    QTest::newRow("Label2") << "Label2" << QRectF(4110, 1410, 1110, 270) << false;
    QTest::newRow("cboQualita") << "cboQualita" << QRectF(4260, 1860, 1065, 405) << false;
    QTest::newRow("Shape1") << "Shape1" << QRectF(4020, 1560, 1545, 1005) << false;
    QTest::newRow("Label5") << "Label5" << QRectF(5790, 1410, 585, 270) << true;
    QTest::newRow("Combo2") << "Combo2" << QRectF(5940, 1860, 765, 405) << true;
    QTest::newRow("Image1_0") << "Image1_0" << QRectF(5910, 3690, 900, 765) << true;
    QTest::newRow("Label1_0") << "Label1_0" << QRectF(5940, 4320, 855, 525) << true;
    QTest::newRow("Image1_1") << "Image1_1" << QRectF(4440, 3750, 735, 750) << true;
    QTest::newRow("Label1_1") << "Label1_1" << QRectF(4245, 4320, 1125, 525) << true;
    QTest::newRow("Shape2") << "Shape2" << QRectF(270, 300, 6675, 1005) << true;
    QTest::newRow("Shape3") << "Shape3" << QRectF(270, 1560, 3615, 3195) << true;
    QTest::newRow("Shape4") << "Shape4" << QRectF(5700, 1560, 1245, 1005) << true;
}

void TestFrmStampa::designGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRectF, twips);
    QFETCH(bool, visible);
    Fixture f;
    f.open();
    QWidget *widget = f.dialog->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(designOf(widget), twips);
    QCOMPARE(widget->geometry(),
        QRect(qRound(twips.x() / 15), qRound(twips.y() / 15), qRound(twips.width() / 15),
            qRound(twips.height() / 15)));
    QCOMPARE(widget->isVisible(), visible);
}

void TestFrmStampa::designLook()
{
    Fixture f;
    f.open();
    QCOMPARE(f.dialog->size(), QSize(482, 336));
    QCOMPARE(f.dialog->palette().color(QPalette::Window), QColor(64, 64, 64));
    QVERIFY(f.dialog->isWindow());
    QVERIFY(!(f.dialog->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f.dialog->windowFlags() & Qt::WindowMaximizeButtonHint));

    const QStringList captions = { "Label3", "Label4", "Label2", "Label5" };
    for (const QString &name : captions) {
        auto *label = f.dialog->findChild<QLabel *>(name);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(224, 224, 224));
        QCOMPARE(label->font().family(), QStringLiteral("Comic Sans MS"));
        QCOMPARE(label->font().pointSizeF(), 9.75);
    }
    for (const char *name : { "Combo1", "Combo2", "cboQualita" }) {
        auto *combo = f.control<QComboBox>(name);
        QCOMPARE(combo->palette().color(QPalette::Text), QColor(255, 255, 255));
        QCOMPARE(combo->palette().color(QPalette::Base), QColor(38, 77, 206));
        QVERIFY(combo->font().bold());
    }
    QVERIFY(f.control<QComboBox>("Combo1")->isEditable());
    QVERIFY(f.control<QComboBox>("Combo2")->isEditable());
    QVERIFY(!f.control<QComboBox>("cboQualita")->isEditable());
    auto *print = f.control<QLabel>("Label1_0");
    auto *cancel = f.control<QLabel>("Label1_1");
    QCOMPARE(print->palette().color(QPalette::WindowText), QColor(69, 146, 250));
    QCOMPARE(cancel->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    QCOMPARE(print->font().pointSizeF(), 18.0);
    QVERIFY(print->font().bold() && cancel->font().bold());
    // Our own pictures, each control exactly its picture.
    const QList<std::pair<const char *, QSize>> pictures
        = { { "Image1_0", QSize(60, 51) }, { "Image1_1", QSize(49, 50) },
              { "Image2", QSize(160, 185) }, { "Image3", QSize(190, 152) } };
    for (const auto &[name, size] : pictures) {
        auto *label = f.control<QLabel>(name);
        QCOMPARE(label->pixmap().size(), size);
        QCOMPARE(label->size(), size);
    }
    // Comic Sans is not on these machines; the substitute must be.
    QCOMPARE(QFontInfo(f.control<QLabel>("Label3")->font()).family(), QStringLiteral("Comic Neue"));
    QCOMPARE(QFontInfo(print->font()).family(), QStringLiteral("Comic Neue"));
}

void TestFrmStampa::loadSequence()
{
    Fixture f;
    f.open();
    QCOMPARE(f.control<QLabel>("Label3")->text(), QStringLiteral("text 32"));
    QCOMPARE(f.control<QLabel>("Label4")->text(), QStringLiteral("text 33"));
    QCOMPARE(f.control<QLabel>("Label2")->text(), QStringLiteral("text 34"));
    QCOMPARE(f.control<QLabel>("Label5")->text(), QStringLiteral("text 35"));
    QCOMPARE(f.control<QLabel>("Label1_1")->text(), QStringLiteral("text 29"));
    QCOMPARE(f.control<QLabel>("Label1_0")->text(), QStringLiteral("text 36"));
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("text 36"));
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!QApplication::overrideCursor());

    auto *printers = f.control<QComboBox>("Combo1");
    QCOMPARE(printers->count(), 2);
    QCOMPARE(printers->itemText(0), QStringLiteral("Alpha"));
    QCOMPARE(printers->itemText(1), QStringLiteral("Beta"));
    QCOMPARE(printers->currentText(), QStringLiteral("Beta"));

    auto *copies = f.control<QComboBox>("Combo2");
    QCOMPARE(copies->count(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(copies->itemText(i), QString::number(i + 1));
    QCOMPARE(copies->currentText(), QStringLiteral("1"));

    QCOMPARE(f.dialog->LabelHomeLeft[0], int16_t(5940));
    QCOMPARE(f.dialog->LabelHomeTop[0], int16_t(4320));
    QCOMPARE(f.dialog->ImageHomeLeft[1], int16_t(4440));
    QCOMPARE(f.dialog->ImageHomeTop[1], int16_t(3750));
}

void TestFrmStampa::loadShowsCurrentPrinterNotFirst()
{
    // Filling the list must not make its first entry the current printer on the way.
    Fixture f({ "Alpha", "Beta", "Gamma" }, "Gamma");
    f.open();
    QCOMPARE(f.printer->deviceName(), QStringLiteral("Gamma"));
    QCOMPARE(f.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Gamma"));
    // The probe ran against the printer current at opening.
    for (const auto &probe : f.system().probes)
        QCOMPARE(probe.printer, QStringLiteral("Gamma"));
}

void TestFrmStampa::loadWithoutPrinters()
{
    Fixture f({}, QString());
    f.open();
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.control<QComboBox>("Combo1")->count(), 0);
    QCOMPARE(f.control<QComboBox>("cboQualita")->count(), 0);
    QCOMPARE(f.control<QComboBox>("Combo2")->count(), 10);
}

void TestFrmStampa::qualityProbe_data()
{
    QTest::addColumn<QList<int16_t>>("supported");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("codes");
    QTest::newRow("all four") << QList<int16_t> { -1, -2, -3, -4 }
                              << QStringList { "Alta", "Media", "Bassa", "Bozza" }
                              << QList<int> { -4, -3, -2, -1 };
    QTest::newRow("low and draft")
        << QList<int16_t> { -2, -1 } << QStringList { "Bassa", "Bozza" } << QList<int> { -2, -1 };
    QTest::newRow("medium only") << QList<int16_t> { -3 } << QStringList { "Media" }
                                 << QList<int> { -3 };
    QTest::newRow("none") << QList<int16_t> {} << QStringList {} << QList<int> {};
}

void TestFrmStampa::qualityProbe()
{
    QFETCH(QList<int16_t>, supported);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, codes);
    Fixture f;
    f.system().qualities.insert(QStringLiteral("Beta"), supported);
    f.open();
    auto *quality = f.control<QComboBox>("cboQualita");
    QCOMPARE(quality->count(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(quality->itemText(i), texts[i]);
        QCOMPARE(quality->itemData(i).toInt(), codes[i]);
    }
    if (codes.isEmpty()) {
        QCOMPARE(quality->currentIndex(), -1);
        QCOMPARE(f.printer->quality(), PrintQuality::High);
    } else {
        // Position 0 is selected, and with it the printer's quality.
        QCOMPARE(quality->currentIndex(), 0);
        QCOMPARE(int(f.printer->quality()), codes[0]);
    }
    QCOMPARE(frmStampa::SavedQualityIndex, int16_t(0));
}

void TestFrmStampa::savedQualityOutlivesDialog()
{
    Fixture f;
    f.open();
    f.control<QComboBox>("cboQualita")->setCurrentIndex(3);
    QCOMPARE(frmStampa::SavedQualityIndex, int16_t(3));
    QCOMPARE(f.printer->quality(), PrintQuality::Draft);
    f.control<QComboBox>("Combo1")->setEditText(QStringLiteral("Alpha"));
    delete f.dialog;

    f.open();
    QCOMPARE(f.control<QComboBox>("cboQualita")->currentIndex(), 3);
    QCOMPARE(f.printer->quality(), PrintQuality::Draft);
    QCOMPARE(f.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Alpha"));
}

void TestFrmStampa::savedPositionMissingLeavesSelectionEmpty()
{
    Fixture f;
    f.open();
    f.control<QComboBox>("cboQualita")->setCurrentIndex(3);
    f.control<QComboBox>("Combo1")->setEditText(QStringLiteral("Alpha"));
    delete f.dialog;

    f.system().qualities.insert(QStringLiteral("Alpha"), { -1, -2 });
    f.open();
    auto *quality = f.control<QComboBox>("cboQualita");
    QCOMPARE(quality->count(), 2);
    QCOMPARE(quality->currentIndex(), -1);
    QCOMPARE(frmStampa::SavedQualityIndex, int16_t(3));
}

void TestFrmStampa::printerSelection_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("current");
    QTest::newRow("exact name") << "Alpha"
                                << "Alpha";
    QTest::newRow("other case does not match") << "alpha"
                                               << "Beta";
    QTest::newRow("unknown name") << "Gamma"
                                  << "Beta";
    QTest::newRow("prefix") << "Alp"
                            << "Beta";
    QTest::newRow("empty") << ""
                           << "Beta";
}

void TestFrmStampa::printerSelection()
{
    QFETCH(QString, typed);
    QFETCH(QString, current);
    Fixture f;
    f.open();
    auto *printers = f.control<QComboBox>("Combo1");
    printers->lineEdit()->clear();
    QTest::keyClicks(printers->lineEdit(), typed);
    QCOMPARE(f.printer->deviceName(), current);
}

void TestFrmStampa::orientationToggle()
{
    Fixture f;
    f.open();
    QWidget *portrait = f.control("Image2");
    QWidget *landscape = f.control("Image3");
    QVERIFY(landscape->isVisible() && !portrait->isVisible());
    click(landscape);
    QVERIFY(portrait->isVisible() && !landscape->isVisible());
    click(portrait);
    QVERIFY(landscape->isVisible() && !portrait->isVisible());
}

void TestFrmStampa::openingAlwaysShowsLandscape()
{
    Fixture f;
    f.open();
    click(f.control("Image3"));
    f.control<QComboBox>("Combo2")->setEditText(QStringLiteral("7"));
    delete f.dialog;
    f.open();
    QVERIFY(f.control("Image3")->isVisible());
    QVERIFY(!f.control("Image2")->isVisible());
    QCOMPARE(f.control<QComboBox>("Combo2")->currentText(), QStringLiteral("1"));
}

void TestFrmStampa::hoverLiftsOnce()
{
    Fixture f;
    f.open();
    QWidget *label = f.control("Label1_0");
    QWidget *image = f.control("Image1_0");
    QTest::mouseMove(image, QPoint(10, 10));
    QTest::mouseMove(image, QPoint(12, 12));
    QTest::mouseMove(label, QPoint(5, 5));
    QCOMPARE(designOf(label).topLeft(), QPointF(5910, 4290));
    QCOMPARE(designOf(image).topLeft(), QPointF(5880, 3660));
    QVERIFY(static_cast<QLabel *>(label)->font().underline());
    // The other button stays home.
    QCOMPARE(designOf(f.control("Label1_1")).topLeft(), QPointF(4245, 4320));
    QVERIFY(!f.control<QLabel>("Label1_1")->font().underline());
}

void TestFrmStampa::backgroundReturnsButtonsHome()
{
    Fixture f;
    f.open();
    f.dialog->Highlight(0);
    f.dialog->Highlight(1);
    QCOMPARE(designOf(f.control("Label1_1")).topLeft(), QPointF(4215, 4290));
    QTest::mouseMove(f.dialog, QPoint(20, 300));
    for (int i = 0; i < 2; ++i) {
        auto *label = f.dialog->findChild<QLabel *>(QStringLiteral("Label1_%1").arg(i));
        QWidget *image = f.dialog->findChild<QWidget *>(QStringLiteral("Image1_%1").arg(i));
        QCOMPARE(designOf(label).topLeft(),
            QPointF(f.dialog->LabelHomeLeft[i], f.dialog->LabelHomeTop[i]));
        QCOMPARE(designOf(image).topLeft(),
            QPointF(f.dialog->ImageHomeLeft[i], f.dialog->ImageHomeTop[i]));
        QVERIFY(!label->font().underline());
    }
}

void TestFrmStampa::cancelCloses()
{
    for (const char *button : { "Image1_1", "Label1_1" }) {
        Fixture f;
        f.open();
        click(f.control(button));
        QTRY_VERIFY(f.dialog.isNull());
        QVERIFY(f.system().submitted.isEmpty());
    }
}

void TestFrmStampa::printJob_data()
{
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<QPointF>>("corners");
    const QList<QPointF> eight = { { 10, 10 }, { 46, 10 }, { 82, 10 }, { 118, 10 }, { 10, 56 },
        { 46, 56 }, { 82, 56 }, { 118, 56 } };
    const QList<QPointF> six
        = { { 10, 10 }, { 61, 10 }, { 112, 10 }, { 10, 61 }, { 61, 61 }, { 112, 61 } };
    QTest::newRow("35 x 45 landscape, picture")
        << QSizeF(3500, 4500) << false << "Image1_0" << eight;
    QTest::newRow("35 x 45 portrait, text") << QSizeF(3500, 4500) << true << "Label1_0" << eight;
    QTest::newRow("50 x 50 portrait") << QSizeF(5000, 5000) << true << "Image1_0" << six;
}

void TestFrmStampa::printJob()
{
    QFETCH(QSizeF, frame);
    QFETCH(bool, portrait);
    QFETCH(QString, button);
    QFETCH(QList<QPointF>, corners);
    Fixture f;
    f.open(frame);
    if (portrait)
        click(f.control("Image3"));
    click(f.dialog->findChild<QWidget *>(button));
    QTRY_VERIFY(f.dialog.isNull());

    QCOMPARE(f.system().submitted.size(), 1);
    const PrintDocument &document = f.system().submitted.first();
    QCOMPARE(document.printer, QStringLiteral("Beta"));
    QCOMPARE(
        document.orientation, portrait ? PrintOrientation::Portrait : PrintOrientation::Landscape);
    QCOMPARE(document.copies, 1);
    QCOMPARE(document.pictures.size(), corners.size());
    for (int i = 0; i < corners.size(); ++i) {
        QCOMPARE(document.pictures[i].rectMm.topLeft(), corners[i]);
        QCOMPARE(document.pictures[i].rectMm.size(), frame / 100);
        // The full crop, not a screen-sized copy of it.
        QCOMPARE(document.pictures[i].picture, f.photo);
    }
    QVERIFY(f.platform.messages.isEmpty());
}

void TestFrmStampa::printCopies_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("copies");
    QTest::newRow("3") << QStringList { "3" } << QList<int> { 3 };
    QTest::newRow("2.5") << QStringList { "2.5" } << QList<int> { 2 };
    QTest::newRow("4 abc") << QStringList { "4 abc" } << QList<int> { 4 };
    QTest::newRow("1 2") << QStringList { "1 2" } << QList<int> { 12 };
    // Texts without a positive number keep what the previous job set.
    QTest::newRow("letters keep") << QStringList { "5", "abc" } << QList<int> { 5, 5 };
    QTest::newRow("empty keeps") << QStringList { "6", "" } << QList<int> { 6, 6 };
    QTest::newRow("0 keeps") << QStringList { "2", "0" } << QList<int> { 2, 2 };
    QTest::newRow("rounds to 0 prints one") << QStringList { "4", "0.2" } << QList<int> { 4, 1 };
}

void TestFrmStampa::printCopies()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, copies);
    Fixture f;
    for (const QString &text : texts) {
        f.open();
        f.control<QComboBox>("Combo2")->setEditText(text);
        click(f.control("Label1_0"));
        QTRY_VERIFY(f.dialog.isNull());
    }
    QCOMPARE(f.system().submitted.size(), copies.size());
    for (int i = 0; i < copies.size(); ++i)
        QCOMPARE(f.system().submitted[i].copies, copies[i]);
}

void TestFrmStampa::tooManyCopiesRefused()
{
    Fixture f;
    f.open();
    f.control<QComboBox>("Combo2")->setEditText(QStringLiteral("1000"));
    click(f.control("Label1_0"));
    QVERIFY(f.system().submitted.isEmpty());
    QCOMPARE(f.platform.messages.size(), 1);
    QVERIFY(f.platform.messages[0].text.startsWith(QStringLiteral("text 52")));
    QVERIFY(f.platform.messages[0].text.contains(QStringLiteral("999")));
    QCOMPARE(f.platform.messages[0].title, QStringLiteral("text 14"));
    QVERIFY(!f.dialog.isNull());
    QCOMPARE(f.printer->copies(), 1);
}

void TestFrmStampa::captionAndPointerDuringJob()
{
    Fixture f;
    f.open();
    QString captionDuring;
    bool hourglass = false;
    f.system().onSubmit = [&](const PrintDocument &) {
        captionDuring = f.dialog->windowTitle();
        hourglass = QApplication::overrideCursor()
            && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    f.system().submitFailure = PrinterFailure { 1282, QStringLiteral("held for a test") };
    click(f.control("Label1_0"));
    QCOMPARE(captionDuring, QStringLiteral("Stampa in corso..."));
    QVERIFY(hourglass);
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("text 36"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestFrmStampa::failedJobReported()
{
    Fixture f;
    f.open();
    f.system().submitFailure = PrinterFailure { 1283, QStringLiteral("The printer is on fire.") };
    click(f.control("Image1_0"));
    QCOMPARE(f.platform.messages.size(), 1);
    QCOMPARE(f.platform.messages[0].text, QStringLiteral("text 52The printer is on fire."));
    QCOMPARE(f.platform.messages[0].title, QStringLiteral("text 14"));
    QCOMPARE(f.platform.messages[0].style, MessageBoxStyle::Exclamation);
    // Still open and usable: another printer, and this time it goes through.
    QVERIFY(!f.dialog.isNull());
    f.control<QComboBox>("Combo1")->setEditText(QStringLiteral("Alpha"));
    f.system().submitFailure.reset();
    click(f.control("Image1_0"));
    QTRY_VERIFY(f.dialog.isNull());
    QCOMPARE(f.system().submitted.size(), 1);
    QCOMPARE(f.system().submitted[0].printer, QStringLiteral("Alpha"));
    // The failed page was not carried into the next job.
    QCOMPARE(f.system().submitted[0].pictures.size(), 8);
}

void TestFrmStampa::qualityNeverFour()
{
    Fixture f;
    f.system().qualities.insert(QStringLiteral("Beta"), { -1, -2, -3, -4, 4 });
    f.open();
    f.control<QComboBox>("cboQualita")->setCurrentIndex(1);
    click(f.control("Label1_0"));
    QTRY_VERIFY(f.dialog.isNull());
    QCOMPARE(f.system().submitted.size(), 1);
    QCOMPARE(f.system().submitted[0].quality, std::optional<int16_t>(PrintQuality::Medium));
    QCOMPARE(f.printer->quality(), PrintQuality::Medium);
}

void TestFrmStampa::imposta_data()
{
    QTest::addColumn<QStringList>("printers");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("current");
    QTest::newRow("exact") << QStringList { "Alpha", "Beta" } << "Alpha" << true << "Alpha";
    QTest::newRow("other case") << QStringList { "Alpha", "Beta" } << "aLPHA" << true << "Alpha";
    QTest::newRow("first of equal names")
        << QStringList { "Beta", "ALPHA", "alpha" } << "Alpha" << true << "ALPHA";
    QTest::newRow("no match") << QStringList { "Alpha", "Beta" } << "Gamma" << false << "Beta";
    QTest::newRow("empty name") << QStringList { "Alpha", "Beta" } << "" << false << "Beta";
}

void TestFrmStampa::imposta()
{
    QFETCH(QStringList, printers);
    QFETCH(QString, name);
    QFETCH(bool, result);
    QFETCH(QString, current);
    Fixture f(printers, "Beta");
    f.open();
    const QString asPassed = name;
    QCOMPARE(f.dialog->ImpostaStampante(name), result);
    QCOMPARE(name, asPassed);
    QCOMPARE(f.printer->deviceName(), current);
    QCOMPARE(f.system().defaultsSet, result ? QStringList { current } : QStringList {});
    QVERIFY(f.platform.messages.isEmpty());
}

void TestFrmStampa::impostaFailureReported()
{
    Fixture f;
    f.open();
    f.system().setDefaultFailure = PrinterFailure { 1025, QStringLiteral("Forbidden") };
    QVERIFY(!f.dialog->ImpostaStampante(QStringLiteral("alpha")));
    f.system().setDefaultFailure.reset();
    f.system().listFailure = PrinterFailure { 1281, QStringLiteral("No such file or directory") };
    QVERIFY(!f.dialog->ImpostaStampante(QStringLiteral("Beta")));
    QCOMPARE(f.platform.messages.size(), 2);
    QCOMPARE(f.platform.messages[0].text,
        QStringLiteral("Error 1025 (Forbidden) in procedura ImpostaStampante di Modulo Stampanti"));
    QCOMPARE(f.platform.messages[1].text,
        QStringLiteral("Error 1281 (No such file or directory) in procedura ImpostaStampante di "
                       "Modulo Stampanti"));
    QCOMPARE(f.platform.messages[0].title, QStringLiteral("Kalmora"));
    QCOMPARE(f.platform.messages[0].style, MessageBoxStyle::Ok);
}

void TestFrmStampa::printCommandNeedsPhoto()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    platform.printerSystem.names = { QStringLiteral("Alpha") };
    platform.printerSystem.defaultName = QStringLiteral("Alpha");
    Form1 form(platform);
    QCOMPARE(form.CurrentPrinter.deviceName(), QStringLiteral("Alpha"));
    if (form.isPhotoLoaded())
        QSKIP("a photo is loaded at start");
    form.findChild<QAction *>(QStringLiteral("mnuPrint"))->trigger();
    QVERIFY(!form.printDialog());
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages[0].text, form.text(15));
    QCOMPARE(platform.messages[0].title, form.text(14));
    QCOMPARE(platform.messages[0].style, MessageBoxStyle::Exclamation);
}

QTEST_MAIN(TestFrmStampa)
#include "tst_frmstampa.moc"
