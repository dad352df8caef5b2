#include "app/form1.h"
#include "fakeplatform.h"
#include "print/frmstampa.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QLabel>
#include <QTest>

// The print command on the main window with a real photo, down to the page handed to the
// printer system.
class TestForm1Print : public QObject
{
    Q_OBJECT
private slots:
    void refusedWithoutPhoto();
    void printsThePhotoCrop();
};

void TestForm1Print::refusedWithoutPhoto()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    platform.printerSystem.names = {QStringLiteral("Office")};
    platform.printerSystem.defaultName = QStringLiteral("Office");
    Form1 form(platform);
    form.findChild<QAction *>(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().text, form.text(15));
    QCOMPARE(platform.messages.first().title, form.text(14));
    QVERIFY(!form.printDialog());
}

void TestForm1Print::printsThePhotoCrop()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    platform.printerSystem.names = {QStringLiteral("Office"), QStringLiteral("Lab")};
    platform.printerSystem.defaultName = QStringLiteral("Office");
    const QString path = program.path() + QStringLiteral("/photo.jpg");
    QVERIFY(TestPhotos::writeFile(path, TestPhotos::encodeJpeg(TestPhotos::quadrants(1400, 2000), 95)));
    Form1 form(platform);
    form.SelectFormat(1); // 35 x 45 mm
    form.LoadPhoto(path);
    QVERIFY(form.isPhotoLoaded());

    // The printer picture of the link panel runs the print command.
    QTest::mouseClick(form.findChild<QWidget *>(QStringLiteral("Image5_1")), Qt::LeftButton);
    QPointer<frmStampa> dialog = form.printDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    form.findChild<QAction *>(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(form.printDialog(), dialog.data()); // only brought to the front

    QTest::mouseClick(dialog->findChild<QLabel *>(QStringLiteral("Label1_0")), Qt::LeftButton);
    QCOMPARE(platform.printerSystem.submitted.size(), 1);
    const PrintDocument &page = platform.printerSystem.submitted.first();
    QCOMPARE(page.printer, QStringLiteral("Office"));
    QCOMPARE(page.copies, 1);
    QCOMPARE(page.pictures.size(), 8);
    const QImage crop = form.photoCrop();
    QCOMPARE(crop.size(), QSize(1400, 1800));
    for (const PlacedPicture &picture : page.pictures) {
        QCOMPARE(picture.rectMm.size(), QSizeF(35, 45));
        QCOMPARE(picture.picture, crop); // the photo's own pixels, not the screen's
    }
    QCOMPARE(page.pictures.first().rectMm.topLeft(), QPointF(10, 10));
    QCOMPARE(page.pictures.last().rectMm.topLeft(), QPointF(118, 56));
    QTRY_VERIFY(!dialog); // the dialog unloads after the job
}

QTEST_MAIN(TestForm1Print)
#include "tst_form1print.moc"
