#include "i18n/textfile.h"
#include "i18n/texttable.h"
#include "testconfig.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTest>

class TestLanguageFiles : public QObject
{
    Q_OBJECT
private slots:
    void splitLines_data();
    void splitLines();
    void decode_data();
    void decode();
    void lineRules_data();
    void lineRules();
    void shorterFileKeepsLaterEntries();
    void veryLongLine();
    void shippedFiles_data();
    void shippedFiles();
};

void TestLanguageFiles::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line unterminated") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("CR only") << QStringLiteral("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF is text") << QStringLiteral("a\nb\r\nc") << QStringList{"a\nb", "c"};
    QTest::newRow("LF only file is one line") << QStringLiteral("01 a\n02 b\n")
                                              << QStringList{"01 a\n02 b\n"};
    QTest::newRow("empty lines count") << QStringLiteral("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestLanguageFiles::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(::splitLines(text), lines);
}

void TestLanguageFiles::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("File") << QStringLiteral("File");
    QTest::newRow("utf-8") << QByteArray("\xC4\x8C" "e\xC5\xA1tina") << QStringLiteral("Čeština");
    QTest::newRow("windows-1252") << QByteArray("Fran\xE7" "ais \x80 \x93x\x94")
                                  << QStringLiteral("Français € “x”");
    QTest::newRow("unassigned code") << QByteArray("a\x81") << QStringLiteral("a\uFFFD");
}

void TestLanguageFiles::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeText(bytes), text);
}

void TestLanguageFiles::lineRules_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("expected");
    const QStringList before = {"01 old"};
    QTest::newRow("prefix dropped") << QStringList{"12 Drag photo here"} << 1 << "Drag photo here";
    QTest::newRow("blanks kept") << QStringList{"01   two blanks "} << 1 << "  two blanks ";
    QTest::newRow("prefix not examined") << QStringList{"xyzText"} << 1 << "Text";
    QTest::newRow("exactly three characters") << QStringList{"01 "} << 1 << "";
    QTest::newRow("two characters keep entry") << QStringList{"01"} << 1 << "old";
    QTest::newRow("one character keeps entry") << QStringList{"x"} << 1 << "old";
    QStringList many;
    for (int k = 1; k <= 120; ++k)
        many << QStringLiteral("%1line %2").arg(k, 3, 10, QChar(u'0')).arg(k);
    QTest::newRow("line 100 stored") << many << 100 << "line 100";
    QTest::newRow("line 101 ignored") << many << 101 << "";
}

void TestLanguageFiles::lineRules()
{
    QFETCH(QStringList, lines);
    QFETCH(int, entry);
    QFETCH(QString, expected);
    TextTable table;
    table.setText(1, QStringLiteral("old"));
    table.applyLines(lines);
    QCOMPARE(table.text(entry), expected);
}

void TestLanguageFiles::shorterFileKeepsLaterEntries()
{
    QStringList sixty, fifty;
    for (int k = 1; k <= 60; ++k)
        sixty << QStringLiteral("%1 first %1").arg(k, 2, 10, QChar(u'0'));
    for (int k = 1; k <= 50; ++k)
        fifty << QStringLiteral("%1 second %1").arg(k, 2, 10, QChar(u'0'));
    TextTable table;
    table.applyLines(sixty);
    table.applyLines(fifty);
    QCOMPARE(table.text(50), QStringLiteral("second 50"));
    QCOMPARE(table.text(51), QStringLiteral("first 51"));
    QCOMPARE(table.text(60), QStringLiteral("first 60"));
    QCOMPARE(table.text(61), QString());
}

void TestLanguageFiles::veryLongLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.lng"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("01 short\r\n02 " + QByteArray(1024 * 1024, 'x') + "\r\n03 after\r\n");
    file.close();
    const std::optional<QStringList> lines = readTextLines(path);
    QVERIFY(lines);
    TextTable table;
    table.applyLines(*lines);
    QCOMPARE(table.text(2).size(), 1024 * 1024);
    QCOMPARE(table.text(3), QStringLiteral("after"));
    QVERIFY(!readTextLines(dir.filePath(QStringLiteral("missing.lng"))));
    QVERIFY2(!readTextLines(dir.path()), "a folder is not a language file");
}

void TestLanguageFiles::shippedFiles_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = {"english", "czech", "deutsch", "greek", "francais",
                               "indonesian", "italiano", "portugues", "swedish"};
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name + QStringLiteral(".lng");
}

// Every shipped language must fill the same lines as English, in the form the reader takes.
void TestLanguageFiles::shippedFiles()
{
    QFETCH(QString, name);
    const QString folder = QStringLiteral(KALMORA_SOURCE_DIR "/Lang/");
    QFile file(folder + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    QVERIFY2(!utf8.hasError(), "valid UTF-8");
    QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), "no byte-order mark");
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));

    const QStringList lines = ::splitLines(text);
    QCOMPARE(lines.size(), 100);
    QStringList english;
    QFile englishFile(folder + QStringLiteral("english.lng"));
    QVERIFY(englishFile.open(QIODevice::ReadOnly));
    english = ::splitLines(QString::fromUtf8(englishFile.readAll()));
    for (int k = 1; k <= 100; ++k) {
        const QString &line = lines.at(k - 1);
        const QString prefix = k == 100 ? QStringLiteral("100")
                                        : QStringLiteral("%1 ").arg(k, 2, 10, QChar(u'0'));
        QVERIFY2(line.startsWith(prefix), qPrintable(QStringLiteral("line %1").arg(k)));
        QCOMPARE(line.size() == 3, english.at(k - 1).size() == 3);
        QCOMPARE(line.count(u'&'), english.at(k - 1).count(u'&'));
    }
    QVERIFY(lines.at(46).contains(QStringLiteral("<BR>")));
    QVERIFY(lines.at(18).endsWith(QStringLiteral("(*.lng)")));
    QVERIFY(lines.at(20).endsWith(QStringLiteral("(*.jpg *.JPG)")));
}

QTEST_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
