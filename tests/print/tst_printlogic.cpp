#include "print/copiestext.h"
#include "print/sheetgeometry.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestPrintLogic : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void copiesFromText_data();
    void copiesFromText();
    void sheetRectangles_data();
    void sheetRectangles();
    void photoSizeFromFrame();
};

void TestPrintLogic::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "3" << 3.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("trailing letters") << "4 abc" << 4.0;
    QTest::newRow("blank inside digits") << "1 2" << 12.0;
    QTest::newRow("tab and line feed inside") << "1\t2\n3" << 123.0;
    QTest::newRow("leading blanks") << "   7" << 7.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("exponent upper case with sign") << "25E-1" << 2.5;
    QTest::newRow("exponent mark without digits") << "3e" << 3.0;
    QTest::newRow("exponent sign without digits") << "3e+x" << 3.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("plus sign") << "+6" << 6.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("comma stops") << "2,5" << 2.0;
    QTest::newRow("letter first") << "x3" << 0.0;
    QTest::newRow("non-ASCII digit stops") << QString::fromUtf8("5\u0663") << 5.0;
}

void TestPrintLogic::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(::leadingNumber(text), value);
}

void TestPrintLogic::copiesFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("copies");
    const int keep = int(CopiesRequest::Kind::Keep);
    const int set = int(CopiesRequest::Kind::Set);
    const int tooMany = int(CopiesRequest::Kind::TooMany);
    QTest::newRow("3") << "3" << set << 3;
    QTest::newRow("2.5 rounds to even") << "2.5" << set << 2;
    QTest::newRow("3.5 rounds to even") << "3.5" << set << 4;
    QTest::newRow("4 abc") << "4 abc" << set << 4;
    QTest::newRow("1 2") << "1 2" << set << 12;
    QTest::newRow("letters") << "abc" << keep << 0;
    QTest::newRow("empty") << "" << keep << 0;
    QTest::newRow("0") << "0" << keep << 0;
    QTest::newRow("negative") << "-2" << keep << 0;
    QTest::newRow("rounds to 0 still prints one") << "0.4" << set << 1;
    QTest::newRow("half rounds to 0 still prints one") << "0.5" << set << 1;
    QTest::newRow("999") << "999" << set << 999;
    QTest::newRow("999.4") << "999.4" << set << 999;
    QTest::newRow("999.5 rounds to 1000") << "999.5" << tooMany << 0;
    QTest::newRow("1000") << "1000" << tooMany << 0;
    QTest::newRow("beyond 16 bits") << "40000" << tooMany << 0;
    QTest::newRow("beyond a double") << "1e400" << tooMany << 0;
    QTest::newRow("vanishing") << "1e-400" << keep << 0;
}

void TestPrintLogic::copiesFromText()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(int, copies);
    const CopiesRequest request = ::copiesFromText(text);
    QCOMPARE(int(request.kind), kind);
    if (request.kind == CopiesRequest::Kind::Set)
        QCOMPARE(request.copies, copies);
}

void TestPrintLogic::sheetRectangles_data()
{
    QTest::addColumn<QSizeF>("frameTwips");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("lastRight");
    QTest::addColumn<double>("bottom");
    QTest::newRow("30 x 40") << QSizeF(3000, 4000) << 8 << 133.0 << 91.0;
    QTest::newRow("35 x 45") << QSizeF(3500, 4500) << 8 << 153.0 << 101.0;
    QTest::newRow("40 x 40") << QSizeF(4000, 4000) << 8 << 173.0 << 91.0;
    QTest::newRow("50 x 50") << QSizeF(5000, 5000) << 6 << 162.0 << 111.0;
    QTest::newRow("2 x 2 in") << QSizeF(5080, 5080) << 6 << 164.4 << 112.6;
    QTest::newRow("just under 50 wide")
        << QSizeF(4999, 3000) << 8 << 10 + 3 * 50.99 + 49.99 << 71.0;
}

void TestPrintLogic::sheetRectangles()
{
    QFETCH(QSizeF, frameTwips);
    QFETCH(int, count);
    QFETCH(double, lastRight);
    QFETCH(double, bottom);
    const QSizeF mm = photoSizeMm(frameTwips);
    const QList<QRectF> rects = ::sheetRectangles(mm);
    QCOMPARE(rects.size(), count);
    const int columns = count / 2;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        // Row 0 left to right, then row 1.
        QVERIFY(std::abs(rects[i].left() - (10 + column * (mm.width() + 1))) < 1e-4);
        QVERIFY(std::abs(rects[i].top() - (10 + row * (mm.height() + 1))) < 1e-4);
        QCOMPARE(rects[i].size(), mm);
    }
    QVERIFY(std::abs(rects.last().right() - lastRight) < 1e-4);
    QVERIFY(std::abs(rects.last().bottom() - bottom) < 1e-4);
}

void TestPrintLogic::photoSizeFromFrame()
{
    const QList<QRectF> fifty = ::sheetRectangles(photoSizeMm(QSizeF(5000, 5000)));
    QCOMPARE(fifty[0].topLeft(), QPointF(10, 10));
    QCOMPARE(fifty[1].left(), 61.0);
    QCOMPARE(fifty[2].left(), 112.0);
    QCOMPARE(fifty[3].top(), 61.0);
    const QList<QRectF> passport = ::sheetRectangles(photoSizeMm(QSizeF(3500, 4500)));
    QCOMPARE(passport[1].left(), 46.0);
    QCOMPARE(passport[2].left(), 82.0);
    QCOMPARE(passport[3].left(), 118.0);
    QCOMPARE(passport[4].top(), 56.0);
    QCOMPARE(photoSizeMm(QSizeF(5080, 5080)).width(), double(50.8f));
}

QTEST_GUILESS_MAIN(TestPrintLogic)
#include "tst_printlogic.moc"
