#include "photo/photoformat.h"
#include "photo/workspacelayout.h"

#include <QTest>

class TestPhotoFormat : public QObject
{
    Q_OBJECT
private slots:
    void table_data();
    void table();
    void placement_data();
    void placement();
};

void TestPhotoFormat::table_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("note");
    QTest::addColumn<int>("smallestWidthPx"); // smallest photo accepted at 15 twips per pixel
    QTest::addColumn<int>("smallestHeightPx");
    QTest::newRow("30x40") << 0 << "30 x 40 mm" << 3000 << 4000 << 44 << 200 << 267;
    QTest::newRow("35x45") << 1 << "35 x 45 mm" << 3500 << 4500 << 44 << 234 << 300;
    QTest::newRow("40x40") << 2 << "40 x 40 mm" << 4000 << 4000 << 44 << 267 << 267;
    QTest::newRow("50x50") << 3 << "50 x 50 mm" << 5000 << 5000 << 44 << 334 << 334;
    QTest::newRow("2x2in") << 4 << "2 x 2 in" << 5080 << 5080 << 45 << 339 << 339;
}

void TestPhotoFormat::table()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, note);
    QFETCH(int, smallestWidthPx);
    QFETCH(int, smallestHeightPx);
    const PhotoFormat &format = PhotoFormats[index];
    QCOMPARE(QString::fromLatin1(format.caption), caption);
    QCOMPARE(format.frameWidth, width);
    QCOMPARE(format.frameHeight, height);
    QCOMPARE(format.noteText, note);
    // The frame is the print size at 100 twips per millimetre; the smallest photo reaches it.
    QVERIFY(smallestWidthPx * 15 >= width && (smallestWidthPx - 1) * 15 < width);
    QVERIFY(smallestHeightPx * 15 >= height && (smallestHeightPx - 1) * 15 < height);
}

void TestPhotoFormat::placement_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRectF>("shape1");
    QTest::addColumn<QRectF>("shape2");
    QTest::addColumn<QPointF>("label1");
    QTest::addColumn<double>("zoomLeft");
    QTest::addColumn<double>("plusTop");
    QTest::addColumn<double>("minusTop");
    QTest::addColumn<double>("upDownLeft");
    QTest::addColumn<double>("downTop");
    QTest::addColumn<QPointF>("right");
    QTest::newRow("30x40") << 0 << QRectF(690, 1380, 2994, 3994)
                           << QRectF(1206.67, 1824.44, 1906.67, 2666.67) << QPointF(1552.5, 3102.5)
                           << 3680.0 << 4670.0 << 5035.0 << 1492.5 << 5400.0 << QPointF(3680, 2712.5);
    QTest::newRow("35x45") << 1 << QRectF(690, 1380, 3494, 4494) << QRectF(1337.5, 1880, 2145, 3000)
                           << QPointF(1802.5, 3352.5) << 4180.0 << 5170.0 << 5535.0 << 1742.5
                           << 5900.0 << QPointF(4180, 2962.5);
    QTest::newRow("40x40") << 2 << QRectF(690, 1380, 3994, 3994)
                           << QRectF(1706.67, 1824.44, 1906.67, 2666.67) << QPointF(2052.5, 3102.5)
                           << 4680.0 << 4670.0 << 5035.0 << 1992.5 << 5400.0 << QPointF(4680, 2712.5);
    QTest::newRow("50x50") << 3 << QRectF(690, 1380, 4994, 4994)
                           << QRectF(1968.33, 1935.56, 2383.33, 3333.33) << QPointF(2552.5, 3602.5)
                           << 5680.0 << 5670.0 << 6035.0 << 2492.5 << 6400.0 << QPointF(5680, 3212.5);
    QTest::newRow("2x2in") << 4 << QRectF(690, 1380, 5074, 5074)
                           << QRectF(1989.27, 1944.44, 2421.47, 3386.67) << QPointF(2592.5, 3642.5)
                           << 5760.0 << 5750.0 << 6115.0 << 2532.5 << 6480.0 << QPointF(5760, 3252.5);
}

static bool near(double actual, double expected)
{
    return std::abs(actual - expected) < 0.01; // the table rounds to two decimals
}

#define QCOMPARE_NEAR(actual, expected) \
    QVERIFY2(near(actual, expected), qPrintable(QStringLiteral("%1 is %2, expected %3").arg(#actual).arg(actual, 0, 'f', 4).arg(expected)))

void TestPhotoFormat::placement()
{
    QFETCH(int, index);
    QFETCH(QRectF, shape1);
    QFETCH(QRectF, shape2);
    QFETCH(QPointF, label1);
    QFETCH(double, zoomLeft);
    QFETCH(double, plusTop);
    QFETCH(double, minusTop);
    QFETCH(double, upDownLeft);
    QFETCH(double, downTop);
    QFETCH(QPointF, right);

    WorkspaceLayoutInput input;
    input.frame = QRectF(660, 1380, PhotoFormats[index].frameWidth, PhotoFormats[index].frameHeight);
    input.label1 = QSizeF(1215, 555);
    input.command3 = input.command4 = QSizeF(345, 345);
    input.command5 = QSizeF(1335, 345);
    input.command7 = QSizeF(345, 1335);
    const WorkspacePlacement p = placeWorkspace(input);

    QCOMPARE_NEAR(p.shape1.left(), shape1.left());
    QCOMPARE_NEAR(p.shape1.top(), shape1.top());
    QCOMPARE_NEAR(p.shape1.width(), shape1.width());
    QCOMPARE_NEAR(p.shape1.height(), shape1.height());
    QCOMPARE_NEAR(p.shape2.left(), shape2.left());
    QCOMPARE_NEAR(p.shape2.top(), shape2.top());
    QCOMPARE_NEAR(p.shape2.width(), shape2.width());
    QCOMPARE_NEAR(p.shape2.height(), shape2.height());
    QCOMPARE_NEAR(p.label1.x(), label1.x());
    QCOMPARE_NEAR(p.label1.y(), label1.y());
    QCOMPARE_NEAR(p.command3.x(), zoomLeft);
    QCOMPARE_NEAR(p.command4.x(), zoomLeft);
    QCOMPARE_NEAR(p.command3.y(), plusTop);
    QCOMPARE_NEAR(p.command4.y(), minusTop);
    QCOMPARE_NEAR(p.command5.x(), upDownLeft);
    QCOMPARE_NEAR(p.command6.x(), upDownLeft);
    QCOMPARE_NEAR(p.command5.y(), 1020.0); // the up button keeps its design top
    QCOMPARE_NEAR(p.command6.y(), downTop);
    QCOMPARE_NEAR(p.command7.x(), right.x());
    QCOMPARE_NEAR(p.command7.y(), right.y());
    QCOMPARE_NEAR(p.command8.x(), 300.0); // the left button keeps its design left
    QCOMPARE_NEAR(p.command8.y(), right.y());
}

QTEST_MAIN(TestPhotoFormat)
#include "tst_photoformat.moc"
