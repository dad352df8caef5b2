// The table of documents: the shipped rows, refused rows and files, the user's own file.
#include "photo/documenttable.h"
#include "print/sheetgeometry.h"
#include "testconfig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray Header
    = "id\tcountry\tdocument\twidth\theight\tunit\thead_min\thead_max\thead_unit\n";

QByteArray row(const QByteArray &id, const QByteArray &size = "35\t45\tmm",
    const QByteArray &head = "32\t36\tmm")
{
    return id + "\tXX\tPassport\t" + size + '\t' + head + '\n';
}

QStringList ids(const QList<IdDocument> &documents)
{
    QStringList list;
    for (const IdDocument &document : documents)
        list.append(document.id);
    return list;
}

} // namespace

class TestDocumentTable : public QObject
{
    Q_OBJECT
private slots:
    // Every shipped row is read, and each lays its head out inside the photo.
    void shippedTable()
    {
        QStringList problems;
        DocumentList list;
        list.load(QStringLiteral(KALMORA_SOURCE_DIR), QString(), &problems);
        QCOMPARE(problems, QStringList());
        QFile file(QStringLiteral(KALMORA_SOURCE_DIR "/data/documents.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(list.documents().size(), file.readAll().count('\n') - 1);
        for (const IdDocument &document : list.documents()) {
            const FaceRule &rule = document.rule;
            const double top = rule.anchor == FaceRule::Anchor::Crown
                ? rule.anchorTarget
                : 1 - rule.anchorTarget - rule.headTarget / 2;
            QVERIFY2(0 < rule.headMin && rule.headMin <= rule.headTarget
                    && rule.headTarget <= rule.headMax && rule.headMax < 1 && top >= 0
                    && top + rule.headTarget <= 1 && !document.printMm().isEmpty()
                    && document.asOf == QLatin1String("2026-12-08"),
                qPrintable(document.id));
            // Whole copies on A4 and Letter with printers' 4-6 mm margins, and on 10 x 15 cm.
            if (!document.isDigital())
                for (const QSizeF &paper : { QSizeF(202, 289), QSizeF(204, 267), QSizeF(102, 152) })
                    QVERIFY2(!sheetOnPaper(document.printMm(), paper).isEmpty(),
                        qPrintable(document.id));
        }
        // Facts read from the cells that a misread column would change.
        const IdDocument canada = list.find("ca_passport").value();
        QCOMPARE(canada.rule.headTarget * 70, 33.5);
        QCOMPARE(canada.rule.top, FaceRule::Top::Skull);
        const IdDocument online = list.find("us_visa_online").value();
        QCOMPARE(online.pixels(), QSize(600, 600));
        QCOMPARE(online.file, (FileRule { 600, 1200, 0, 240 }));
        QCOMPARE(online.rule.top, FaceRule::Top::Hair);
        QVERIFY(online.isDigital() && !online.takesPrints && !online.teethAllowed);
        QVERIFY(list.find("fr_passport")->whiteForbidden);
        // A square without a head range takes the square's shares, not the portrait's.
        QCOMPARE(list.find("in_visa_online")->rule.headTarget, SquareFaceRule.headTarget);
        QCOMPARE(countryName("CA", "de"), QStringLiteral("Kanada"));
        QVERIFY(!countryName("EU", "en").isEmpty() && countryName("EU", "en") != "EU");
    }

    void refusedRow_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::newRow("column count") << QByteArray("bad\tXX\tPassport\t35\t45\tmm\t32\t36\n");
        QTest::newRow("size zero") << row("bad", "0\t45\tmm");
        QTest::newRow("negative") << row("bad", "35\t-45\tmm");
        QTest::newRow("huge mm") << row("bad", "35\t301\tmm");
        QTest::newRow("huge in") << row("bad", "2\t12\tin", "1\t1.3\tin");
        QTest::newRow("huge px") << row("bad", "600\t10001\tpx", "\t\t");
        QTest::newRow("head too large") << row("bad", "35\t45\tmm", "44\t46\tmm");
        QTest::newRow("head min > max") << row("bad", "35\t45\tmm", "36\t32\tmm");
        QTest::newRow("unknown unit") << row("bad", "35\t45\tcm");
        QTest::newRow("head unit not the size's") << row("bad", "35\t45\tmm", "1\t1.3\tin");
        QTest::newRow("duplicate id") << row("a");
        QTest::newRow("empty id") << row("");
    }
    void refusedRow()
    {
        QFETCH(QByteArray, bad);
        const DocumentTable table
            = readDocumentTable(Header + row("a") + row("b") + bad + row("c"), "t.tsv");
        QCOMPARE(table.problems.size(), 1);
        QVERIFY2(table.problems.first().startsWith("t.tsv line 4: "),
            qPrintable(table.problems.first()));
        QCOMPARE(ids(table.documents), QStringList({ "a", "b", "c" }));
    }

    void refusedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not UTF-8") << Header + row("a") + row("b\xE9");
        QTest::newRow("cut UTF-8") << Header + row("a") + "\xC3";
        QTest::newRow("over the cap")
            << Header + row("a") + QByteArray(MaximumDocumentTableBytes, '\n');
        QTest::newRow("no header") << row("a") + row("b");
    }
    void refusedFile()
    {
        QFETCH(QByteArray, bytes);
        const DocumentTable table = readDocumentTable(bytes, "t.tsv");
        QCOMPARE(table.problems.size(), 1);
        QVERIFY(table.problems.first().startsWith("t.tsv: "));
        QVERIFY(table.documents.isEmpty());
    }

    // The user's rows replace shipped ones in place and add their own; the installed table is
    // found from bin/; without a shipped table only the user's rows stand.
    void usersFile()
    {
        QTemporaryDir folder;
        QDir().mkpath(folder.filePath("user"));
        QDir().mkpath(folder.filePath("share/kalmora/data"));
        QFile own(folder.filePath("user/documents.tsv"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write(Header + row("fr_passport", "40\t50\tmm") + row("my_own"));
        own.close();
        QFile::copy(KALMORA_SOURCE_DIR "/data/documents.tsv",
            folder.filePath("share/kalmora/data/documents.tsv"));
        QStringList problems;
        DocumentList shipped, list;
        shipped.load(QStringLiteral(KALMORA_SOURCE_DIR), QString(), &problems);
        list.load(folder.filePath("bin"), folder.filePath("user"), &problems);
        QCOMPARE(problems, QStringList());
        QStringList expected = ids(shipped.documents()) << "my_own";
        QCOMPARE(ids(list.documents()), expected);
        QCOMPARE(list.find("fr_passport")->size, QSizeF(40, 50));

        QFile::remove(folder.filePath("share/kalmora/data/documents.tsv"));
        list.load(folder.filePath("bin"), folder.filePath("user"), &problems);
        QCOMPARE(problems.size(), 1);
        QCOMPARE(ids(list.documents()), QStringList({ "fr_passport", "my_own" }));
    }
};

QTEST_GUILESS_MAIN(TestDocumentTable)
#include "tst_documenttable.moc"
