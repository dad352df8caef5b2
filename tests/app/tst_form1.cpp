#include "app/form1.h"
#include "widgets/twips.h"
#include "fakeplatform.h"
#include "programfolder.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QLabel *label(Form1 &form, const char *name)
{
    return form.findChild<QLabel *>(QString::fromLatin1(name));
}

QWidget *widget(Form1 &form, const QString &name)
{
    return form.findChild<QWidget *>(name);
}

bool isHighlighted(QLabel *label)
{
    return label->palette().color(QPalette::WindowText) == QColor(255, 255, 255)
           && label->font().bold();
}

bool isPlainLink(QLabel *label)
{
    return label->palette().color(QPalette::WindowText) == QColor(128, 128, 128)
           && !label->font().bold();
}

const QStringList buttonNames = {"Command3", "Command4", "Command5", "Command6", "Command7", "Command8"};

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT
private slots:
    void firstStartShowsDesignState();
    void designGeometry_data();
    void designGeometry();
    void selectFormat_data();
    void selectFormat();
    void restoresStoredFormat();
    void restoresDesignSelection();
    void damagedSettingsStillStart_data();
    void damagedSettingsStillStart();
    void firstStartByLocale();
    void shortLanguageFileEmptiesCaptions();
    void hoverHighlight();
    void linkClicksRunMenuCommands();
    void exitEndsProgram();
};

void TestForm1::firstStartShowsDesignState()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);

    QVERIFY(form.isVisible());
    QCOMPARE(form.selectedFormat(), 1);
    for (int i = 0; i < 5; ++i) {
        QLabel *caption = label(form, qPrintable(QStringLiteral("Label3_%1").arg(i)));
        QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(192, 192, 192));
        QVERIFY(!caption->font().bold());
    }
    QCOMPARE(twipsGeometry(widget(form, "Image1")), QRectF(660, 1380, 3495, 4500));
    QVERIFY(widget(form, "Shape1")->isVisible());
    QVERIFY(widget(form, "Label1")->isVisible());
    QVERIFY(!widget(form, "Shape2")->isVisible());
    for (const QString &name : buttonNames)
        QVERIFY(!widget(form, name)->isVisible());
    QVERIFY2(!QFile::exists(program.optionsPath()), "nothing selected, nothing saved");
    QVERIFY(platform.messages.isEmpty());

    QCOMPARE(form.windowTitle(), QStringLiteral("Kalmora"));
    QCOMPARE(form.findChild<QMenu *>("mnuFile")->title(), QStringLiteral("&File"));
    QCOMPARE(label(form, "Label2_0")->text(), QStringLiteral("Open Photo..."));
    QCOMPARE(label(form, "Label2_2")->text(), QStringLiteral("Donate"));
    QCOMPARE(label(form, "Label1")->text(), QStringLiteral("Drag photo here"));
    QCOMPARE(form.centralWidget()->size(), QSize(662, 469));
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TestForm1::designGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("twips");
    QTest::newRow("band") << "Shape3" << QRectF(-30, 0, 10035, 765);
    QTest::newRow("option 0") << "Option1_0" << QRectF(930, 240, 225, 285);
    QTest::newRow("option 4") << "Option1_4" << QRectF(7980, 240, 225, 285);
    QTest::newRow("folder") << "Image5_0" << QRectF(6780, 1110, 480, 420);
    QTest::newRow("printer") << "Image5_1" << QRectF(6720, 2100, 600, 510);
    QTest::newRow("smiley") << "Image5_3" << QRectF(6780, 3060, 510, 570);
    QTest::newRow("note") << "Label4" << QRectF(6645, 4110, 3015, 540);
    QTest::newRow("up") << "Command5" << QRectF(1740, 1020, 1335, 345);
    QTest::newRow("left") << "Command8" << QRectF(300, 2970, 345, 1335);
}

void TestForm1::designGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRectF, twips);
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QWidget *control = widget(form, name);
    QVERIFY(control);
    QCOMPARE(twipsGeometry(control), twips);
    QCOMPARE(control->geometry(), QRect(qRound(twips.left() / 15), qRound(twips.top() / 15),
                                        qRound(twips.right() / 15) - qRound(twips.left() / 15),
                                        qRound(twips.bottom() / 15) - qRound(twips.top() / 15)));
}

void TestForm1::selectFormat_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QPointF>("minus"); // Command4, placed around the new frame
    QTest::newRow("30x40") << 0 << QSizeF(3000, 4000) << "Minimum size page: 10 x 15 cm" << QPointF(3680, 5035);
    QTest::newRow("35x45") << 1 << QSizeF(3500, 4500) << "Minimum size page: 10 x 15 cm" << QPointF(4180, 5535);
    QTest::newRow("40x40") << 2 << QSizeF(4000, 4000) << "Minimum size page: 10 x 15 cm" << QPointF(4680, 5035);
    QTest::newRow("50x50") << 3 << QSizeF(5000, 5000) << "Minimum size page: 10 x 15 cm" << QPointF(5680, 6035);
    QTest::newRow("2x2in") << 4 << QSizeF(5080, 5080) << "Minimum size page: 13 x 18 cm" << QPointF(5760, 6115);
}

void TestForm1::selectFormat()
{
    QFETCH(int, index);
    QFETCH(QSizeF, frame);
    QFETCH(QString, note);
    QFETCH(QPointF, minus);
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.SelectFormat(4); // start from another highlighted caption
    form.SelectFormat(index == 4 ? 0 : 4);

    QTest::mouseClick(widget(form, QStringLiteral("Option1_%1").arg(index)), Qt::LeftButton);

    QCOMPARE(form.selectedFormat(), index);
    QCOMPARE(twipsGeometry(widget(form, "Image1")), QRectF(QPointF(660, 1380), frame));
    QCOMPARE(label(form, "Label4")->text(), note);
    for (int k = 0; k < 5; ++k) {
        QLabel *caption = label(form, qPrintable(QStringLiteral("Label3_%1").arg(k)));
        QCOMPARE(caption->font().bold(), k == index);
        QCOMPARE(caption->palette().color(QPalette::WindowText),
                 k == index ? QColor(255, 255, 255) : QColor(192, 192, 192));
    }
    QCOMPARE(twipsGeometry(widget(form, "Command4")).topLeft(), minus);
    QCOMPARE(twipsGeometry(widget(form, "Shape1")).size(), frame - QSizeF(6, 6));
    QVERIFY(widget(form, "Shape1")->isVisible());
    QVERIFY(widget(form, "Image1")->isVisible());
    QVERIFY(!widget(form, "Shape2")->isVisible());
    for (const QString &name : buttonNames)
        QVERIFY(!widget(form, name)->isVisible());
    QCOMPARE(program.read(QStringLiteral("Lang/options.ini")),
             QStringLiteral("1\r\nenglish.lng\r\n%1\r\n\r\n").arg(index).toUtf8());
}

void TestForm1::restoresStoredFormat()
{
    ProgramFolder program;
    const QByteArray stored = "1\r\ndeutsch.lng\r\n3\r\n/home/u/Bilder/\r\n";
    program.write(QStringLiteral("Lang/options.ini"), stored);
    program.write(QStringLiteral("Lang/options.ini.keep"), "");
    FakePlatform platform(program.path());
    const QDateTime before = QFileInfo(program.optionsPath()).lastModified();
    QTest::qWait(20);
    Form1 form(platform);

    QCOMPARE(form.selectedFormat(), 3);
    QVERIFY(label(form, "Label3_3")->font().bold());
    QCOMPARE(twipsGeometry(widget(form, "Image1")).size(), QSizeF(5000, 5000));
    QCOMPARE(form.settings().LastPhotoFolder, QStringLiteral("/home/u/Bilder/"));
    QCOMPARE(form.findChild<QMenu *>("mnuFile")->title(), QStringLiteral("&Datei"));
    // The restore rewrites options.ini with what it read.
    QVERIFY(QFileInfo(program.optionsPath()).lastModified() >= before);
    QCOMPARE(program.read(QStringLiteral("Lang/options.ini")), stored);
}

void TestForm1::restoresDesignSelection()
{
    ProgramFolder program;
    program.write(QStringLiteral("Lang/options.ini"), "1\r\nenglish.lng\r\n1\r\n\r\n");
    FakePlatform platform(program.path());
    Form1 form(platform);
    QCOMPARE(form.selectedFormat(), 1);
    QVERIFY(label(form, "Label3_1")->font().bold());
    QCOMPARE(twipsGeometry(widget(form, "Image1")).size(), QSizeF(3500, 4500));
}

void TestForm1::damagedSettingsStillStart_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("fileMenu");
    QTest::newRow("empty") << QByteArray() << 1 << "&File";
    QTest::newRow("blank language") << QByteArray("1\r\n  \r\n0\r\n\r\n") << 0 << "&File";
    QTest::newRow("index not a number") << QByteArray("1\r\nenglish.lng\r\nx\r\n\r\n") << 1 << "&File";
    QTest::newRow("index outside 0-4") << QByteArray("1\r\nenglish.lng\r\n5\r\n\r\n") << 1 << "&File";
    QTest::newRow("negative index") << QByteArray("1\r\nenglish.lng\r\n-1\r\n\r\n") << 1 << "&File";
    QTest::newRow("missing language file") << QByteArray("1\r\ngone.lng\r\n2\r\n\r\n") << 2 << "&File";
    QTest::newRow("binary garbage") << QByteArray::fromRawData("\xFF\xFE\x00\x01\r\n\x02\x03\x04\r\n\x9F\r\n\x00", 15)
                                    << 1 << "&File";
}

void TestForm1::damagedSettingsStillStart()
{
    QFETCH(QByteArray, options);
    QFETCH(int, format);
    QFETCH(QString, fileMenu);
    ProgramFolder program;
    program.write(QStringLiteral("Lang/options.ini"), options);
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(form.isVisible());
    QCOMPARE(form.selectedFormat(), format);
    QCOMPARE(form.findChild<QMenu *>("mnuFile")->title(), fileMenu);
    QVERIFY(platform.messages.isEmpty());
}

void TestForm1::firstStartByLocale()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    platform.locale = QStringLiteral("it");
    Form1 form(platform);
    QCOMPARE(form.settings().LanguageFileName, QStringLiteral("italiano.lng"));
    QCOMPARE(form.findChild<QAction *>("mnuOpen")->text(), QStringLiteral("&Apri foto..."));
}

void TestForm1::shortLanguageFileEmptiesCaptions()
{
    ProgramFolder program(false);
    program.write(QStringLiteral("Lang/english.lng"), ProgramFolder::languageFile(10, "t"));
    FakePlatform platform(program.path());
    Form1 form(platform);
    QCOMPARE(form.findChild<QMenu *>("mnuFile")->title(), QStringLiteral("t 3"));
    QCOMPARE(label(form, "Label2_1")->text(), QStringLiteral("t 5"));
    form.settings().textTable.setText(4, QStringLiteral("Save && &Open"));
    form.ApplyTexts();
    QCOMPARE(label(form, "Label2_0")->text(), QStringLiteral("Save & Open"));
    QCOMPARE(form.findChild<QAction *>("mnuOpen")->text(), QStringLiteral("Save && &Open"));
    for (const char *name : {"mnuLang", "mnuAddLang", "mnuCheckUpdate", "mnuExport"})
        QCOMPARE(form.findChild<QAction *>(name)->text(), QString());
    QCOMPARE(form.findChild<QMenu *>("mnuOption")->title(), QString());
    QCOMPARE(label(form, "Label1")->text(), QString());
    QCOMPARE(label(form, "Label4")->text(), QString());
    QCOMPARE(label(form, "Label2_2")->text(), QStringLiteral("Donate"));
    QCOMPARE(widget(form, "Image5_2")->toolTip(), QStringLiteral("  "));
}

void TestForm1::hoverHighlight()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QLabel *open = label(form, "Label2_0");
    QLabel *print = label(form, "Label2_1");
    const int openWidth = open->width();

    QTest::mouseMove(open);
    QTRY_VERIFY(isHighlighted(open));
    QVERIFY2(open->width() > openWidth, "the bold text widens the label to the right");
    QCOMPARE(open->x(), 7470 / 15);

    QTest::mouseMove(widget(form, "Image5_0"));
    QTRY_VERIFY(isHighlighted(open));

    // From one link straight onto another: one step.
    QTest::mouseMove(widget(form, "Image5_1"));
    QTRY_VERIFY(isHighlighted(print));
    QVERIFY(isPlainLink(open));

    QTest::mouseMove(form.centralWidget(), QPoint(100, 440));
    QTRY_VERIFY(isPlainLink(print));
    QVERIFY(isPlainLink(open));
    QCOMPARE(open->width(), openWidth);
}

void TestForm1::linkClicksRunMenuCommands()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<std::pair<QString, QString>> links = {
        {"Label2_0", "mnuOpen"}, {"Image5_0", "mnuOpen"}, {"Label2_1", "mnuPrint"},
        {"Image5_1", "mnuPrint"}, {"Label2_3", "mnuInfo"}, {"Image5_3", "mnuInfo"}};
    for (const auto &[link, command] : links) {
        QSignalSpy spy(form.findChild<QAction *>(command), &QAction::triggered);
        QTest::mouseClick(widget(form, link), Qt::LeftButton);
        QCOMPARE(spy.size(), 1);
    }
    QVERIFY2(!widget(form, "Label2_2")->isVisible() && !widget(form, "Image5_2")->isVisible(),
             "the donation link can never be hovered or clicked");
}

void TestForm1::exitEndsProgram()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>("mnuExit")->trigger();
    QCOMPARE(platform.endCalls, 1);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
