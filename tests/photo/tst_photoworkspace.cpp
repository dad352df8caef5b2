#include "photo/photoformat.h"
#include "photo/photoworkspace.h"
#include "photo/workspacelayout.h"
#include "testphotos.h"

#include <QTemporaryDir>
#include <QTest>

class TestPhotoWorkspace : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void refusedLoadKeepsThePreviousPhoto();
    void frameChangeFitsAfresh();
    void commandsShowWhatTheyChange();
    void guidesAndButtonsClearTheFrame_data();
    void guidesAndButtonsClearTheFrame();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        return TestPhotos::writeFile(path, bytes) ? path : QString();
    }
    static PhotoWorkspace workspace(int format = 1)
    {
        PhotoWorkspace w;
        w.setFrame(QSizeF(PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight));
        return w;
    }

    QTemporaryDir m_dir;
};

void TestPhotoWorkspace::load_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LoadOutcome>("outcome");
    const auto jpeg
        = [](int w, int h) { return TestPhotos::encodeJpeg(TestPhotos::quadrants(w, h)); };
    // 35 x 45 mm is 3500 x 4500 twips: a photo needs at least 234 x 300 pixels.
    QTest::newRow("234 x 310") << "a.jpg" << jpeg(234, 310) << LoadOutcome::Accepted;
    QTest::newRow("upper-case name") << "B.JPG" << jpeg(300, 400) << LoadOutcome::Accepted;
    QTest::newRow("233 x 310 too narrow") << "a.jpg" << jpeg(233, 310) << LoadOutcome::TooSmall;
    QTest::newRow("300 x 299 too short") << "a.jpg" << jpeg(300, 299) << LoadOutcome::TooSmall;
    // Wide enough and high enough, but its width-filling crop needs 301 rows.
    QTest::newRow("234 x 300 refused by the crop")
        << "a.jpg" << jpeg(234, 300) << LoadOutcome::TooSmall;
    QTest::newRow(".jpeg is not a photo name")
        << "a.jpeg" << jpeg(300, 400) << LoadOutcome::Ignored;
    QTest::newRow("hidden file") << ".a.jpg" << jpeg(300, 400) << LoadOutcome::Ignored;
    QTest::newRow("text renamed") << "notes.jpg" << QByteArray("hello\r\n")
                                  << LoadOutcome::NotAPhoto;
    QTest::newRow("over 32767 pixels")
        << "huge.jpg" << TestPhotos::withClaimedSize(jpeg(300, 400), 40000, 800)
        << LoadOutcome::TooLarge;
}

void TestPhotoWorkspace::load()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(LoadOutcome, outcome);
    PhotoWorkspace w = workspace();
    QCOMPARE(w.LoadPhoto(write(name, bytes)), outcome);
    QCOMPARE(w.isLoaded(), outcome == LoadOutcome::Accepted);
    QCOMPARE(w.shown().isNull(), outcome != LoadOutcome::Accepted);
}

void TestPhotoWorkspace::refusedLoadKeepsThePreviousPhoto()
{
    PhotoWorkspace w = workspace();
    QCOMPARE(
        w.LoadPhoto(write("first.jpg", TestPhotos::encodeJpeg(TestPhotos::quadrants(600, 800)))),
        LoadOutcome::Accepted);
    QVERIFY(w.run(PhotoCommand::ZoomIn));
    QVERIFY(w.run(PhotoCommand::Left));
    const CropRect rect = w.cropSource().ClipRect;
    const QRect shown = w.shown().rect();
    for (const QByteArray &bytes :
        { TestPhotos::encodeJpeg(TestPhotos::quadrants(234, 300)), QByteArray("not a photo") }) {
        QVERIFY(w.LoadPhoto(write("second.jpg", bytes)) != LoadOutcome::Accepted);
        QCOMPARE(w.cropSource().ClipRect, rect);
        QCOMPARE(w.shown().rect(), shown);
        QCOMPARE(w.cropSource().width(), 600);
        QCOMPARE(w.panStepsX(), int16_t(1));
    }
}

void TestPhotoWorkspace::frameChangeFitsAfresh()
{
    PhotoWorkspace w = workspace();
    QVERIFY(!w.refit());
    QCOMPARE(w.LoadPhoto(write("p.jpg", TestPhotos::encodeJpeg(TestPhotos::quadrants(1000, 1500)))),
        LoadOutcome::Accepted);
    QVERIFY(w.run(PhotoCommand::Up));
    w.setFrame(QSizeF(5080, 5080));
    QVERIFY(w.refit());
    QCOMPARE(w.cropSource().ClipRect, (CropRect { 0, 250, 1000, 1000 }));
    QCOMPARE(w.shown().rect(), QRect(0, 250, 1000, 1000));
    QCOMPARE(w.panStepsY(), int16_t(0));
    QCOMPARE(w.photoCrop().size(), QSize(1000, 1000));
}

void TestPhotoWorkspace::commandsShowWhatTheyChange()
{
    PhotoWorkspace w = workspace();
    QVERIFY(!w.run(PhotoCommand::ZoomIn)); // nothing loaded
    QCOMPARE(w.LoadPhoto(write("p.jpg", TestPhotos::encodeJpeg(TestPhotos::quadrants(700, 900)))),
        LoadOutcome::Accepted);
    // The fit already starts at the top and the left edge: these moves are refused.
    QVERIFY(!w.run(PhotoCommand::Down));
    QVERIFY(!w.run(PhotoCommand::Right));
    QVERIFY(w.run(PhotoCommand::ZoomIn));
    QCOMPARE(w.shown().rect(), w.cropSource().ClipRect.toRect());
    QCOMPARE(w.photoCrop().size(), w.shown().size());
}

void TestPhotoWorkspace::guidesAndButtonsClearTheFrame_data()
{
    QTest::addColumn<int>("format");
    for (int i = 0; i < PhotoFormatCount; ++i)
        QTest::newRow(PhotoFormats[i].caption) << i;
}

// Whatever the format, the guides stay inside the frame and no button covers it.
void TestPhotoWorkspace::guidesAndButtonsClearTheFrame()
{
    QFETCH(int, format);
    WorkspaceLayoutInput in;
    in.frame = QRectF(660, 1380, PhotoFormats[format].frameWidth, PhotoFormats[format].frameHeight);
    in.label1 = QSizeF(1215, 555);
    in.command3 = in.command4 = QSizeF(345, 345);
    in.command5 = QSizeF(1335, 345);
    in.command7 = QSizeF(345, 1335);
    const WorkspacePlacement out = placeWorkspace(in);
    QVERIFY(in.frame.contains(out.shape2));
    QVERIFY(in.frame.contains(QRectF(out.label1, in.label1)));
    QCOMPARE(out.shape2.center().x(), in.frame.center().x());
    const QList<QRectF> buttons
        = { QRectF(out.command3, in.command3), QRectF(out.command4, in.command4),
              QRectF(out.command5, in.command5), QRectF(out.command6, in.command5),
              QRectF(out.command7, in.command7), QRectF(out.command8, in.command7) };
    for (const QRectF &button : buttons)
        QVERIFY(!button.intersects(in.frame) && button.left() >= 0 && button.right() <= 9930);
    QVERIFY(!buttons[0].intersects(buttons[1]));
}

QTEST_MAIN(TestPhotoWorkspace)
#include "tst_photoworkspace.moc"
