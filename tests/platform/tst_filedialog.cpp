#include "fakeplatform.h"
#include "platform/filedialog.h"
#include "platform/rounding.h"

#include <QTest>

class TestFileDialog : public QObject
{
    Q_OBJECT
private slots:
    void defaultsWhenEverythingIsOmitted();
    void callerValuesReachTheDialog();
    void longFileNameIsCut();
    void cancelGivesEmptyText();
    void multipleSelection();
    void stripAtNul_data();
    void stripAtNul();
    void addBackslash_data();
    void addBackslash();
    void nameFilters_data();
    void nameFilters();
    void rounding_data();
    void rounding();
};

void TestFileDialog::defaultsWhenEverythingIsOmitted()
{
    FakePlatform platform(QStringLiteral("/opt/kalmora"));
    platform.workingDirectory = QStringLiteral("/home/user/photos");
    platform.dialogAnswers.enqueue(QStringList{QStringLiteral("/home/user/photos/a.jpg")});

    QCOMPARE(ShowFileDialog(platform), QStringLiteral("/home/user/photos/a.jpg"));
    QCOMPARE(platform.dialogs.size(), 1);
    const FileDialogRequest &request = platform.dialogs.first();
    QCOMPARE(request.flags, 0u);
    QCOMPARE(request.initialDir, QStringLiteral("/home/user/photos"));
    QCOMPARE(request.filter, QString());
    QCOMPARE(request.filterIndex, 1);
    QCOMPARE(request.defaultExt, QString());
    QCOMPARE(request.fileName, QString());
    QCOMPARE(request.dialogTitle, QString());
    QCOMPARE(request.owner, nullptr);
    QVERIFY2(!request.openDialog, "omitting OpenDialog shows the save dialog");
}

void TestFileDialog::callerValuesReachTheDialog()
{
    FakePlatform platform(QStringLiteral("/opt/kalmora"));
    platform.dialogAnswers.enqueue(QStringList{QStringLiteral("/x/Lang/deutsch.lng")});
    QWidget owner;
    quint32 flags = 0;
    FileDialogOptions options;
    options.Flags = &flags;
    options.InitialDir = QStringLiteral("/opt/kalmora/Lang/");
    options.Filter = QStringLiteral("Language files (*.lng)");
    options.FilterIndex = 2;
    options.DefaultExt = QStringLiteral("*.lng");
    options.FileName = QStringLiteral("*.lng");
    options.DialogTitle = QStringLiteral("Choose a language");
    options.Owner = &owner;
    options.OpenDialog = true;

    QCOMPARE(ShowFileDialog(platform, options), QStringLiteral("/x/Lang/deutsch.lng"));
    const FileDialogRequest &request = platform.dialogs.first();
    QCOMPARE(request.initialDir, QStringLiteral("/opt/kalmora/Lang/"));
    QCOMPARE(request.filter, QStringLiteral("Language files (*.lng)"));
    QCOMPARE(request.filterIndex, 2);
    QCOMPARE(request.defaultExt, QStringLiteral("*.lng"));
    QCOMPARE(request.fileName, QStringLiteral("*.lng"));
    QCOMPARE(request.dialogTitle, QStringLiteral("Choose a language"));
    QCOMPARE(request.owner, &owner);
    QVERIFY(request.openDialog);
}

void TestFileDialog::longFileNameIsCut()
{
    FakePlatform platform(QStringLiteral("/opt/kalmora"));
    FileDialogOptions options;
    options.FileName = QString(300, u'n');
    ShowFileDialog(platform, options);
    QCOMPARE(platform.dialogs.first().fileName.size(), 256);
}

void TestFileDialog::cancelGivesEmptyText()
{
    FakePlatform platform(QStringLiteral("/opt/kalmora"));
    quint32 flags = 0x4;
    FileDialogOptions options;
    options.Flags = &flags;
    QCOMPARE(ShowFileDialog(platform, options), QString());
    QCOMPARE(flags, 0x4u);
}

void TestFileDialog::multipleSelection()
{
    FakePlatform platform(QStringLiteral("/opt/kalmora"));
    const QStringList chosen = {QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpg")};
    platform.dialogAnswers.enqueue(chosen);
    quint32 flags = FileDialogAllowMultiSelect;
    FileDialogOptions options;
    options.Flags = &flags;
    QCOMPARE(ShowFileDialog(platform, options).split(QChar(u'\0')), chosen);
    QCOMPARE(platform.dialogs.first().flags, FileDialogAllowMultiSelect);

    platform.dialogAnswers.enqueue(chosen);
    QCOMPARE(ShowFileDialog(platform), QStringLiteral("/p/a.jpg"));
}

void TestFileDialog::stripAtNul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no NUL") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("leading NUL") << QStringLiteral("\0abc") << QString();
    QTest::newRow("NUL inside") << QString::fromUtf16(u"ab\0c", 4) << QStringLiteral("ab");
    QTest::newRow("empty") << QString() << QString();
}

void TestFileDialog::stripAtNul()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StripAtNul(text), expected);
}

void TestFileDialog::addBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << QStringLiteral("/home/a") << QStringLiteral("/home/a/");
    QTest::newRow("present") << QStringLiteral("/home/a/") << QStringLiteral("/home/a/");
    QTest::newRow("empty") << QString() << QStringLiteral("/");
}

void TestFileDialog::addBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(AddBackslash(path), expected);
}

void TestFileDialog::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("qt form") << QStringLiteral("JPEG photos (*.jpg *.JPG)")
                             << QStringList{QStringLiteral("JPEG photos (*.jpg *.JPG)")};
    QTest::newRow("two qt filters") << QStringLiteral("A (*.a);;B (*.b)")
                                    << QStringList{QStringLiteral("A (*.a)"), QStringLiteral("B (*.b)")};
    QTest::newRow("NUL pairs") << QString::fromUtf16(u"Photos\0*.jpg;*.JPG\0All\0*.*\0\0", 28)
                               << QStringList{QStringLiteral("Photos (*.jpg *.JPG)"),
                                              QStringLiteral("All (*.*)")};
    QTest::newRow("bar pairs") << QStringLiteral("Languages|*.lng")
                               << QStringList{QStringLiteral("Languages (*.lng)")};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestFileDialog::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtNameFilters(filter), expected);
}

void TestFileDialog::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("fitsInt16");
    QTest::newRow("1285.5") << 1285.5 << 1286.0 << true;
    QTest::newRow("0.5") << 0.5 << 0.0 << true;
    QTest::newRow("1.5") << 1.5 << 2.0 << true;
    QTest::newRow("2.5") << 2.5 << 2.0 << true;
    QTest::newRow("-0.5") << -0.5 << 0.0 << true;
    QTest::newRow("-1.5") << -1.5 << -2.0 << true;
    QTest::newRow("32767.4") << 32767.4 << 32767.0 << true;
    QTest::newRow("32767.5") << 32767.5 << 32768.0 << false;
    QTest::newRow("-32768.5") << -32768.5 << -32768.0 << true;
    QTest::newRow("-32769") << -32769.0 << -32769.0 << false;
}

void TestFileDialog::rounding()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QFETCH(bool, fitsInt16);
    QCOMPARE(roundHalfEven(value), expected);
    const std::optional<int16_t> narrow = toInt16(value);
    QCOMPARE(narrow.has_value(), fitsInt16);
    if (narrow)
        QCOMPARE(double(*narrow), expected);
}

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
