#include "fakeplatform.h"
#include "i18n/languagefiles.h"
#include "i18n/qttranslation.h"
#include "i18n/settings.h"
#include "i18n/textfile.h"
#include "programfolder.h"

#include <QKeySequence>
#include <QRegularExpression>
#include <QStringDecoder>

#include <csignal>
#include <map>
#include <sys/resource.h>

// Language files, the text table, options.ini and the language menu, on a real disk.
class TestLanguageFiles : public QObject
{
    Q_OBJECT
private slots:
    // Every row is read over a table filled from a 60-line file whose line k is "NN old k".
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lone LF is text") << QByteArray("01 a\n02 b\r\n03 c") << 1 << "a\n02 b";
        QTest::newRow("CR LF, lone CR, empty lines") << QByteArray("\r\n\r\r\n04 x") << 4 << "x";
        QTest::newRow("short line keeps entry") << QByteArray("01\r\n") << 1 << "old 1";
        QTest::newRow("garbage line keeps entry") << "01 " + QByteArray(1022, 'x') << 1 << "old 1";
        QTest::newRow("UTF-8") << QByteArray("01 \xC3\xB6l") << 1 << "öl";
        QTest::newRow("Windows-1252") << QByteArray("01 \xE7\x80\x93\x94\x81") << 1 << "ç€“”\uFFFD";
        // From line 100 on the prefix is three digits with no blank: the blank is text.
        QTest::newRow("line 100") << ProgramFolder::languageFile(120, "new") << 100 << " new 100";
        QTest::newRow("line 150") << ProgramFolder::languageFile(160, "new") << 150 << " new 150";
        QTest::newRow("line 200") << ProgramFolder::languageFile(201, "new") << 200 << " new 200";
        QTest::newRow("line 201 ignored") << ProgramFolder::languageFile(201, "new") << 201 << "";
        QTest::newRow("later kept") << ProgramFolder::languageFile(50, "new") << 51 << "old 51";
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entry);
        QFETCH(QString, expected);
        TextTable table;
        table.applyLines(splitLines(decodeText(ProgramFolder::languageFile(60, "old"))));
        table.applyLines(splitLines(decodeText(bytes)));
        QCOMPARE(table.text(entry), expected);
    }
    // English stands in for a line no file has given from line 50 on, where the files of the
    // first versions end; an earlier line, or one a file leaves empty, shows as it stands.
    void linesAFileLacks()
    {
        TextTable table;
        table.applyLines(splitLines(decodeText(ProgramFolder::languageFile(10, "old"))));
        QCOMPARE(table.text(TextId::MessageTitle), QString());
        QVERIFY(table.text(TextId::PhotoTooLarge).contains("32767"));
        QVERIFY(table.text(TextId::FaceTooSmallToMeasure).contains("too small to measure"));
        table.applyLines(splitLines(decodeText(ProgramFolder::languageFile(50, "new") + "51 ")));
        QCOMPARE(table.text(TextId::PhotoTooLarge), QString());
    }

    // UTF-8, as many lines as English ended by CR LF, each with its prefix ("01 ", "99 ", "100",
    // "101"); a BOM, a lone LF or a blank after a three-digit prefix breaks those. Each line has
    // English's values (%1 ...), and a text where English has one.
    void shippedFiles_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList names = QDir(KALMORA_SOURCE_DIR "/Lang").entryList({ "*.lng" });
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << name;
    }
    void shippedFiles()
    {
        QFETCH(QString, name);
        const auto linesOf = [&](const QString &name) -> std::optional<QStringList> {
            // A BOM stays a character, so line 1 lacks its prefix.
            QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
            QFile file(KALMORA_SOURCE_DIR "/Lang/" + name);
            const QString text = utf8.decode(file.open(QIODevice::ReadOnly) ? file.readAll() : "");
            if (utf8.hasError())
                return std::nullopt;
            return splitLines(text);
        };
        const QStringList english = linesOf("english.lng").value_or(QStringList());
        QVERIFY(english.size() > 100 && english.size() <= TextTable::LastEntry);
        QCOMPARE(QDir(KALMORA_SOURCE_DIR "/Lang").entryList({ "*.lng" }).size(), 9);
        const std::optional<QStringList> read = linesOf(name);
        QVERIFY(read && read->size() == english.size());
        const QStringList &lines = *read;
        static const QRegularExpression value(QStringLiteral("%\\d"));
        const auto values = [](const QString &line) {
            QStringList found;
            for (const QRegularExpressionMatch &match : value.globalMatch(line))
                found += match.captured();
            found.sort();
            return std::pair(found, line.count(u'%'));
        };
        for (int k = 1; k <= lines.size(); ++k) {
            const QString prefix = QStringLiteral("%1 ").arg(k, 2, 10, QChar(u'0')).left(3);
            const QString &line = lines[k - 1];
            QVERIFY2(line.startsWith(prefix) && !line.mid(prefix.size()).startsWith(u' '),
                qPrintable(line));
            const QString text = line.mid(prefix.size());
            const QString englishText = english[k - 1].mid(prefix.size());
            QVERIFY2(values(text) == values(englishText)
                    && (englishText.isEmpty() || !text.trimmed().isEmpty()),
                qPrintable(line));
        }
        // The menus of src/app/mainmenu.cpp by their lines: the bar, File, Options (Undo and Redo
        // with the step after them), Options > Background, "?". Within one, no two items share an
        // access key.
        using enum TextId;
        const std::initializer_list<std::initializer_list<TextId>> menus { { FileMenu, OptionsMenu,
                                                                               Donate, HelpMenu },
            { OpenPhoto, ExportMenu, OnlineCopyMenu, PrintPhoto, Exit },
            { Language, AddLanguage, FormatMenu, DocumentMenu, CustomSizeMenu, BackgroundMenu, Undo,
                Redo, ResetFit, FitToFace, StraightenHead, AutoFaceFit },
            { BackgroundAsShot, BackgroundToWhite, BackgroundToLightGrey, BackgroundToDocument },
            { ReleaseNotes, CheckUpdate, Info } };
        for (const auto &menu : menus) {
            std::map<int, TextId> keys;
            for (TextId id : menu) {
                const QString text = lines[int(id) - 1].mid(TextTable::PrefixLength);
                const int key = QKeySequence::mnemonic(text)[0].toCombined();
                const auto [other, added] = keys.emplace(key, id);
                // English keeps E for both Export and Exit, as its first versions had them.
                const bool kept
                    = name == "english.lng" && other->second == ExportMenu && id == Exit;
                QVERIFY2(key == 0 || added || kept, qPrintable(text));
            }
        }
    }

    // Each text the program names is the English line it means: a shifted number fails.
    void textIdsNameTheirLines()
    {
        TextTable english;
        english.applyLines(readTextLines(ProgramFolder().langPath() + "english.lng").value());
        using enum TextId;
        const std::initializer_list<std::pair<TextId, const char *>> words {
            { Description, "home" }, { FileMenu, "File" }, { OpenPhoto, "Open" },
            { PrintPhoto, "Print" }, { Exit, "Exit" }, { Donate, "Donate" }, { HelpMenu, "Help" },
            { ReleaseNotes, "Release" }, { Info, "Info" }, { AboutTitle, "About" },
            { DropPhotoHere, "Drag" }, { PhotoTooSmall, "too small" }, { MessageTitle, "Kalmora" },
            { NothingToPrint, "before printing" }, { HomePage, "Home" }, { Language, "Language" },
            { LanguageDialogTitle, "Choose" }, { LanguageFilter, "*.lng" },
            { PhotoFilter, "*.jpg" }, { PhotoDialogTitle, "Open a photo" }, { Tagline, "identity" },
            { OptionsMenu, "Options" }, { AddLanguage, "Add" }, { CheckUpdate, "updates" },
            { DonateHint, "donation" }, { Cancel, "Cancel" }, { Printer, "Printer" },
            { Orientation, "Orientation" }, { Quality, "Quality" }, { Copies, "Copies" },
            { Print, "Print" }, { ExportDialogTitle, "Save the sheet" },
            { FileExists, "already exists" }, { ReplaceQuestion, "replace" },
            { SheetSaved, "has been saved" }, { SheetNotSavedAs, "could not be saved" },
            { ExportFinished, "finished" }, { ExportFailed, "failed" },
            { NoteSmallPage, "10 x 15" }, { NoteLargePage, "13 x 18" }, { UpdateTitle, "Update" },
            { UpdateQuestion, "newer version" }, { ExportMenu, "Export" },
            { NothingToExport, "before exporting" }, { NotAPhoto, "could not be read" },
            { PhotoTooLarge, "32767" }, { PrintFailed, "Printing failed" },
            { SheetNotWritten, "could not be written" }, { QualityHigh, "High" },
            { QualityMedium, "Medium" }, { QualityLow, "Low" }, { QualityDraft, "Draft" },
            { Printing, "Printing..." }, { NoPrinter, "no printer" }, { TooManyCopies, "999" },
            { NoPhotoToPrint, "no photo" }, { ResetFit, "Reset" }, { Undo, "Undo" },
            { FitToFace, "Fit to the face" }, { AutoFaceFit, "automatically" },
            { NoSingleFace, "No single face" }, { ResolutionNote, "dpi" },
            { SettingsNotSaved, "settings" }, { UnknownPaper, "not known" },
            { AreaLargerThanPaper, "larger than its paper" }, { NoCopyFits, "not one photo" },
            { PrintingSystemSilent, "does not answer" }, { ExportInstead, "JPEG" },
            { FormatMenu, "rmat" }, { ChecksPassed, "checks passed" }, { HeadTilted, "tilted" },
            { FaceTooDark, "face is too dark" }, { FaceTooBright, "too bright" },
            { FaceLitFromOneSide, "one side" }, { FaceNearEdge, "close to the edge" },
            { StraightenHead, "traighten" }, { FaceTurned, "aside" },
            { OnlineCopyMenu, "nline application" }, { OnlineCopySize, "Width x height" },
            { OnlineCopyLimitUnreachable, "cannot be reached" },
            { PhotoSaved, "photo has been saved" },
            { PhotoNotWritten, "photo could not be written" }, { Redo, "Re&do" },
            { ZoomStep, "zoom" }, { MoveStep, "move" }, { ResetStep, "reset" },
            { FitToFaceStep, "fit to the face" }, { StraightenStep, "straightening" },
            { HeadMarkStep, "head mark" }, { HairTopMark, "Top of the hair" },
            { CrownMark, "Top of the skull" }, { HeadTopNotFound, "could not be found" },
            { HeadTurned, "turned by" }, { HeadRaised, "raised" }, { HeadLowered, "lowered" },
            { MouthOpen, "mouth is open" }, { TeethShowing, "teeth" },
            { EyesLookClosed, "of their width" }, { BackgroundUneven, "varies" },
            { BackgroundDarkMeasured, "brightness" }, { BackgroundColoured, "coloured" },
            { HeadToCrown, "chin to the top of the skull" },
            { HeadToHair, "chin to the top of the hair" }, { CrownPlace, "below the top edge" },
            { EyeLinePlace, "above the bottom edge" }, { NoRoomAboveHead, "room above" },
            { OnlineCopyOwnPixels, "pixels of its own" }, { OnlineCopyEnlarged, "enlarged" },
            { OnlineCopyLimitKB, "1000 bytes" }, { ColourProfileUnusable, "colour profile" },
            { FaceTooSmallToMeasure, "too small to measure" }, { DocumentMenu, "Docu&ment" },
            { DocumentDialogTitle, "Choose the document" },
            { DocumentFilterHint, "Type a country" }, { CountryColumn, "Country" },
            { DocumentColumn, "Document" }, { SizeColumn, "Size" }, { HeadColumn, "Head" },
            { BackgroundColumn, "Background" }, { PassportKindName, "passport" },
            { VisaKindName, "visa" }, { IdCardKindName, "ID card" },
            { DrivingLicenceKindName, "driving" }, { OnlineKindName, "online" },
            { SourceLabel, "Source" }, { RulesAsOf, "Rules as of" }, { CustomSizeMenu, "Cu&stom" },
            { WidthLabel, "Width" }, { HeightLabel, "Height" }, { HeadRangeFrom, "chin to crown" },
            { HeadToCrownRule, "to the crown" }, { HeadToHairRule, "to the top of the hair" },
            { PrintsTaken, "photos are taken" }, { NoPrintsTaken, "No printed" },
            { FilePixelsWide, "pixels wide" }, { FileAtMostKb, "at most" },
            { FileAtLeastKb, "at least" }, { NoPrintsOfferOnlineCopy, "takes no printed" },
            { CustomSizeRefused, "10 to 300" }, { BackgroundWhiteForbidden, "not be white" },
            { CustomSizeTitle, "Custom size" }, { NoDocumentMatches, "No document matches" },
            { ChooseDocument, "Choose" }, { OnlineCopyUnderLowerLimit, "Even at the best" },
            { SeveralFaces, "%1 faces found" }, { BackgroundMenu, "&Background" },
            { BackgroundAsShot, "&As shot" }, { BackgroundToWhite, "&White" },
            { BackgroundToLightGrey, "&grey" }, { BackgroundToDocument, "colour" },
            { ReplacementNotPlain, "varies by" }, { ReplacementLikePerson, "too close" },
            { ReplacementTooLittleWall, "too little" }, { ReplacementNoFace, "no single face" },
            { NoRoomWallNotPlain, "continued (by" }, { NoRoomHairAtEdge, "hair reaches" },
            { NoRoomWallLikeHair, "hair's colour" }, { PhotoExtended, "hatched" },
            { BackgroundStep, "background" }, { NoRoomAroundHead, "around the head" },
            { PrinterStopped, "is stopped" }, { PrintingSystemError, "reports an error" },
            { PrintServerSilent, "at %1 does not" }, { PrintingNotAnswered, "within %1 s" },
            { PrintingNotAnsweredJobMayPrint, "may still" }, { NoPrinterNamed, "is named" },
            { NoTemporaryPrintFile, "temporary" }, { NoPaperSize, "no paper size" },
            { PhotosBeyondPrintableArea, "photos reach" }, { PageLayoutRefused, "layout" },
            { PageNotWritten, "written to" }, { OnlineCopySizeWritten, "Size written" }
        };
        // Too short to be told apart by a part of it.
        QCOMPARE(english.text(HeadRangeTo), "to");
        for (const auto &[id, word] : words)
            QVERIFY2(english.text(id).contains(QLatin1String(word)), word);
    }

    // The start-up's reading of options.ini (null: there is none) and the locale.
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("format"); // -1: no usable number
        const auto row
            = [](const char *name, QByteArray options, QString locale, QString language,
                  int format) { QTest::newRow(name) << options << locale << language << format; };
        row("complete", "1\r\nsv.lng\r\n3\r\n/home/u/\r\n", "de", "sv.lng", 3);
        row("stored name not checked", "1\r\ngone.lng\r\n70000", "de", "gone.lng", -1);
        row("blank name, padded number", "1\r\n  \r\n 7 ", "de", "deutsch.lng", 7);
        row("damaged", "\xFF\r\n\x80\x81\r\n\xFF\r\n", "de", "€\uFFFD", -1);
        row("a line over 4 KiB", "1\r\n" + QByteArray(5000, 'a') + "\r\n3\r\n", "de", "deutsch.lng",
            -1);
        row("no file, id is Indonesian", {}, "id", "indonesian.lng", -1);
        row("a name out of the folder", "1\r\nx/../../etc/passwd\r\n3", "de", "deutsch.lng", 3);
        row("absolute", "1\r\n/etc/passwd\r\n3", "de", "deutsch.lng", 3);
        row("a sub-folder", "1\r\nextra/my.lng\r\n3", "de", "extra/my.lng", 3);
        row("over 256 KB", "1\r\nsv.lng\r\n3" + QByteArray(256 * 1024, '\r'), "de", "deutsch.lng",
            -1);
        row("no file, mapped but missing", {}, "it", "english.lng", -1);
    }
    void startUp()
    {
        QFETCH(QByteArray, options);
        QFETCH(QString, locale);
        QFETCH(QString, language);
        QFETCH(int, format);
        ProgramFolder program;
        QVERIFY(QFile::remove(program.langPath() + "italiano.lng"));
        if (!options.isNull())
            program.write("Lang/options.ini", options);
        Settings settings(program.path());
        QCOMPARE(settings.restore().value_or(-1), format);
        if (!settings.hasLanguage())
            settings.setLanguageFileName(LanguageFiles(program.path()).fileForLocale(locale));
        QCOMPARE(settings.languageFileName(), language);
    }

    // An installed copy: shipped files in the data folder, the user's own files and settings
    // in the user's folder, Qt's own texts in the chosen language.
    void installedCopy()
    {
        const ProgramFolder program;
        const QString bin = program.install();
        QDir().mkpath(program.path() + "/user/Lang");
        program.write("user/Lang/mine.lng", ProgramFolder::languageFile(100, "mine"));
        QCOMPARE(
            Settings(bin, program.path() + "/user").path(), program.path() + "/user/options.ini");
        LanguageFiles languages(bin, program.path() + "/user");
        QCOMPARE(languages.path("deutsch.lng"), program.path() + "/share/kalmora/Lang/deutsch.lng");
        QVERIFY(languages.load("mine.lng"));
        QCOMPARE(languages.texts().text(4), "mine 4");
        QtTranslation qt;
        QVERIFY(qt.apply("deutsch.lng", bin));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");
        QVERIFY(!qt.apply("english.lng", bin));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    }
    // A round trip, then failures: options.ini on a full disk and as a link, a language file
    // that cannot be read.
    // With no language file at all, the built-in English texts stand in.
    void withoutLangFolder()
    {
        const ProgramFolder program(false);
        QDir(program.langPath()).removeRecursively();
        LanguageFiles languages(program.path());
        QVERIFY(languages.load("english.lng"));
        QCOMPARE(languages.texts().text(TextId::MessageTitle), "Kalmora");
    }
    void failuresKeepWhatWasThere()
    {
        ProgramFolder program(false);
        Settings settings(program.path());
        settings.setLanguageFileName("français.lng");
        settings.setLastPhotoFolder("/home/åsa/");
        settings.setAutoFaceFit(false);
        QVERIFY(settings.save(4).written);
        const QByteArray saved = program.read("Lang/options.ini");
        QCOMPARE(saved, "1\r\nfrançais.lng\r\n4\r\n/home/åsa/\r\n0\r\n");
        // A disk that fills up mid-write (a file-size limit binds root too) keeps the file.
        settings.setLastPhotoFolder(QString(200, u'p'));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        rlimit tiny { 16, previous.rlim_max };
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const WriteResult written = settings.save(3);
        setrlimit(RLIMIT_FSIZE, &previous);
        QVERIFY(!written.written && !written.reason.isEmpty());
        QCOMPARE(program.read("Lang/options.ini"), saved);
        // options.ini as a link to another file: refused, nothing written through it.
        QVERIFY(QFile::rename(program.optionsPath(), program.path() + "/victim"));
        QVERIFY(QFile::link(program.path() + "/victim", program.optionsPath()));
        QVERIFY(!settings.save(2).written);
        QCOMPARE(program.read("victim"), saved);
        QVERIFY(QFile::remove(program.optionsPath())
            && QFile::rename(program.path() + "/victim", program.optionsPath()));
        settings.setAutoFaceFit(true);
        QCOMPARE(settings.restore().value_or(-1), 4);
        QVERIFY(!settings.autoFaceFit());

        program.write("Lang/english.lng", ProgramFolder::languageFile(20, "en"));
        program.write("Lang/deutsch.lng", ProgramFolder::languageFile(20, "de"));
        LanguageFiles languages(program.path());
        QVERIFY(languages.load("gone.lng")); // nothing read yet: English stands in
        QCOMPARE(languages.texts().text(3), "en 3");
        QVERIFY(languages.load("deutsch.lng"));
        // Later, a file that cannot be opened (or the Lang folder itself) keeps the present texts.
        program.write("Lang/big.lng", QByteArray(256 * 1024 + 1, '\r'));
        for (const char *name : { "gone.lng", "", "big.lng" }) {
            QVERIFY(!languages.load(name));
            QCOMPARE(languages.texts().text(3), "de 3");
        }
    }

    // The language dialog's answer, below the program folder; empty "stored": the language stays.
    void choice_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: cancelled
        QTest::addColumn<QString>("stored");
        const auto row = [](const char *name, QString chosen, QString stored) {
            QTest::newRow(name) << chosen << stored;
        };
        row("own Lang", "Lang/deutsch.lng", "deutsch.lng");
        row("sub-folder", "Lang/extra/mine.lng", "extra/mine.lng");
        row("a step back", "Lang/extra/../deutsch.lng", "");
        row("last Lang, ours has the name", "x/Lang/y/Lang/deutsch.lng", "deutsch.lng");
        row("ours has no such file", "x/Lang/klingon.lng", "");
        row("ends in Lang", "MyLang/deutsch.lng", "");
        row("cancelled", "", "");
    }
    void choice()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, stored);
        ProgramFolder program;
        QVERIFY(QDir().mkpath(program.langPath() + "extra"));
        program.write("Lang/extra/mine.lng", ProgramFolder::languageFile(5, "mine"));
        const LanguageFiles languages(program.path());
        const std::optional<QString> name = chosen.isEmpty()
            ? std::nullopt
            : languages.nameToStore(program.path() + '/' + chosen);
        QCOMPARE(name.value_or(QString()), stored);
    }
};

QTEST_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
