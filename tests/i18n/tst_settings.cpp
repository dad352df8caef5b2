#include "i18n/languagesettings.h"
#include "programfolder.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void roundTrip();
    void firstStartFile();
    void languageMap_data();
    void languageMap();
    void localeChoice_data();
    void localeChoice();
    void unreadableLanguageFile();
    void failedSaveKeepsPreviousFile();
};

void TestSettings::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("language"); // "<none>" when the line is missing
    QTest::addColumn<int>("format"); // -1 when no usable number
    QTest::addColumn<QString>("folder");
    const QString none = QStringLiteral("<none>");
    QTest::newRow("complete") << QByteArray("1\r\ndeutsch.lng\r\n3\r\n/home/u/photos/\r\n")
                              << "deutsch.lng" << 3 << "/home/u/photos/";
    QTest::newRow("empty file") << QByteArray() << none << -1 << none;
    QTest::newRow("blank line 2") << QByteArray("1\r\n   \r\n2\r\n/p/\r\n") << "   " << 2 << "/p/";
    QTest::newRow("not a number") << QByteArray("1\r\nenglish.lng\r\nabc\r\n/p/\r\n")
                                  << "english.lng" << -1 << "/p/";
    QTest::newRow("outside 16 bits") << QByteArray("1\r\nenglish.lng\r\n70000\r\n\r\n")
                                     << "english.lng" << -1 << "";
    QTest::newRow("out of range kept for caller") << QByteArray("1\r\nenglish.lng\r\n7\r\n")
                                                  << "english.lng" << 7 << none;
    QTest::newRow("CR only") << QByteArray("1\rswedish.lng\r0\r\r") << "swedish.lng" << 0 << "";
    QTest::newRow("garbage") << QByteArray::fromRawData("\x01\xFF\x00\xFE\r\n\x80\x81\r\n\xFF", 11)
                             << QStringLiteral("\u20AC\uFFFD") << -1 << none;
    QTest::newRow("non-ASCII folder") << QByteArray("1\r\nenglish.lng\r\n1\r\n/home/\xC3\xA5sa/\r\n")
                                      << "english.lng" << 1 << QStringLiteral("/home/åsa/");
}

void TestSettings::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, language);
    QFETCH(int, format);
    QFETCH(QString, folder);
    ProgramFolder program(false);
    program.write(QStringLiteral("Lang/options.ini"), bytes);
    const std::optional<OptionsIni> options = LanguageSettings(program.path()).readOptions();
    QVERIFY(options);
    QCOMPARE(options->languageFileName.value_or(QStringLiteral("<none>")), language);
    QCOMPARE(options->formatIndex.value_or(-1), format);
    QCOMPARE(options->lastPhotoFolder.value_or(QStringLiteral("<none>")), folder);
}

void TestSettings::roundTrip()
{
    ProgramFolder program(false);
    LanguageSettings settings(program.path());
    QVERIFY(!settings.readOptions());
    settings.LanguageFileName = QStringLiteral("sub/français.lng");
    settings.LastPhotoFolder = QStringLiteral("/home/ünïcode/pics/");
    QVERIFY(settings.SaveSettings(4));
    const std::optional<OptionsIni> options = settings.readOptions();
    QVERIFY(options);
    QCOMPARE(*options->languageFileName, settings.LanguageFileName);
    QCOMPARE(*options->formatIndex, 4);
    QCOMPARE(*options->lastPhotoFolder, settings.LastPhotoFolder);
}

void TestSettings::firstStartFile()
{
    QCOMPARE(formatOptionsIni(QStringLiteral("english.lng"), 0, QString()),
             QByteArray("1\r\nenglish.lng\r\n0\r\n\r\n"));
}

void TestSettings::languageMap_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("stem");
    QTest::newRow("cs") << "cs" << "czech";
    QTest::newRow("de") << "de" << "deutsch";
    QTest::newRow("el") << "el" << "greek";
    QTest::newRow("fr") << "fr" << "francais";
    QTest::newRow("in") << "in" << "indonesian";
    QTest::newRow("id is Indonesian") << "id" << "indonesian";
    QTest::newRow("it") << "it" << "italiano";
    QTest::newRow("pt") << "pt" << "portugues";
    QTest::newRow("sv") << "sv" << "swedish";
    QTest::newRow("en has no entry") << "en" << "";
    QTest::newRow("es has no entry") << "es" << "";
    QTest::newRow("empty") << "" << "";
}

void TestSettings::languageMap()
{
    QFETCH(QString, code);
    QFETCH(QString, stem);
    QCOMPARE(LanguageMap(code), stem);
}

void TestSettings::localeChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("germanFilePresent");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("mapped and present") << "" << "de" << true << "deutsch.lng";
    QTest::newRow("mapped but missing") << "" << "de" << false << "english.lng";
    QTest::newRow("not mapped") << "" << "ja" << true << "english.lng";
    QTest::newRow("blanks only") << "  " << "de" << true << "deutsch.lng";
    QTest::newRow("stored name kept untested") << "gone.lng" << "de" << true << "gone.lng";
}

void TestSettings::localeChoice()
{
    QFETCH(QString, stored);
    QFETCH(QString, locale);
    QFETCH(bool, germanFilePresent);
    QFETCH(QString, chosen);
    ProgramFolder program(false);
    if (germanFilePresent)
        program.write(QStringLiteral("Lang/deutsch.lng"), ProgramFolder::languageFile(5, "de"));
    LanguageSettings settings(program.path());
    settings.LanguageFileName = stored;
    settings.chooseLanguageByLocale(locale);
    QCOMPARE(settings.LanguageFileName, chosen);
}

void TestSettings::unreadableLanguageFile()
{
    ProgramFolder program(false);
    program.write(QStringLiteral("Lang/english.lng"), ProgramFolder::languageFile(20, "en"));
    program.write(QStringLiteral("Lang/deutsch.lng"), ProgramFolder::languageFile(20, "de"));
    LanguageSettings settings(program.path());

    // Nothing read yet: English stands in, the chosen name stays.
    settings.LanguageFileName = QStringLiteral("gone.lng");
    QVERIFY(settings.loadTextTable());
    QCOMPARE(settings.textTable.text(3), QStringLiteral("en 3"));
    QCOMPARE(settings.LanguageFileName, QStringLiteral("gone.lng"));

    settings.LanguageFileName = QStringLiteral("deutsch.lng");
    QVERIFY(settings.loadTextTable());
    QCOMPARE(settings.textTable.text(3), QStringLiteral("de 3"));

    // Later, a file that cannot be opened keeps the present texts.
    settings.LanguageFileName = QStringLiteral("gone.lng");
    QVERIFY(!settings.loadTextTable());
    QCOMPARE(settings.textTable.text(3), QStringLiteral("de 3"));
    settings.LanguageFileName = QString(); // the Lang folder itself
    QVERIFY(!settings.loadTextTable());
}

void TestSettings::failedSaveKeepsPreviousFile()
{
    ProgramFolder program(false);
    LanguageSettings settings(program.path());
    settings.LanguageFileName = QStringLiteral("english.lng");
    QVERIFY(settings.SaveSettings(2));
    const QByteArray before = program.read(QStringLiteral("Lang/options.ini"));

    // A disk that fills up mid-write (a file-size limit binds root too) must not leave a
    // half-written options.ini behind.
    settings.LastPhotoFolder = QString(200, u'p');
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit tiny = previous;
    tiny.rlim_cur = 16;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool saved = settings.SaveSettings(3);
    setrlimit(RLIMIT_FSIZE, &previous);
    QVERIFY(!saved);
    QCOMPARE(program.read(QStringLiteral("Lang/options.ini")), before);

    // No Lang folder at all: nothing is written and nothing fails loudly.
    LanguageSettings elsewhere(program.path() + QStringLiteral("/missing"));
    QVERIFY(!elsewhere.SaveSettings(1));
    QVERIFY(!QFileInfo::exists(program.path() + QStringLiteral("/missing")));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
