#include "app/aboutbox.h"
#include "app/customsizedialog.h"
#include "app/documentdialog.h"
#include "app/linkpanel.h"
#include "app/mainwindow.h"
#include "app/onlinecopydialog.h"
#include "app/printdialog.h"
#include "fakeplatform.h"
#include "i18n/qttranslation.h"
#include "i18n/textfile.h"
#include "programfolder.h"
#include "widgets/controls.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

namespace {

// The labels of a window that stand past its edge or, unless only that is asked, whose text
// does not show whole.
void addClipped(QWidget *window, QStringList &clipped, bool edgesOnly = false)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->isHidden() || label->text().isEmpty())
            continue;
        const QRect box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect inWindow(label->mapTo(window, QPoint()), label->size());
        const QRect needed = label->fontMetrics().boundingRect(box, flags, label->text());
        if ((!edgesOnly && !box.contains(needed)) || !window->rect().contains(inWindow))
            clipped << QStringLiteral("%1 \"%2\": %3 x %4 px, needs %5 x %6")
                           .arg(label->objectName(), label->text())
                           .arg(box.width())
                           .arg(box.height())
                           .arg(needed.width())
                           .arg(needed.height());
    }
}

// What a user reads of Qt's own save dialog and of a Yes/No question: labels, buttons, tool
// tips and column headers.
QStringList qtDialogTexts()
{
    QFileDialog dialog;
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.show();
    QMessageBox question(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No);
    question.show();
    QStringList texts;
    for (QWidget *window : std::initializer_list<QWidget *> { &dialog, &question }) {
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
            texts << (button->isVisible() ? button->text() + u'|' + button->toolTip() : QString());
        for (QLabel *label : window->findChildren<QLabel *>())
            texts << (label->isVisible() ? label->text() : QString());
    }
    const auto *model = dialog.findChild<QFileSystemModel *>();
    for (int column = 0; model && column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts;
}

} // namespace

// The windows in every shipped language.
class TestWindowTexts : public QObject
{
    Q_OBJECT
private slots:
    // The languages Qt ships no translation for get ours: not one text of the dialogs stays
    // English.
    void qtTextsTranslated_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *language : { "greek", "indonesian", "swedish", "portugues" })
            QTest::newRow(language) << QString::fromLatin1(language) + ".lng";
    }
    void qtTextsTranslated()
    {
        QFETCH(QString, file);
        const QStringList english = qtDialogTexts();
        QtTranslation qt;
        QVERIFY(qt.apply(file, QStringLiteral(KALMORA_BINARY_DIR)));
        const QStringList translated = qtDialogTexts();
        QCOMPARE(translated.size(), english.size());
        QVERIFY(english.contains("Look in:") && english.contains("&Yes|"));
        QStringList untranslated;
        for (qsizetype i = 0; i < english.size(); ++i) {
            if (!english[i].isEmpty() && english[i] != u"|" && translated[i] == english[i])
                untranslated << english[i];
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(", ")));
    }

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
        for (int format = 0; format < 5; ++format) {
            form.selectFormat(format);
            addClipped(&form, clipped);
        }
        for (int link = 0; link < 4; ++link) {
            form.findChild<LinkPanel *>()->highlightLink(link); // bold under the pointer
            addClipped(&form, clipped);
        }
        TextTable texts;
        texts.applyLines(readTextLines(program.langPath() + file).value());
        Printer printer(platform.printerSystem);
        PrintDialog dialog(platform, texts, printer, {});
        addClipped(&dialog, clipped);
        clipped.removeDuplicates();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }

    // A language file whose every line runs to 400 characters: each dialog still fits the
    // screen, with its buttons whole inside it.
    void dialogsFitTheScreen_data()
    {
        QTest::addColumn<int>("dialog");
        int index = 0;
        for (const char *name : { "online copy", "document", "custom size", "print", "about" })
            QTest::newRow(name) << index++;
    }
    void dialogsFitTheScreen()
    {
        QFETCH(int, dialog);
        ProgramFolder program(false);
        QByteArray lines;
        for (int k = 1; k <= TextTable::LastEntry; ++k)
            lines += (QString::number(k).rightJustified(2, u'0').leftJustified(3)
                         + QStringLiteral("Word %1 ").arg(k).repeated(60))
                         .left(400)
                         .toUtf8()
                + "\r\n";
        program.write("Lang/long.lng", lines);
        TextTable texts;
        texts.applyLines(readTextLines(program.langPath() + "long.lng").value());
        FakePlatform platform(program.path());
        Printer printer(platform.printerSystem);
        OnlineCopyQuestion question { texts.text(TextId::OnlineCopyMenu),
            texts.text(TextId::OnlineCopySize), texts.text(TextId::OnlineCopyLimitKB),
            texts.text(TextId::OnlineCopySizeWritten), texts.text(TextId::OnlineCopyOwnPixels),
            texts.text(TextId::OnlineCopyEnlarged), QSize(100, 100), { "1000", "240" },
            [](auto &) { return QSize(1000, 1000); } };
        const QList<IdDocument> documents = { formatDocument(1) };
        const std::unique_ptr<QWidget> window = dialog == 0
            ? std::unique_ptr<QWidget>(new OnlineCopyDialog(question, nullptr))
            : dialog == 1
            ? std::make_unique<DocumentDialog>(documents, texts, "en", platform, nullptr)
            : dialog == 2 ? std::make_unique<CustomSizeDialog>(texts, "en", nullptr)
            : dialog == 3
            ? std::make_unique<PrintDialog>(platform, texts, printer, PhotoSheetSource {})
            : std::unique_ptr<QWidget>(new AboutBox(platform, texts));
        window->show();
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY2(screen.contains(window->frameGeometry()),
            qPrintable(QStringLiteral("%1 x %2").arg(window->width()).arg(window->height())));
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (!button->isVisibleTo(window.get()))
                continue;
            QVERIFY(window->rect().contains(
                QRect(button->mapTo(window.get(), QPoint()), button->size())));
            // Squeezed by its layout, not cut short as a caption button cuts its caption.
            QVERIFY(qobject_cast<CaptionButton *>(button)
                || button->width() >= button->minimumSizeHint().width());
        }
        QStringList clipped;
        // Captions at their design places may lose the end of an overlong text, never their
        // place; the About box scrolls its texts past its edges.
        if (dialog != 4)
            addClipped(window.get(), clipped, dialog == 3);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }
};

QTEST_MAIN(TestWindowTexts)
#include "tst_windowtexts.moc"
