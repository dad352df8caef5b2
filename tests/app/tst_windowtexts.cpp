#include "app/linkpanel.h"
#include "app/mainwindow.h"
#include "app/printdialog.h"
#include "fakeplatform.h"
#include "i18n/textfile.h"
#include "programfolder.h"

#include <QLabel>
#include <QTest>

// The windows in every shipped language.
class TestWindowTexts : public QObject
{
    Q_OBJECT
private slots:
    // Every caption of the main window and the print dialog shows whole in every shipped
    // language: no text wider than its control, no control past its window's edge.
    void captionsFit_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &file :
            QDir(QStringLiteral(KALMORA_SOURCE_DIR "/Lang")).entryList({ "*.lng" }))
            QTest::newRow(qPrintable(file)) << file;
    }
    void captionsFit()
    {
        QFETCH(QString, file);
        ProgramFolder program;
        program.write("Lang/options.ini", "1\r\n" + file.toUtf8() + "\r\n");
        FakePlatform platform(program.path());
        platform.printerSystem.names = QStringList { "P" };
        MainWindow form(platform, platform.printerSystem);
        form.startUp(QUrl());
        QStringList clipped;
        auto check = [&](QWidget *window) {
            for (QLabel *label : window->findChildren<QLabel *>()) {
                if (label->isHidden() || label->text().isEmpty())
                    continue;
                const QRect box = label->contentsRect();
                const int flags
                    = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
                const QRect inWindow(label->mapTo(window, QPoint()), label->size());
                const QRect needed = label->fontMetrics().boundingRect(box, flags, label->text());
                if (!box.contains(needed) || !window->rect().contains(inWindow))
                    clipped << QStringLiteral("%1 \"%2\": %3 px wide, needs %4")
                                   .arg(label->objectName(), label->text())
                                   .arg(box.width())
                                   .arg(needed.width());
            }
        };
        for (int format = 0; format < 5; ++format) {
            form.selectFormat(format);
            check(&form);
        }
        for (int link = 0; link < 4; ++link) {
            form.findChild<LinkPanel *>()->highlightLink(link); // bold under the pointer
            check(&form);
        }
        TextTable texts;
        texts.applyLines(readTextLines(program.langPath() + file).value());
        Printer printer(platform.printerSystem);
        PrintDialog dialog(platform, texts, printer, {});
        check(&dialog);
        clipped.removeDuplicates();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }
};

QTEST_MAIN(TestWindowTexts)
#include "tst_windowtexts.moc"
