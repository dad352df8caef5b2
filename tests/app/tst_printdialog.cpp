#include "app/mainwindow.h"
#include "app/printdialog.h"
#include "fakeplatform.h"
#include "i18n/textfile.h"
#include "i18n/texttable.h"
#include "print/boundedprintersystem.h"
#include "print/cupsprintersystem.h"
#include "programfolder.h"
#include "testphotos.h"
#include "widgets/look.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocalServer>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

// One printer "P", the user's default, and a 35 x 45 mm photo to print on it.
struct OnePrinter
{
    OnePrinter()
    {
        platform.printerSystem.names = QStringList { "P" };
        platform.printerSystem.defaultName = "P";
    }
    PrintDialog *dialog() { return new PrintDialog(platform, texts, printer, source); }

    FakePlatform platform { QString {} };
    Printer printer { platform.printerSystem };
    TextTable texts;
    const PhotoSheetSource source { [] { return TestPhotos::quadrants(70, 90); },
        [] { return QSizeF(35, 45); } };
};

// The control that has the keyboard: an editable list's line counts as the list.
QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? (focus->objectName().isEmpty() ? focus->parentWidget() : focus)->objectName()
                 : QString();
}

// The printing system has answered: the printer list is filled and can be chosen from.
bool answered(const PrintDialog *dialog)
{
    return dialog->findChild<QWidget *>("printerBox")->isEnabled();
}

void clickPrint(PrintDialog *dialog)
{
    QTest::mouseClick(dialog->findChild<QWidget *>("printButton"), Qt::LeftButton, {}, { 5, 5 });
}

} // namespace

class TestPrintDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }

    // By keyboard alone: the dialog takes the keyboard, also from a window that took it while
    // the dialog loaded; Tab visits the printer, the orientation shown, the copies and the two
    // buttons; Space turns the page; Return prints what the dialog shows (the quality chosen
    // included), also from the printer list; Escape cancels and prints nothing.
    void keyboardAlone_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("turned");
        QTest::addColumn<bool>("printed");
        QTest::newRow("Return, the page turned") << int(Qt::Key_Return) << true << true;
        QTest::newRow("Return in the printer list") << int(Qt::Key_Return) << false << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << true << false;
    }
    void keyboardAlone()
    {
        QFETCH(int, key);
        QFETCH(bool, turned);
        QFETCH(bool, printed);
        OnePrinter one;
        QWidget before;
        before.show();
        QVERIFY(QTest::qWaitForWindowActive(&before));
        PhotoSheetSource source = one.source;
        source.photoCrop = [&before] {
            before.activateWindow();
            return TestPhotos::quadrants(70, 90);
        };
        QPointer<PrintDialog> dialog
            = new PrintDialog(one.platform, one.texts, one.printer, source);
        QTRY_VERIFY(answered(dialog));
        QTRY_COMPARE(QApplication::activeWindow(), dialog.data());
        QStringList visited;
        for (int tab = 0; tab < 5; ++tab) {
            visited << focusName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited,
            QStringList(
                { "printerBox", "landscapePicture", "copiesBox", "printButton", "cancelButton" }));
        QCOMPARE(focusName(), "printerBox");
        if (turned) {
            QWidget *landscape = dialog->findChild<QWidget *>("landscapePicture");
            landscape->setFocus();
            QTest::keyClick(landscape, Qt::Key_Space);
            QVERIFY(landscape->isHidden() && QApplication::focusWidget()->isVisible());
        }
        dialog->findChild<QComboBox *>("qualityBox")->setCurrentIndex(3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!dialog); // closed and deleted
        const QList<PrintDocument> &sent = one.platform.printerSystem.submitted;
        QCOMPARE(sent.size(), printed ? 1 : 0);
        QVERIFY(!printed
            || (sent[0].orientation
                    == (turned ? PrintOrientation::Portrait : PrintOrientation::Landscape)
                && sent[0].quality == PrintQuality::Draft));
    }

    // The job runs on a thread of its own: while the printing system takes its time the
    // dialog says it prints, takes no choice, and the window's thread goes on. Then it closes,
    // or says why nothing printed and stays as it was. Closed meanwhile, it goes out of sight
    // until the job has ended; deleted, as at the program's end, it leaves the job to end
    // unwatched.
    void printsOffTheWindowThread_data()
    {
        QTest::addColumn<QString>("end");
        for (const char *end : { "sent", "refused", "closed", "deleted" })
            QTest::newRow(end) << QString(end);
    }
    void printsOffTheWindowThread()
    {
        QFETCH(QString, end);
        OnePrinter one;
        QSemaphore gate, sent;
        one.platform.printerSystem.submitGate = &gate;
        one.platform.printerSystem.submitSent = &sent;
        if (end == "refused")
            one.platform.printerSystem.submitFailure
                = PrinterFailure(PrinterFailure::Reason::SystemError, {}, "paper jam", 5);
        QPointer<PrintDialog> dialog = one.dialog();
        const QString caption = dialog->windowTitle();
        QTRY_VERIFY(answered(dialog));
        clickPrint(dialog);
        QCOMPARE(dialog->windowTitle(), one.texts.text(TextId::Printing));
        for (const char *name : { "printerBox", "copiesBox", "printButton", "cancelButton" })
            QVERIFY2(!dialog->findChild<QWidget *>(name)->isEnabled(), name);
        bool free = false;
        QTimer::singleShot(0, [&free] { free = true; });
        QTRY_VERIFY(free);
        QTest::keyClick(dialog, Qt::Key_Escape); // as Cancel, it waits for the job
        QVERIFY(dialog->isVisible() && dialog->isPrinting());
        if (end == "closed") {
            dialog->close();
            QVERIFY(dialog && !dialog->isVisible());
        } else if (end == "deleted") {
            delete dialog;
            QVERIFY(!QApplication::overrideCursor());
        }

        gate.release();
        if (end != "refused") {
            QVERIFY(sent.tryAcquire(1, 5000));
            QTRY_VERIFY(!dialog);
            QVERIFY(one.platform.messages.isEmpty());
            return;
        }
        QTRY_COMPARE(one.platform.messages.size(), 1);
        QCOMPARE(one.platform.messages[0].text,
            one.texts.text(TextId::PrintFailed)
                + QStringLiteral("the printing system reports an error (paper jam)"));
        QCOMPARE(one.platform.messages[0].title, one.texts.text(TextId::MessageTitle));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), caption);
        QVERIFY(dialog->findChild<QWidget *>("printButton")->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        delete dialog;
    }

    // A name typed that no queue has prints nowhere and says so, in the user's language.
    void unknownPrinterTyped()
    {
        OnePrinter one;
        one.texts.applyLines(readTextLines(KALMORA_SOURCE_DIR "/Lang/deutsch.lng").value());
        std::unique_ptr<PrintDialog> dialog(one.dialog());
        QTRY_VERIFY(answered(dialog.get()));
        dialog->findChild<QComboBox *>("printerBox")->setEditText("Q");
        clickPrint(dialog.get());
        QVERIFY(!dialog->isPrinting());
        QCOMPARE(one.platform.messages.value(0).text,
            "Drucken fehlgeschlagen: kein Drucker hei\u00DFt \u201EQ\u201C");
    }

    // The printers are asked off the window's thread: the dialog shows and the thread goes on
    // while the printing system takes its time; the list fills when it answers.
    void asksOffTheWindowThread()
    {
        OnePrinter one;
        QSemaphore gate;
        one.platform.printerSystem.listGate = &gate;
        QPointer<PrintDialog> dialog = one.dialog();
        bool free = false;
        QTimer::singleShot(0, [&free] { free = true; });
        QTRY_VERIFY(free);
        const auto *printers = dialog->findChild<QComboBox *>("printerBox");
        QVERIFY(dialog->isVisible() && !answered(dialog) && printers->count() == 0);
        gate.release();
        QTRY_VERIFY(answered(dialog));
        QCOMPARE(printers->currentText(), "P");
        delete dialog;
    }

    // A printing server that takes connections and never answers: the window comes up at once;
    // without a photo Print only says so; with one, the print dialog says within seconds, in
    // the user's words, that nothing can print, and offers the export instead.
    void silentServer()
    {
        ProgramFolder program;
        QLocalServer silent;
        QVERIFY(silent.listen(program.path() + QStringLiteral("/cups.sock")));
        qputenv("CUPS_SERVER", QFile::encodeName(silent.fullServerName()));
        BoundedPrinterSystem printers(std::make_shared<CupsPrinterSystem>(),
            std::chrono::seconds(3), std::chrono::seconds(3));
        FakePlatform platform(program.path());
        QElapsedTimer clock;
        clock.start();
        MainWindow form(platform, printers);
        form.startUp(QUrl());
        QVERIFY(form.isVisible() && clock.elapsed() < 1000);
        QAction *print = form.findChild<QAction *>(QStringLiteral("printAction"));
        print->trigger();
        QVERIFY(!form.printDialog());
        QCOMPARE(platform.messages.value(0).text, form.text(TextId::NothingToPrint));
        platform.messages.clear();

        const QString photo = program.path() + QStringLiteral("/photo.jpg");
        QVERIFY(TestPhotos::writeFile(
            photo, TestPhotos::encodeJpeg(TestPhotos::quadrants(1400, 2000), 90)));
        form.openPhoto(photo);
        QTRY_VERIFY(form.isPhotoLoaded());
        form.document().photo()->waitUntilComplete();
        clock.restart();
        print->trigger();
        QPointer<PrintDialog> dialog = form.printDialog();
        QVERIFY(dialog->isVisible() && clock.elapsed() < 1000);
        QTRY_VERIFY_WITH_TIMEOUT(answered(dialog), 10000);
        QVERIFY(platform.messages.isEmpty());
        QCOMPARE(dialog->findChild<QLabel *>("silenceNote")->text(),
            form.text(TextId::PrintingSystemSilent));
        QVERIFY(!dialog->findChild<QWidget *>("printButton")->isEnabled());
        QTest::keyClick(dialog, Qt::Key_Return);
        QVERIFY(platform.messages.isEmpty() && dialog->isVisible() && !dialog->isPrinting());

        const QString sheet = program.path() + QStringLiteral("/sheet.jpg");
        platform.dialogAnswers.enqueue(QStringList { sheet });
        QTest::mouseClick(dialog->findChild<QWidget *>("exportInsteadButton"), Qt::LeftButton);
        QVERIFY(!dialog || !dialog->isVisible());
        QCOMPARE(QImage(sheet).size(), QSize(1772, 1181));
        qunsetenv("CUPS_SERVER");
    }
};

QTEST_MAIN(TestPrintDialog)
#include "tst_printdialog.moc"
