#include "app/form1.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "fakeplatform.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace {

QWidget *widget(Form1 &form, const char *name)
{
    return form.findChild<QWidget *>(QString::fromLatin1(name));
}

QRect clipRect(const Form1 &form)
{
    return form.cropSource().ClipRect.toRect();
}

const QImage &framePicture(Form1 &form)
{
    return static_cast<PhotoFrame *>(widget(form, "Image1"))->picture();
}

bool photoState(Form1 &form)
{
    for (const char *name : {"Command3", "Command4", "Command5", "Command6", "Command7", "Command8", "Shape2"})
        if (!widget(form, name)->isVisible())
            return false;
    return !widget(form, "Label1")->isVisible() && !widget(form, "Shape1")->isVisible();
}

bool near(const QColor &a, const QColor &b)
{
    // JPEG leaves a little noise on flat colours.
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8
           && std::abs(a.blue() - b.blue()) <= 8;
}

void drop(Form1 &form, const QPoint &clientPos, const QList<QUrl> &urls)
{
    QMimeData data;
    if (!urls.isEmpty())
        data.setUrls(urls);
    else
        data.setText(QStringLiteral("no files here"));
    // As the desktop does it: the drop goes to the widget that accepted the drag.
    QDragEnterEvent enter(clientPos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.centralWidget(), &enter);
    QDropEvent event(QPointF(clientPos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.centralWidget(), &event);
}

} // namespace

class TestForm1Photo : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void openFitMoveAndZoom();
    void sizeTest_data();
    void sizeTest();
    void badFilesChangeNothing_data();
    void badFilesChangeNothing();
    void refusedPortraitKeepsPreviousPhoto();
    void drops();
    void formatChangeRefits();
    void refusedRefitKeepsPicture();
    void sidewaysPhoneShownUpright();

private:
    QString writePhoto(const QString &name, const QImage &image, int orientation = 1);
    std::unique_ptr<ProgramFolder> m_program;
};

void TestForm1Photo::init()
{
    m_program = std::make_unique<ProgramFolder>();
}

QString TestForm1Photo::writePhoto(const QString &name, const QImage &image, int orientation)
{
    const QString path = m_program->path() + u'/' + name;
    QByteArray bytes = TestPhotos::encodeJpeg(image, 95);
    if (orientation != 1)
        bytes = TestPhotos::withOrientation(bytes, orientation);
    TestPhotos::writeFile(path, bytes);
    return path;
}

void TestForm1Photo::openFitMoveAndZoom()
{
    const QString path = writePhoto(QStringLiteral("portrait.JPG"), TestPhotos::quadrants(1200, 1800));
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    form.SelectFormat(0); // 30 x 40 mm
    platform.dialogAnswers.enqueue(QStringList{path});

    form.findChild<QAction *>(QStringLiteral("mnuOpen"))->trigger();

    const FileDialogRequest &request = platform.dialogs.first();
    QVERIFY(request.openDialog);
    QCOMPARE(request.initialDir, m_program->path()); // the current directory on first use
    QCOMPARE(request.fileName, QStringLiteral("*.jpg"));
    QCOMPARE(request.filter, form.text(21));
    QCOMPARE(request.dialogTitle, form.text(22));
    QCOMPARE(form.settings().LastPhotoFolder, m_program->path() + u'/');
    QVERIFY(form.isPhotoLoaded());
    QVERIFY(photoState(form));
    QCOMPARE(clipRect(form), QRect(0, 100, 1200, 1600));

    // The frame shows the crop: top half red/green, bottom half blue/yellow, at device size.
    const QImage &picture = framePicture(form);
    QCOMPARE(picture.size(), QSize(200, 267));
    QVERIFY(near(picture.pixelColor(20, 20), QColor(255, 0, 0)));
    QVERIFY(near(picture.pixelColor(180, 20), QColor(0, 255, 0)));
    QVERIFY(near(picture.pixelColor(20, 250), QColor(0, 0, 255)));
    QVERIFY(near(picture.pixelColor(180, 250), QColor(255, 255, 0)));

    QTest::mouseClick(widget(form, "Command3"), Qt::LeftButton); // zoom in: 30 and 40 pixels less
    QCOMPARE(clipRect(form), QRect(15, 120, 1170, 1560));
    QTest::mouseClick(widget(form, "Command8"), Qt::LeftButton); // photo left: 6 pixels right
    QCOMPARE(clipRect(form), QRect(21, 120, 1170, 1560));
    QTest::mouseClick(widget(form, "Command5"), Qt::LeftButton); // photo up: 9 pixels down
    QCOMPARE(clipRect(form), QRect(21, 129, 1170, 1560));
    QTest::mouseClick(widget(form, "Command6"), Qt::LeftButton);
    QTest::mouseClick(widget(form, "Command7"), Qt::LeftButton);
    QCOMPARE(clipRect(form), QRect(15, 120, 1170, 1560));
    QCOMPARE(form.PanStepsX, int16_t(0));
    QCOMPARE(form.PanStepsY, int16_t(0));
    QTest::mouseClick(widget(form, "Command4"), Qt::LeftButton);
    QCOMPARE(clipRect(form), QRect(0, 100, 1200, 1600));

    // Print and export take the photo's own pixels of the same part.
    const QImage crop = form.photoCrop();
    QCOMPARE(crop.size(), QSize(1200, 1600));
    QVERIFY(near(crop.pixelColor(10, 10), QColor(255, 0, 0)));
    QVERIFY(near(crop.pixelColor(1190, 1590), QColor(255, 255, 0)));
}

void TestForm1Photo::sizeTest_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("234 x 310 passes") << QSize(234, 310) << true;
    QTest::newRow("233 x 310 is too narrow") << QSize(233, 310) << false;
    QTest::newRow("300 x 299 is too short") << QSize(300, 299) << false;
    // Equal height passes the size test, but the frame's shape needs 301 rows.
    QTest::newRow("234 x 300 refused by the crop") << QSize(234, 300) << false;
}

void TestForm1Photo::sizeTest()
{
    QFETCH(QSize, size);
    QFETCH(bool, accepted);
    const QString path = writePhoto(QStringLiteral("small.jpg"), TestPhotos::photoLike(size.width(), size.height()));
    FakePlatform platform(m_program->path());
    Form1 form(platform); // 35 x 45 mm
    form.SelectFormat(1);
    form.LoadPhoto(path);
    QCOMPARE(form.isPhotoLoaded(), accepted);
    QCOMPARE(platform.messages.size(), accepted ? 0 : 1);
    if (!accepted) {
        QCOMPARE(platform.messages.first().text, form.text(13));
        QCOMPARE(platform.messages.first().title, form.text(14));
        QCOMPARE(platform.messages.first().style, 48);
        QVERIFY(widget(form, "Label1")->isVisible());
    }
}

void TestForm1Photo::badFilesChangeNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("message"); // 0: silent
    const QByteArray good = TestPhotos::encodeJpeg(TestPhotos::photoLike(600, 800));
    QTest::newRow("jpeg extension ignored") << "a.jpeg" << good << 0;
    QTest::newRow("png extension ignored") << "a.png" << good << 0;
    QTest::newRow("hidden file ignored") << ".a.jpg" << good << 0;
    QTest::newRow("empty file") << "empty.jpg" << QByteArray() << 50;
    QTest::newRow("truncated header") << "cut.jpg" << good.left(100) << 50;
    QTest::newRow("text renamed") << "notes.jpg" << QByteArray("hello\r\n") << 50;
    QTest::newRow("over 32767 pixels") << "huge.jpg" << TestPhotos::withClaimedSize(good, 40000, 800) << 51;
}

void TestForm1Photo::badFilesChangeNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, message);
    const QString first = writePhoto(QStringLiteral("first.jpg"), TestPhotos::quadrants(900, 1200));
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    form.LoadPhoto(first);
    const QRect before = clipRect(form);
    const QImage picture = framePicture(form);

    TestPhotos::writeFile(m_program->path() + u'/' + name, bytes);
    form.LoadPhoto(m_program->path() + u'/' + name);

    QCOMPARE(platform.messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(platform.messages.first().text, form.text(message));
        QCOMPARE(platform.messages.first().title, form.text(14));
    }
    QCOMPARE(clipRect(form), before);
    QCOMPARE(framePicture(form), picture);
    QVERIFY(photoState(form));
    form.LoadPhoto(m_program->path() + QStringLiteral("/missing.jpg"));
    QCOMPARE(platform.messages.size(), message ? 1 : 0);
}

void TestForm1Photo::refusedPortraitKeepsPreviousPhoto()
{
    const QString first = writePhoto(QStringLiteral("first.jpg"), TestPhotos::quadrants(900, 1200));
    const QString wide = writePhoto(QStringLiteral("wide.jpg"), TestPhotos::photoLike(1000, 1200));
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    form.SelectFormat(1);
    form.LoadPhoto(wide);
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().text, form.text(13));
    QVERIFY(!form.isPhotoLoaded());
    QVERIFY(!form.cropSource().picture());

    form.LoadPhoto(first);
    const QRect before = clipRect(form);
    form.LoadPhoto(wide);
    QCOMPARE(platform.messages.size(), 2);
    QCOMPARE(form.cropSource().picture()->size(), QSize(900, 1200));
    QCOMPARE(clipRect(form), before);
    QCOMPARE(form.photoCrop().size(), before.size());
}

void TestForm1Photo::drops()
{
    const QString a = writePhoto(QStringLiteral("a.jpg"), TestPhotos::quadrants(900, 1200));
    const QString b = writePhoto(QStringLiteral("b.jpg"), TestPhotos::photoLike(1200, 1600));
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    const QString folderBefore = form.settings().LastPhotoFolder;

    drop(form, QPoint(560, 420), {}); // no file list
    QVERIFY(!form.isPhotoLoaded());
    drop(form, widget(form, "Label2_0")->geometry().center(), {QUrl::fromLocalFile(a)});
    QVERIFY2(!form.isPhotoLoaded(), "links take no drops");

    drop(form, widget(form, "Label1")->geometry().center(),
         {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(b)});
    QVERIFY(form.isPhotoLoaded());
    QCOMPARE(form.cropSource().picture()->size(), QSize(900, 1200));

    drop(form, widget(form, "Image1")->geometry().center(), {QUrl::fromLocalFile(b)});
    QCOMPARE(form.cropSource().picture()->size(), QSize(1200, 1600));
    drop(form, QPoint(560, 420), {QUrl::fromLocalFile(a)}); // the background
    QCOMPARE(form.cropSource().picture()->size(), QSize(900, 1200));
    QCOMPARE(form.settings().LastPhotoFolder, folderBefore);
}

void TestForm1Photo::formatChangeRefits()
{
    const QString path = writePhoto(QStringLiteral("land.jpg"), TestPhotos::photoLike(3000, 2000));
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    form.SelectFormat(1);
    form.LoadPhoto(path);
    QCOMPARE(clipRect(form), QRect(722, 0, 1556, 2000));
    QTest::mouseClick(widget(form, "Command3"), Qt::LeftButton);
    QTest::mouseClick(widget(form, "Command8"), Qt::LeftButton);
    QCOMPARE(form.PanStepsX, int16_t(1));

    QTest::mouseClick(widget(form, "Option1_3"), Qt::LeftButton); // 50 x 50 mm
    QCOMPARE(clipRect(form), QRect(500, 0, 2000, 2000));
    QCOMPARE(form.PanStepsX, int16_t(0));
    QVERIFY(photoState(form));
    QCOMPARE(framePicture(form).size(), QSize(333, 333));
    QCOMPARE(twipsGeometry(widget(form, "Command3")).topLeft(), QPointF(5680, 5670));
}

void TestForm1Photo::refusedRefitKeepsPicture()
{
    const QString path = writePhoto(QStringLiteral("square-ish.jpg"), TestPhotos::quadrants(1000, 1200));
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    form.SelectFormat(2); // 40 x 40 mm accepts it
    form.LoadPhoto(path);
    QVERIFY(form.isPhotoLoaded());
    const QRect square = static_cast<PhotoFrame *>(widget(form, "Image1"))->clip().rect();
    QCOMPARE(square, QRect(0, 100, 1000, 1000));

    form.SelectFormat(1); // 35 x 45 mm refuses the new rectangle
    QCOMPARE(static_cast<PhotoFrame *>(widget(form, "Image1"))->clip().rect(), square);
    QCOMPARE(framePicture(form).size(), QSize(233, 300)); // stretched to the new frame
    QVERIFY(photoState(form));
    QVERIFY(platform.messages.isEmpty());
}

void TestForm1Photo::sidewaysPhoneShownUpright()
{
    // Stored landscape with orientation 6: upright it is a 1200 x 1800 portrait.
    const QImage upright = TestPhotos::quadrants(1200, 1800);
    const QString path = writePhoto(QStringLiteral("phone.jpg"),
                                    upright.transformed(QTransform().rotate(-90)), 6);
    FakePlatform platform(m_program->path());
    Form1 form(platform);
    form.SelectFormat(0);
    form.LoadPhoto(path);
    QCOMPARE(form.cropSource().width(), 1200);
    QCOMPARE(form.cropSource().height(), 1800);
    QCOMPARE(clipRect(form), QRect(0, 100, 1200, 1600));
    const QImage &picture = framePicture(form);
    QVERIFY(near(picture.pixelColor(20, 20), QColor(255, 0, 0)));
    QVERIFY(near(picture.pixelColor(180, 250), QColor(255, 255, 0)));
}

QTEST_MAIN(TestForm1Photo)
#include "tst_form1photo.moc"
