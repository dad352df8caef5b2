#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "app/updateoffer.h"
#include "fakeplatform.h"
#include "programfolder.h"
#include "testhttpserver.h"
#include "web/links.h"
#include "widgets/controls.h"

#include <QAction>
#include <QTest>

class TestLinks : public QObject
{
    Q_OBJECT
private slots:
    void releaseNotesOnlyWhenTheFileIsThere()
    {
        QTemporaryDir top;
        const QString folder = top.path() + QStringLiteral("/Mes programmes #1 (åäö)");
        const QString notes = folder + QStringLiteral("/Versioni.txt");
        FakePlatform platform(folder);
        QVERIFY(QDir().mkpath(notes)); // a folder of that name
        QVERIFY(!openReleaseNotes(platform));
        QVERIFY(QDir().rmdir(notes)); // nothing of that name
        QVERIFY(!openReleaseNotes(platform));
        QVERIFY(QFile(notes).open(QIODevice::WriteOnly));
        QVERIFY(openReleaseNotes(platform));
        QCOMPARE(platform.opened, QList { QUrl::fromLocalFile(notes) });
        QVERIFY(platform.messages.isEmpty());
    }
    void windowOpensPages()
    {
        ProgramFolder program;
        FakePlatform platform(program.path());
        TestHttpServer server(TestHttpServer::answer("999000000"));
        platform.answers.enqueue(MessageBoxAnswer::Yes);
        MainWindow form(platform, platform.printerSystem);

        // A newer release accepted at start-up opens the program's page and ends the program.
        form.startUp(server.url());
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.opened, QList { webPageAddress(WebPage::Program) });
        QCOMPARE(platform.endCalls, 1);
        QVERIFY(!QGuiApplication::overrideCursor());

        platform.opened.clear();
        for (const char *name : { "addLanguageAction", "donateAction", "releaseNotesAction" })
            form.findChild<QAction *>(QString::fromLatin1(name))->trigger();
        QCOMPARE(platform.opened,
            (QList { webPageAddress(WebPage::Languages), webPageAddress(WebPage::Donate),
                QUrl::fromLocalFile(program.path() + QStringLiteral("/Versioni.txt")) }));
    }
    // Accepting the update offer at start-up ends the program before its main loop runs.
    void endingBeforeTheMainLoopStarts()
    {
        QtPlatform platform;
        platform.endProgram();
        // Hangs here (and the test times out) if the request to end were forgotten.
        QCOMPARE(QCoreApplication::exec(), 0);
    }
    // The panel's separators show at fractional scales, wherever they fall on the pixel grid.
    void separatorsAtAnyScale()
    {
        for (const qreal ratio : { 1.25, 1.5 }) {
            QWidget panel;
            for (const int y : { 1, 6, 11, 16 })
                (new ShapeWidget(ShapeWidget::Kind::HorizontalLine, &panel))
                    ->setGeometry(0, y, 9, 1);
            QImage image(QSize(20, 20) * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::white);
            panel.render(&image);
            int lines = 0;
            for (int y = 1; y < image.height(); ++y)
                lines
                    += image.pixel(0, y) == qRgb(0, 0, 0) && image.pixel(0, y - 1) != qRgb(0, 0, 0);
            QCOMPARE(lines, 4);
        }
    }
    // Only Yes opens the page.
    void question()
    {
        FakePlatform platform(QString {});
        platform.answers << MessageBoxAnswer::Yes << MessageBoxAnswer::No;
        TextTable texts;
        texts.setText(47, QStringLiteral("newer<BR>open?"));
        QVERIFY(askToOpenUpdatePage(platform, texts, nullptr));
        QVERIFY(!askToOpenUpdatePage(platform, texts, nullptr));
        QCOMPARE(platform.messages.value(1).text, QStringLiteral("newer\n\nopen?"));
        QCOMPARE(platform.messages.value(1).style,
            MessageBoxStyle::Information | MessageBoxStyle::YesNo);
    }
};

QTEST_MAIN(TestLinks)
#include "tst_links.moc"
