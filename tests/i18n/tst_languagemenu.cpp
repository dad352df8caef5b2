#include "app/form1.h"
#include "fakeplatform.h"
#include "i18n/languagemenu.h"
#include "programfolder.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

QString menuTitle(Form1 &form, const char *name)
{
    return form.findChild<QMenu *>(QString::fromLatin1(name))->title();
}

void chooseLanguage(Form1 &form, FakePlatform &platform, const QString &path)
{
    platform.dialogAnswers.enqueue(QStringList { path });
    form.findChild<QAction *>(QStringLiteral("mnuLang"))->trigger();
}

QStringList optionsLines(const ProgramFolder &program)
{
    return QString::fromUtf8(program.read(QStringLiteral("Lang/options.ini")))
        .split(QStringLiteral("\r\n"));
}

} // namespace

class TestLanguageMenu : public QObject
{
    Q_OBJECT
private slots:
    void nameFromPath_data();
    void nameFromPath();
    void dialogRequest();
    void switchesAtOnceAndAfterRestart();
    void keepsFormatAndFolder();
    void subFolder();
    void cancelChangesNothing();
    void unusableChoice_data();
    void unusableChoice();
    void otherProgramsFolderWithKnownName();
};

void TestLanguageMenu::nameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name"); // "<none>": the language stays
    const QString none = QStringLiteral("<none>");
    QTest::newRow("own Lang folder") << "/opt/kalmora/Lang/deutsch.lng"
                                     << "deutsch.lng";
    QTest::newRow("sub-folder") << "/opt/kalmora/Lang/extra/deutsch.lng"
                                << "extra/deutsch.lng";
    QTest::newRow("two levels") << "/opt/kalmora/Lang/a/b/x.lng"
                                << "a/b/x.lng";
    QTest::newRow("last Lang wins") << "/home/u/other/Lang/sub/Lang/it.lng"
                                    << "it.lng";
    QTest::newRow("Lang/Lang") << "/opt/Lang/Lang/x.lng"
                               << "x.lng";
    QTest::newRow("other program's Lang") << "/usr/share/other/Lang/francais.lng"
                                          << "francais.lng";
    QTest::newRow("lower case") << "/opt/kalmora/lang/deutsch.lng" << none;
    QTest::newRow("upper case") << "/opt/kalmora/LANG/deutsch.lng" << none;
    QTest::newRow("longer folder name") << "/opt/kalmora/Language/deutsch.lng" << none;
    QTest::newRow("name ending in Lang") << "/opt/MyLang/deutsch.lng" << none;
    QTest::newRow("file called Lang") << "/opt/kalmora/Lang" << none;
    QTest::newRow("bare name") << "deutsch.lng" << none;
    QTest::newRow("Lang folder itself") << "/opt/kalmora/Lang/"
                                        << "";
    QTest::newRow("non-ASCII") << QStringLiteral("/home/åsa/Lang/svenska språket.lng")
                               << QStringLiteral("svenska språket.lng");
}

void TestLanguageMenu::nameFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(languageFileFromPath(path).value_or(QStringLiteral("<none>")), name);
}

void TestLanguageMenu::dialogRequest()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>(QStringLiteral("mnuLang"))->trigger();

    QCOMPARE(platform.dialogs.size(), 1);
    const FileDialogRequest &request = platform.dialogs.first();
    QVERIFY(request.openDialog);
    QCOMPARE(request.initialDir, program.langPath());
    QCOMPARE(request.filter, QStringLiteral("Language files (*.lng)"));
    QCOMPARE(request.filterIndex, 1);
    QCOMPARE(request.defaultExt, QStringLiteral("*.lng"));
    QCOMPARE(request.fileName, QStringLiteral("*.lng"));
    QCOMPARE(request.dialogTitle, QStringLiteral("Choose a language file"));
    QCOMPARE(request.owner, &form);
    QCOMPARE(request.flags, 0u);
}

void TestLanguageMenu::switchesAtOnceAndAfterRestart()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    {
        Form1 form(platform);
        QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("&File"));
        chooseLanguage(form, platform, program.langPath() + "deutsch.lng");

        QCOMPARE(form.settings().LanguageFileName, QStringLiteral("deutsch.lng"));
        QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("&Datei"));
        QCOMPARE(menuTitle(form, "mnuGuida"), QStringLiteral("&Hilfe"));
        QCOMPARE(form.findChild<QAction *>(QStringLiteral("mnuLang"))->text(),
            QStringLiteral("&Sprache..."));
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
            QStringLiteral("Foto hierher ziehen"));
        QCOMPARE(optionsLines(program).value(1), QStringLiteral("deutsch.lng"));
        // The next dialog already speaks the new language.
        form.findChild<QAction *>(QStringLiteral("mnuLang"))->trigger();
        QCOMPARE(platform.dialogs.last().dialogTitle, QStringLiteral("Sprachdatei auswählen"));
    }
    Form1 restarted(platform);
    QCOMPARE(restarted.settings().LanguageFileName, QStringLiteral("deutsch.lng"));
    QCOMPARE(menuTitle(restarted, "mnuFile"), QStringLiteral("&Datei"));
}

void TestLanguageMenu::keepsFormatAndFolder()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.settings().LastPhotoFolder = QStringLiteral("/home/u/photos/");
    form.SelectFormat(4);
    chooseLanguage(form, platform, program.langPath() + "italiano.lng");

    QCOMPARE(form.selectedFormat(), 4);
    QCOMPARE(optionsLines(program).mid(0, 4),
        (QStringList { "1", "italiano.lng", "4", "/home/u/photos/" }));
    // The fifth format keeps its own note under the new language.
    QCOMPARE(form.findChild<QLabel *>(QStringLiteral("Label4"))->text(), form.text(45));
}

void TestLanguageMenu::subFolder()
{
    ProgramFolder program;
    QVERIFY(QDir().mkpath(program.langPath() + "extra"));
    program.write(QStringLiteral("Lang/extra/mine.lng"), ProgramFolder::languageFile(60, "Mine"));
    FakePlatform platform(program.path());
    Form1 form(platform);
    chooseLanguage(form, platform, program.langPath() + "extra/mine.lng");

    QCOMPARE(form.settings().LanguageFileName, QStringLiteral("extra/mine.lng"));
    QCOMPARE(optionsLines(program).value(1), QStringLiteral("extra/mine.lng"));
    QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("Mine 3"));

    Form1 restarted(platform);
    QCOMPARE(menuTitle(restarted, "mnuFile"), QStringLiteral("Mine 3"));
}

void TestLanguageMenu::cancelChangesNothing()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    platform.dialogAnswers.enqueue(std::nullopt);
    form.findChild<QAction *>(QStringLiteral("mnuLang"))->trigger();

    QCOMPARE(platform.dialogs.size(), 1);
    QCOMPARE(form.settings().LanguageFileName, QStringLiteral("english.lng"));
    QVERIFY2(!QFile::exists(program.optionsPath()), "a cancelled choice writes nothing");
    QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("&File"));
}

void TestLanguageMenu::unusableChoice_data()
{
    QTest::addColumn<QString>("relativePath"); // below the program folder, or absolute
    QTest::newRow("outside Lang") << "elsewhere/deutsch.lng";
    QTest::newRow("folder named lang") << "lang/deutsch.lng";
    QTest::newRow("not in our Lang") << "/usr/share/other/Lang/klingon.lng";
    QTest::newRow("a folder, not a file") << "Lang/broken.lng";
    QTest::newRow("Lang folder itself") << "Lang/";
}

void TestLanguageMenu::unusableChoice()
{
    QFETCH(QString, relativePath);
    ProgramFolder program;
    QVERIFY(QDir().mkpath(program.path() + "/elsewhere"));
    QVERIFY(QDir().mkpath(program.path() + "/lang"));
    QVERIFY(QDir().mkpath(program.langPath() + "broken.lng"));
    program.write(QStringLiteral("elsewhere/deutsch.lng"), program.read("Lang/deutsch.lng"));
    program.write(QStringLiteral("lang/deutsch.lng"), program.read("Lang/deutsch.lng"));
    FakePlatform platform(program.path());
    Form1 form(platform);
    chooseLanguage(form, platform, program.langPath() + "francais.lng");
    QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("&Fichier"));

    const QString path
        = relativePath.startsWith(u'/') ? relativePath : program.path() + u'/' + relativePath;
    QFile::remove(program.optionsPath());
    chooseLanguage(form, platform, path);

    QCOMPARE(form.settings().LanguageFileName, QStringLiteral("francais.lng"));
    QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("&Fichier"));
    QVERIFY2(QFile::exists(program.optionsPath()), "the settings are written all the same");
    QCOMPARE(optionsLines(program).value(1), QStringLiteral("francais.lng"));
    QVERIFY(platform.messages.isEmpty());

    Form1 restarted(platform);
    QCOMPARE(menuTitle(restarted, "mnuFile"), QStringLiteral("&Fichier"));
}

void TestLanguageMenu::otherProgramsFolderWithKnownName()
{
    ProgramFolder program;
    QTemporaryDir other;
    QVERIFY(QDir().mkpath(other.path() + "/Lang"));
    // The other program's file says something else; ours is the one loaded.
    QFile file(other.path() + "/Lang/deutsch.lng");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ProgramFolder::languageFile(60, "Other"));
    file.close();
    FakePlatform platform(program.path());
    Form1 form(platform);
    chooseLanguage(form, platform, other.path() + "/Lang/deutsch.lng");

    QCOMPARE(form.settings().LanguageFileName, QStringLiteral("deutsch.lng"));
    QCOMPARE(menuTitle(form, "mnuFile"), QStringLiteral("&Datei"));
}

QTEST_MAIN(TestLanguageMenu)
#include "tst_languagemenu.moc"
