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
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

namespace {

// A sibling drawn around other controls: its own captions stand inside it or on its top line.
bool isFrame(const QWidget *widget)
{
    const auto *frame = qobject_cast<const QFrame *>(widget);
    return qobject_cast<const ShapeWidget *>(widget) || qobject_cast<const QGroupBox *>(widget)
        || (frame && !qobject_cast<const QLabel *>(widget)
            && frame->frameShape() != QFrame::NoFrame);
}

// The texts of a window (labels, buttons, group titles; none under `scrolled`) that do not show
// whole, come within 2 px of its edge, or cross a sibling or touch a frame they are not inside.
// Only the edge is asked of captions cut short on purpose, with their whole controls.
void addClipped(
    QWidget *window, QStringList &clipped, bool edgesOnly = false, QWidget *scrolled = nullptr)
{
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(control);
        const auto *caption = qobject_cast<CaptionButton *>(control);
        const auto *button = qobject_cast<QAbstractButton *>(control);
        const auto *group = qobject_cast<QGroupBox *>(control);
        const QString text = label ? label->text()
            : button               ? button->text()
            : group                ? group->title()
                                   : QString();
        if (text.isEmpty() || !control->isVisibleTo(window)
            || (scrolled && scrolled->isAncestorOf(control)))
            continue;
        // Captions draw their text where they align it; other controls draw it in their frame.
        QRect shown = control->geometry();
        bool whole = control->width() >= control->minimumSizeHint().width();
        if (label || caption) {
            const QRect box = label ? label->contentsRect() : control->rect();
            const int flags = label
                ? int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)
                : int(caption->alignment());
            shown = control->fontMetrics().boundingRect(box, flags, text);
            whole = box.contains(shown);
            shown.translate(control->pos());
        }
        QWidget *parent = control->parentWidget();
        const QRect inWindow
            = (edgesOnly ? control->geometry() : shown).translated(parent->mapTo(window, QPoint()));
        const int margin = edgesOnly ? 0 : 2;
        QStringList faults;
        if (!edgesOnly && !whole)
            faults << QStringLiteral("cut");
        if (!window->rect().adjusted(margin, margin, -margin, -margin).contains(inWindow))
            faults << QStringLiteral("at the edge");
        for (QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (edgesOnly || sibling == control || !sibling->isVisibleTo(window))
                continue;
            // Drawn on a sibling it stands inside, or on its frame's top line.
            const QRect other = sibling->geometry();
            const int gap = isFrame(sibling) ? 1 : 0;
            if (shown.adjusted(-gap, -gap, gap, gap).intersects(other)
                && !other.adjusted(2, gap ? -shown.height() : 2, -2, -2).contains(shown))
                faults << QStringLiteral("over ") + sibling->objectName();
        }
        if (!faults.isEmpty())
            clipped << QStringLiteral("%1 \"%2\" (%3 x %4 px, needs %5 x %6): %7")
                           .arg(control->objectName(), text)
                           .arg(control->width())
                           .arg(control->height())
                           .arg(shown.width())
                           .arg(shown.height())
                           .arg(faults.join(u", "));
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

enum Dialog { OnlineCopy, Document, CustomSize, Print, About };

std::unique_ptr<QWidget> openDialog(
    int dialog, const TextTable &texts, FakePlatform &platform, Printer &printer)
{
    OnlineCopyQuestion question { texts.text(TextId::OnlineCopyMenu),
        texts.text(TextId::OnlineCopySize), texts.text(TextId::OnlineCopyLimitKB),
        texts.text(TextId::OnlineCopySizeWritten), texts.text(TextId::OnlineCopyOwnPixels),
        texts.text(TextId::OnlineCopyEnlarged), QSize(100, 100), { "1000", "240" },
        [](auto &) { return QSize(1000, 1000); } };
    std::unique_ptr<QWidget> window = dialog == OnlineCopy
        ? std::unique_ptr<QWidget>(new OnlineCopyDialog(question, nullptr))
        : dialog == Document ? std::make_unique<DocumentDialog>(
              QList<IdDocument> { formatDocument(1) }, texts, "en", platform, nullptr)
        : dialog == CustomSize ? std::make_unique<CustomSizeDialog>(texts, "en", nullptr)
        : dialog == Print
        ? std::make_unique<PrintDialog>(platform, texts, printer, PhotoSheetSource {})
        : std::unique_ptr<QWidget>(new AboutBox(platform, texts));
    window->show();
    return window;
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
        for (qsizetype i = 0; i < english.size(); ++i)
            if (!english[i].isEmpty() && english[i] != u"|" && translated[i] == english[i])
                untranslated << english[i];
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(", ")));
    }

    // Every text of every window shows whole in every shipped language, clear of its window's
    // edge, of the controls beside it and of the frames it does not belong to.
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
        for (int dialog = OnlineCopy; dialog <= About; ++dialog) {
            const std::unique_ptr<QWidget> window = openDialog(dialog, texts, platform, printer);
            addClipped(window.get(), clipped, false, window->findChild<QWidget *>("viewport"));
            for (CaptionButton *lifted : window->findChildren<CaptionButton *>()) {
                QTest::mouseMove(lifted); // raised under the pointer
                addClipped(window.get(), clipped);
            }
        }
        clipped.removeDuplicates();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }

    // A language file whose every line runs to 400 characters: each dialog still fits the
    // screen, with its buttons whole inside it.
    void dialogsFitTheScreen()
    {
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
        QStringList clipped;
        for (int dialog = OnlineCopy; dialog <= About; ++dialog) {
            const std::unique_ptr<QWidget> window = openDialog(dialog, texts, platform, printer);
            if (!window->screen()->availableGeometry().contains(window->frameGeometry()))
                clipped << QStringLiteral("%1 x %2").arg(window->width()).arg(window->height());
            // Captions at their design places may lose the end of an overlong text, never their
            // place; the About box scrolls its texts past its edges.
            if (dialog != About)
                addClipped(window.get(), clipped, dialog == Print);
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }
};

QTEST_MAIN(TestWindowTexts)
#include "tst_windowtexts.moc"
