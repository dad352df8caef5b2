#include "app/qtplatform.h"
#include "fakeplatform.h"
#include "platform/filedialog.h"

#include <QDir>

#include <QTest>

class TestFileDialog : public QObject
{
    Q_OBJECT
private slots:
    // What the dialog is shown (it opens in the current folder) and what the caller gets back.
    void showFileDialog_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("answer"); // empty: cancelled
        QTest::addColumn<QString>("shownName");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::addColumn<QString>("result");
        const QStringList two { "/p/a.jpg", "/p/b.jpg" };
        const QString nul(QChar(u'\0'));
        QTest::newRow("cancelled; Qt's filters")
            << "*.lng" << 0u << "A (*.a);;B (*.b)" << QStringList() << "*.lng"
            << QStringList { "A (*.a)", "B (*.b)" } << "";
        const QString pairs = QString::fromUtf16(u"Photos\0*.jpg;*.JPG\0All\0*.*\0\0", 28);
        QTest::newRow("long name cut; NUL pairs")
            << QString(300, u'n') << 0u << pairs << two << QString(256, u'n')
            << QStringList { "Photos (*.jpg *.JPG)", "All (*.*)" } << two[0];
        QTest::newRow("cut at NUL; bar pairs")
            << "ab" + nul + "c" << 0u << "Languages|*.lng|Other"
            << QStringList { "/p/x" + nul + "y" } << "ab"
            << QStringList { "Languages (*.lng)", "Other" } << "/p/x";
        QTest::newRow("several joined by NUL") << "" << FileDialogAllowMultiSelect << "" << two
                                               << "" << QStringList() << two.join(nul);
    }
    void showFileDialog()
    {
        QFETCH(QString, fileName);
        QFETCH(quint32, flags);
        QFETCH(QString, filter);
        QFETCH(QStringList, answer);
        QFETCH(QString, shownName);
        QFETCH(QStringList, nameFilters);
        QFETCH(QString, result);
        FakePlatform platform("/opt/k");
        platform.workingDirectory = "/cwd";
        if (!answer.isEmpty())
            platform.dialogAnswers.enqueue(answer);
        FileDialogRequest request;
        request.fileName = fileName;
        request.flags = flags;
        request.filter = filter;
        QCOMPARE(::showFileDialog(platform, request), result);
        const FileDialogRequest shown = platform.dialogs.value(0);
        QCOMPARE(shown.initialDir, "/cwd");
        QCOMPARE(shown.fileName, shownName);
        QCOMPARE(qtNameFilters(shown.filter), nameFilters);
    }
    // A relative XDG_CONFIG_HOME is ignored, as the XDG rules ask.
    void relativeConfigHome()
    {
        qputenv("XDG_CONFIG_HOME", "relative/config");
        QCOMPARE(QtPlatform().userConfigFolder(),
            QDir::homePath() + "/.config/" + QCoreApplication::applicationName());
        qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
