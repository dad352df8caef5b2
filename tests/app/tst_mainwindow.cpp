#include "app/checknote.h"
#include "app/commandline.h"
#include "app/fitcontrols.h"
#include "app/formatband.h"
#include "app/mainwindow.h"
#include "app/photoframe.h"
#include "app/printdialog.h"
#include "fakeplatform.h"
#include "photo/cropcommands.h"
#include "photo/facefit.h"
#include "programfolder.h"
#include "testphotos.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QAction>
#include <QApplication>
#include <QColorSpace>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <QWheelEvent>
#include <turbojpeg.h>

#include <algorithm>
#include <future>
#include <thread>

namespace {

void drop(MainWindow &form, const QPoint &clientPos, const QList<QUrl> &urls)
{
    QMimeData data;
    if (!urls.isEmpty())
        data.setUrls(urls);
    else
        data.setText(QStringLiteral("no files here"));
    // As the desktop does it: the drop goes to the widget that accepted the drag.
    QDragEnterEvent enter(clientPos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.centralWidget(), &enter);
    QDropEvent event(QPointF(clientPos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.centralWidget(), &event);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_form.reset();
        m_program = std::make_unique<ProgramFolder>();
        m_platform = std::make_unique<FakePlatform>(m_program->path());
        m_form = std::make_unique<MainWindow>(*m_platform, m_platform->printerSystem);
    }
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("fileTitle");
        QTest::addColumn<QString>("note");
        QTest::newRow("first start in German") << QByteArray() << "de" << 1 << "&Datei"
                                               << "Mindestgröße der Seite: 10 x 15 cm";
        QTest::newRow("stored 2 x 2 in")
            << QByteArray("1\r\nenglish.lng\r\n4\r\n/p/\r\n") << "de" << 4 << "&File"
            << "Minimum size page: 13 x 18 cm";
    }
    void startUp()
    {
        QFETCH(QByteArray, options);
        QFETCH(QString, locale);
        QFETCH(int, format);
        QFETCH(QString, fileTitle);
        QFETCH(QString, note);
        QVERIFY2(!m_form->isVisible(), "constructing the window starts nothing");
        QVERIFY(!QFile::exists(m_program->optionsPath()));
        if (!options.isEmpty())
            m_program->write(QStringLiteral("Lang/options.ini"), options);
        m_platform->locale = locale;

        m_form->startUp(QUrl());
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->selectedFormat(), format);
        QCOMPARE(m_form->findChild<QMenu *>("fileMenu")->title(), fileTitle);
        QCOMPARE(label("noteLabel")->text(), note);
        QVERIFY(m_platform->messages.isEmpty());
        QVERIFY(widget("dropLabel")->isVisible() && !widget("zoomInButton")->isVisible());
        // Only a stored format is selected, and selecting it writes options.ini again.
        const bool restored = format != 1;
        QCOMPARE(label(qPrintable(QStringLiteral("formatCaption%1").arg(format)))->font().bold(),
            restored);
        QCOMPARE(QFile::exists(m_program->optionsPath()), !options.isEmpty());
        if (restored)
            QVERIFY(m_program->read(QStringLiteral("Lang/options.ini"))
                        .startsWith("1\r\n" + m_form->settings().languageFileName().toUtf8()
                            + "\r\n" + QByteArray::number(format) + "\r\n"));
        // A format's caption chooses it as its option does.
        QLabel *caption = label("formatCaption2");
        QCOMPARE(caption->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(caption, Qt::LeftButton);
        QCOMPARE(m_form->selectedFormat(), 2);
    }
    void openFitAndAdjust()
    {
        // Proportionally wider than the frame: its height limits the centred fit.
        const QString path = photo("portrait.jpg", TestPhotos::quadrants(1000, 1200));
        m_form->startUp(QUrl());
        m_platform->dialogAnswers.enqueue(QStringList { path });
        const QStringList needPhoto
            = { "onlineCopyAction", "resetFitAction", "fitFaceAction", "straightenAction" };
        for (const QString &name : needPhoto + QStringList { "undoAction", "redoAction" })
            QVERIFY2(!m_form->findChild<QAction *>(name)->isEnabled(), qPrintable(name));
        QVERIFY(m_form->findChild<QAction *>("printAction")->isEnabled());
        m_form->findChild<QAction *>("openAction")->trigger();
        settle();
        QVERIFY(m_platform->dialogs.last().openDialog);
        QCOMPARE(m_platform->dialogs.last().filter,
            m_form->text(TextId::PhotoFilter).chopped(1)
                + " *.png *.webp *.heic *.heif *.PNG *.WEBP *.HEIC *.HEIF)");
        for (const QString &name : needPhoto.first(2))
            QVERIFY2(m_form->findChild<QAction *>(name)->isEnabled(), qPrintable(name));
        QCOMPARE(m_form->settings().lastPhotoFolder(), m_program->path() + u'/');
        QVERIFY(showsPhoto());
        QCOMPARE(m_form->document().shown().rect(), QRect(34, 0, 932, 1200));
        QCOMPARE(framePicture().size(), QSize(233, 300)); // the design frame: 3495 x 4500 twips

        const QImage fitted = framePicture();
        QTest::mouseClick(widget("zoomInButton"), Qt::LeftButton);
        QCOMPARE(m_form->findChild<QAction *>("undoAction")->text(), "&Undo zoom");
        QTest::mouseClick(widget("moveLeftButton"), Qt::LeftButton);
        QVERIFY(framePicture() != fitted);
        QCOMPARE(m_form->document().shown().rect(), m_form->document().cropSource().rect.toRect());

        QTest::keyClick(m_form.get(), Qt::Key_4, Qt::ControlModifier); // 50 x 50 mm fits afresh
        QVERIFY(m_form->findChild<QAction *>("formatAction3")->isChecked());
        QCOMPARE(m_form->document().shown().rect(), QRect(0, 100, 1000, 1000));
        QCOMPARE(framePicture().size(), QSize(333, 333));
        QVERIFY(showsPhoto());
        // The chosen format clicked again keeps the user's fit and its undo.
        QTest::mouseClick(widget("moveUpButton"), Qt::LeftButton);
        const CropRect moved = m_form->document().cropSource().rect;
        QTest::mouseClick(widget("formatButton3"), Qt::LeftButton);
        QCOMPARE(m_form->document().cropSource().rect, moved);
        QVERIFY(!m_form->document().untouched());
    }
    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextId>("text");
        QTest::addColumn<QString>("name");
        const QImage picture = TestPhotos::quadrants(300, 400);
        const QByteArray good = TestPhotos::encodeJpeg(picture);
        QTest::newRow("empty") << QByteArray() << TextId::NotAPhoto << "bad.jpg";
        QTest::newRow("over 32767 pixels")
            << TestPhotos::withClaimedSize(good, 40000, 800) << TextId::PhotoTooLarge << "bad.jpg";
        QTest::newRow("too small for the frame")
            << TestPhotos::encodeJpeg(TestPhotos::quadrants(232, 310)) << TextId::PhotoTooSmall
            << "bad.jpg";
        const QByteArray heic = TestPhotos::encodeHeic(picture);
        QTest::newRow("HEIC cut short")
            << heic.left(heic.size() / 2) << TextId::NotAPhoto << "bad.heic";
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextId, text);
        QFETCH(QString, name);
        m_form->startUp(QUrl());
        openWhole(photo("first.jpg", TestPhotos::quadrants(900, 1200)));
        QTest::mouseClick(widget("zoomInButton"), Qt::LeftButton);
        const QImage before = framePicture();
        const QRect rect = m_form->document().cropSource().rect.toRect();

        const QString path = m_program->path() + u'/' + name;
        QVERIFY(TestPhotos::writeFile(path, bytes));
        QDialog waiting(m_form.get()); // told once the user is done with it
        waiting.setModal(true);
        waiting.show();
        open(path);
        QVERIFY(m_platform->messages.isEmpty());
        waiting.close();
        QTRY_COMPARE(m_platform->messages.size(), 1);
        QCOMPARE(m_platform->messages.first().text, m_form->text(text));
        QCOMPARE(m_platform->messages.first().title, m_form->text(TextId::MessageTitle));
        QCOMPARE(m_form->document().cropSource().rect.toRect(), rect);
        QCOMPARE(framePicture(), before);
        QVERIFY(showsPhoto());
    }
    void drops()
    {
        const QString a = photo("a.jpg", TestPhotos::quadrants(900, 1200));
        const QString b = photo("b.jpg", TestPhotos::quadrants(1200, 1600));
        drop(*m_form, QPoint(560, 420), {}); // no file list
        drop(*m_form, widget("openLink")->geometry().center(), { QUrl::fromLocalFile(a) });
        QVERIFY2(!m_form->document().isBusy(), "links take no drops");
        drop(*m_form, widget("dropLabel")->geometry().center(),
            { QUrl::fromLocalFile(a), QUrl::fromLocalFile(b) });
        settle();
        QCOMPARE(m_form->document().cropSource().width(), 900);
        drop(*m_form, widget("photoFrame")->geometry().center(), { QUrl::fromLocalFile(b) });
        settle();
        QCOMPARE(m_form->document().cropSource().width(), 1200);
        drop(*m_form, QPoint(560, 420), { QUrl::fromLocalFile(a) }); // the background
        settle();
        QCOMPARE(m_form->document().cropSource().width(), 900);
    }
    void linksRunTheMenuCommands()
    {
        m_form->startUp(QUrl());
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        // The link under the pointer is bold and widens to the right; the background dims it.
        QLabel *open = label("openLink");
        const int width = open->width();
        QTest::mouseMove(widget("openLinkIcon"));
        QTRY_VERIFY(open->font().bold());
        QVERIFY(open->width() > width && open->x() == 7470 / 15);
        QTest::mouseMove(m_form->centralWidget(), QPoint(100, 440));
        QTRY_VERIFY(!open->font().bold());
        QCOMPARE(open->width(), width);
        // The About box hides the window: clicked last.
        const QList<std::pair<const char *, const char *>> links = { { "openLink", "openAction" },
            { "printLinkIcon", "printAction" }, { "aboutLink", "aboutAction" } };
        for (const auto &[link, command] : links) {
            QSignalSpy spy(m_form->findChild<QAction *>(command), &QAction::triggered);
            QTest::mouseClick(widget(link), Qt::LeftButton);
            QCOMPARE(spy.size(), 1);
        }
        // Language lines show as they stand in the window and in the About box, never as HTML.
        QCOMPARE(QApplication::topLevelWidgets().size() > 1, true); // the About box is open
        for (QWidget *window : QApplication::topLevelWidgets())
            for (QLabel *label : window->findChildren<QLabel *>())
                QCOMPARE(label->textFormat(), Qt::PlainText);
        m_form->findChild<QAction *>("exitAction")->trigger();
        QCOMPARE(m_platform->endCalls, 1);
    }

    // Keys (also with a format option focused), a drag and the wheel end where the same
    // commands end; undo and reset come back from the menu; a new language keeps the fit.
    void directControlActsAsTheButtons()
    {
        const QString path = photo("p.jpg", TestPhotos::quadrants(1000, 1500));
        m_form->startUp(QUrl());
        open(path);
        const QRect fresh = m_form->document().shown().rect();
        PhotoDocument twin;
        twin.setFrame(m_form->document().frame());
        twin.load(path);
        widget("formatButton2")->setFocus();
        for (Qt::Key key : { Qt::Key_Up, Qt::Key_Plus, Qt::Key_Left, Qt::Key_Left })
            QTest::keyClick(widget("formatButton2"), key);
        auto *frame = static_cast<PhotoFrame *>(widget("photoFrame"));
        const CropRect beforeDrag = m_form->document().cropSource().rect;
        const QPointF from(50, 50);
        const QPointF to
            = from + QPointF(2.5 * m_form->document().panStepOn(frame->size()).width(), 0);
        for (auto [type, at] : { std::pair { QEvent::MouseButtonPress, from },
                 { QEvent::MouseMove, to }, { QEvent::MouseButtonRelease, to } }) {
            QMouseEvent event(type, at, frame->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
            QCoreApplication::sendEvent(frame, &event);
        }
        QWheelEvent wheel(from, frame->mapToGlobal(from), {}, { 0, -120 }, Qt::NoButton, {},
            Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(frame, &wheel);
        using enum PhotoCommand;
        for (PhotoCommand command : { Up, ZoomIn, Left, Left, Right, Right, ZoomOut })
            twin.run(command);
        QCOMPARE(m_form->selectedFormat(), 1);
        QCOMPARE(m_form->document().cropSource().rect, twin.cropSource().rect);
        QCOMPARE(m_form->document().panStepsX(), twin.panStepsX());
        QCOMPARE(frame->clip().rect(), twin.shown().rect());

        // The wheel's notch, then the whole drag, each one step back.
        for (int step = 0; step < 2; ++step)
            m_form->findChild<QAction *>("undoAction")->trigger();
        QCOMPARE(m_form->document().cropSource().rect, beforeDrag);
        const QRect fit = frame->clip().rect();
        const int16_t panX = m_form->document().panStepsX();
        m_platform->dialogAnswers.enqueue(QStringList { m_program->langPath() + "deutsch.lng" });
        m_form->findChild<QAction *>("languageAction")->trigger();
        QCOMPARE(m_form->findChild<QMenu *>("fileMenu")->title(), "&Datei");
        // Figures follow the chosen language, not the system's.
        QVERIFY(CheckNote::lines({ { PhotoCheck::HeadTilted, 19.9 } }, TextTable())[0].contains(
            "19,9"));
        QCOMPARE(frame->clip().rect(), fit);
        QCOMPARE(m_form->document().panStepsX(), panX);
        m_form->findChild<QAction *>("resetFitAction")->trigger();
        QCOMPARE(frame->clip().rect(), fresh);
        // The centred fit takes the photo's whole width: a move right is refused, and shown.
        QCOMPARE(frame->refusedEdges(), Qt::Edges());
        QTest::keyClick(widget("formatButton2"), Qt::Key_Right);
        QCOMPARE(frame->clip().rect(), fresh);
        QCOMPARE(frame->refusedEdges(), Qt::LeftEdge);
        QTRY_COMPARE(frame->refusedEdges(), Qt::Edges());
    }

    // A held "+" repeats until its own key is let go, also when Shift goes first and the key
    // comes up as "=", with or without scan codes; another key, Ctrl+0, a focus change or a
    // menu ends it too.
    void heldKeyStops_data()
    {
        QTest::addColumn<QString>("stop");
        QTest::addColumn<quint32>("scanCode");
        QTest::newRow("Shift let go first, no scan codes") << "shift first" << 0u;
        for (const char *stop : { "shift first", "other key", "Ctrl+0", "focus", "menu" })
            QTest::newRow(stop) << stop << 21u;
    }
    void heldKeyStops()
    {
        QFETCH(QString, stop);
        QFETCH(quint32, scanCode);
        m_form->startUp(QUrl());
        open(photo("p.jpg", TestPhotos::quadrants(3000, 4000)));
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        widget("formatButton1")->setFocus();
        QSignalSpy commands(m_form->findChild<FitControls *>(), &FitControls::command);
        auto key = [](QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scan) {
            QKeyEvent event(type, key, modifiers, scan, 0, 0);
            QApplication::sendEvent(QApplication::focusWidget(), &event);
        };
        key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 50);
        key(QEvent::KeyPress, Qt::Key_Plus, Qt::ShiftModifier, scanCode);
        QTRY_VERIFY(commands.size() > 2);
        QCOMPARE(m_form->document().undoStack()->count(), 1); // the repeats join one step
        if (stop == "shift first") {
            key(QEvent::KeyRelease, Qt::Key_Shift, {}, 50);
            key(QEvent::KeyRelease, Qt::Key_Equal, {}, scanCode);
        } else if (stop == "other key") {
            key(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, 38);
        } else if (stop == "Ctrl+0") {
            QTest::keyClick(widget("formatButton1"), Qt::Key_0, Qt::ControlModifier);
        } else if (stop == "focus") {
            widget("formatButton3")->setFocus();
        } else {
            m_form->findChild<QMenu *>("optionsMenu")->popup(QPoint());
        }
        const qsizetype stopped = commands.size();
        QTest::qWait(3 * CommandRepeat::IntervalMs + 20);
        QCOMPARE(commands.size(), stopped);
    }

    // With a photo there, Left and Right still go from menu to menu.
    void menusByKeyboard()
    {
        m_form->startUp(QUrl());
        open(photo("p.jpg", TestPhotos::quadrants(3000, 4000)));
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        const CropRect fitted = m_form->document().cropSource().rect;
        QTest::keyClick(m_form->menuBar(), Qt::Key_Alt);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(m_form->menuBar()->activeAction(),
            m_form->findChild<QMenu *>("optionsMenu")->menuAction());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(m_form->document().cropSource().rect, fitted);
    }

    // A crop that prints under 300 dpi is named in the note with its figure, or among the
    // checks' failures once there are checks, never beside a green "passed". 35 mm at 300 dpi
    // take 413 pixels.
    void resolutionNote()
    {
        m_form->startUp(QUrl());
        QLabel *note = label("noteLabel");
        for (const auto &[width, dpi] :
            { std::pair(300, 218), std::pair(412, 299), std::pair(413, 300) }) {
            open(photo("small.jpg", TestPhotos::quadrants(width, 560)));
            const QString warning = m_form->text(TextId::ResolutionNote).arg(dpi);
            // Without a face there are no checks: the note keeps it.
            QVERIFY2(note->text().contains(warning) == (dpi < 300), qPrintable(note->text()));
        }
        // A photo that passes every check but prints soft is not passed.
        auto *checkNote = m_form->findChild<CheckNote *>();
        checkNote->display({}, 299);
        QVERIFY(checkNote->text().contains(m_form->text(TextId::ResolutionNote).arg(299)));
        QVERIFY(!checkNote->text().contains(m_form->text(TextId::ChecksPassed)));
        QVERIFY(textColour(checkNote).green() < 200);
    }

    // A colour profile that cannot be used is named beside the frame, until a photo whose
    // profile can be comes.
    void colourProfileNote()
    {
        m_form->startUp(QUrl());
        const QByteArray jpeg = TestPhotos::encodeJpeg(TestPhotos::quadrants(300, 400));
        const QString path = m_program->path() + QStringLiteral("/profile.jpg");
        const QString warning = m_form->text(TextId::ColourProfileUnusable);
        for (const auto &[icc, unusable] : { std::pair(QByteArray(500, 'x'), true),
                 std::pair(QColorSpace(QColorSpace::AdobeRgb).iccProfile(), false) }) {
            QVERIFY(TestPhotos::writeFile(path, TestPhotos::withIccProfile(jpeg, icc)));
            open(path);
            QCOMPARE(label("noteLabel")->text().contains(warning), unusable);
        }
    }

    // A portrait is fitted to the face once the search ends, without a click; undo goes back
    // to the centred fit, another format fits by its own rule. Switched off (line 5 of
    // options.ini), a photo stays centred until asked; without a face the note says so.
    void faceFit()
    {
        QImage scene(2400, 3200, QImage::Format_RGB32);
        scene.fill(QColor(200, 200, 190));
        QPainter(&scene).drawImage(
            700, 500, QImage(KALMORA_SOURCE_DIR "/tests/data/astronaut.jpg").scaled(1800, 1800));
        const QString path = photo("face.jpg", scene);
        m_form->startUp(QUrl());
        const PhotoDocument &document = m_form->document();
        auto rect = [&] { return document.cropSource().rect; };
        auto trigger = [&](const char *name) { m_form->findChild<QAction *>(name)->trigger(); };
        open(path);
        const CropRect centred = rect();
        QTRY_VERIFY_WITH_TIMEOUT(document.faceSearch(), 20000);
        // The portrait's head leans 3 degrees: the fit levels it.
        const Turn turn = levellingTurn(*document.faceSearch()->face);
        const FaceMarks face = document.faceSearch()->face->turned(turn);
        QCOMPARE(rect(), *faceCrop(2400, 3200, 3495, 4500, face, PhotoFormats[1].faceRule, turn));
        // The fitted photo is checked: the portrait smiles with its teeth showing.
        QTRY_VERIFY(label("checkNote")->text().contains(m_form->text(TextId::TeethShowing)));
        QCOMPARE(static_cast<PhotoFrame *>(widget("photoFrame"))->clip().rect(), rect().toRect());
        // Her mottled backdrop and the flag are no plain wall: white is refused, said so, and
        // "As shot" stays the choice.
        QVERIFY(m_form->findChild<QMenu *>("backgroundMenu")->isEnabled());
        trigger("wallAction1");
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->messages.first().text.startsWith(
            m_form->text(TextId::ReplacementNotPlain).section(u':', 0, 0)));
        QVERIFY(m_form->findChild<QAction *>("wallAction0")->isChecked());
        QCOMPARE(document.wall(), WallChoice::AsShot);
        m_platform->messages.clear();
        trigger("undoAction");
        QCOMPARE(rect(), centred);
        // A head fitted by the rule fills the oval: as high as the head the rule measures,
        // centred on it; where the rule places the top, the top at the oval's.
        auto fillsOval = [&](const FaceRule &rule) {
            const QRect oval
                = widget("faceOval")->geometry().translated(-widget("photoFrame")->pos());
            const double scale = widget("photoFrame")->height() / double(rect().height);
            if (rule.anchor == FaceRule::Anchor::Crown)
                QVERIFY(std::abs(oval.top() - (face.top(rule.top) - rect().top) * scale) <= 3);
            QVERIFY(std::abs(oval.height() - face.head(rule.top) * scale) <= 3);
            QVERIFY(std::abs(oval.center().x() - (face.centreX - rect().left) * scale) <= 3);
        };
        trigger("fitFaceAction");
        fillsOval(PhotoFormats[1].faceRule);
        QTest::mouseClick(widget("formatButton4"), Qt::LeftButton);
        QCOMPARE(rect(), *faceCrop(2400, 3200, 5080, 5080, face, PhotoFormats[4].faceRule, turn));
        fillsOval(PhotoFormats[4].faceRule);
        // The guides mark the eye-line band, 31-44 % from the top, at both edges.
        const QImage shown = widget("photoFrame")->grab().toImage();
        auto orange = [](const QColor &c) { return c.red() > 220 && c.blue() < 80; };
        for (const auto &[y, marked] : { std::pair(0.375, true), { 0.2, false }, { 0.6, false } })
            for (int x : { 2, shown.width() - 3 })
                QCOMPARE(orange(shown.pixelColor(x, int(y * shown.height()))), marked);

        trigger("autoFaceFitAction");
        QVERIFY(m_program->read("Lang/options.ini").endsWith("\r\n0\r\n"));
        open(path);
        QTRY_VERIFY_WITH_TIMEOUT(document.faceSearch(), 60000);
        QCOMPARE(rect(), *centreCrop(2400, 3200, 5080, 5080));
        trigger("fitFaceAction");
        QCOMPARE(rect(), *faceCrop(2400, 3200, 5080, 5080, face, PhotoFormats[4].faceRule, turn));
        QVERIFY(!label("noteLabel")->text().contains(m_form->text(TextId::NoSingleFace)));

        open(photo("none.jpg", TestPhotos::quadrants(2400, 3200)));
        trigger("fitFaceAction"); // asked during the search: done when it ends
        // No face: every closer search runs first (seconds under the sanitizers).
        QTRY_VERIFY_WITH_TIMEOUT(
            label("noteLabel")->text().contains(m_form->text(TextId::NoSingleFace)), 60000);
        QVERIFY(!label("checkNote")->isVisible());
        QCOMPARE(rect(), *centreCrop(2400, 3200, 5080, 5080));
    }

    // When the photo's own pixels arrive, the frame is drawn from them at once.
    void frameSharpWhenDecoded()
    {
        m_form->startUp(QUrl());
        TestPhotos::DecodeHold hold;
        open(photo("q.jpg", TestPhotos::quadrants(1000, 1200)));
        QTest::mouseClick(widget("zoomInButton"), Qt::LeftButton);
        const QImage soft = static_cast<PhotoFrame *>(widget("photoFrame"))->picture();
        hold.release();
        QTRY_VERIFY(static_cast<PhotoFrame *>(widget("photoFrame"))->picture() != soft);
    }
    // The program ends at once while the face search waits for a photo's own pixels (their
    // decode held here, as a hostile file holds it): the search lets go of the photo.
    // While a photo is read the window answers: a new Open cancels the read, fitting keys and
    // buttons act on nothing and are not replayed once the photo is there, and a quit is
    // answered at once.
    void inputDuringARead()
    {
        m_form->startUp(QUrl());
        open(photo("first.jpg", TestPhotos::quadrants(1000, 1200)));
        const CropRect first = m_form->document().cropSource().rect;
        const QString a = photo("a.jpg", TestPhotos::quadrants(900, 1200));
        const QString b = photo("b.jpg", TestPhotos::quadrants(1200, 1600));
        QSignalSpy loaded(&m_form->document(), &PhotoDocument::loaded);
        TestPhotos::DecodeHold reads(photoReadThreads());
        m_form->openPhoto(a);
        m_form->openPhoto(b);
        QVERIFY(m_form->document().isBusy() && m_platform->busy == 1);
        QVERIFY(!m_form->findChild<QAction *>("resetFitAction")->isEnabled());
        QTest::keyClick(m_form.get(), Qt::Key_Plus);
        QTest::mouseClick(widget("zoomInButton"), Qt::LeftButton);
        QCOMPARE(m_form->document().cropSource().rect, first);
        QTest::keyClick(m_form.get(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(m_platform->endCalls, 1);
        QVERIFY(m_form->close()); // as the window manager asks
        reads.release();
        settle();
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(m_form->document().cropSource().rect, *centreCrop(1200, 1600, 3495, 4500));
        QVERIFY(m_form->document().untouched() && m_platform->busy == 0);
    }
    void endsWhileTheSearchWaits()
    {
        m_form->startUp(QUrl());
        open(photo("small.jpg", TestPhotos::quadrants(300, 400)));
        QTRY_VERIFY_WITH_TIMEOUT(m_form->document().faceSearch(), 60000); // the model is there
        TestPhotos::DecodeHold hold;
        std::promise<void> ended; // else the decode is let go after 8 s
        std::thread releaser([&hold, done = ended.get_future()] {
            done.wait_for(std::chrono::seconds(8));
            hold.release();
        });
        open(photo("q.jpg", TestPhotos::quadrants(1000, 1200)));
        QTest::qWait(500); // the search waits
        QElapsedTimer clock;
        clock.start();
        m_form.reset();
        const qint64 took = clock.elapsed();
        ended.set_value();
        releaser.join();
        QVERIFY2(took < 1000, qPrintable(QString::number(took)));
    }
    // Export and print right after a 48-megapixel photo shows wait for its own pixels: the
    // same sheet and the same printed photos as once its decode has ended.
    void exportAndPrintBeforeTheDecodeEnds()
    {
        m_platform->printerSystem.names = QStringList { "P" };
        m_platform->printerSystem.defaultName = "P";
        const QString path = photo("large.jpg", TestPhotos::gradients(8000, 6000));
        m_form->startUp(QUrl());
        QList<QImage> sheets;
        for (const bool settled : { false, true }) {
            TestPhotos::DecodeHold hold;
            bool painted = false; // the window's thread is free while the photo is read
            QTimer::singleShot(0, [&painted] { painted = true; });
            open(path);
            QVERIFY(painted && !m_form->document().isPhotoComplete());
            if (settled) {
                hold.release();
                m_form->document().photo()->waitUntilComplete();
            }
            const QString sheet = m_program->path() + (settled ? "/settled.jpg" : "/early.jpg");
            m_platform->dialogAnswers.enqueue(QStringList { sheet });
            m_form->findChild<QAction *>("exportAction")->trigger();
            m_form->findChild<QAction *>("printAction")->trigger();
            QVERIFY(QFile::exists(sheet) == settled); // waits for the photo's own pixels
            hold.release();
            QTRY_VERIFY(m_form->printDialog());
            sheets.append(QImage(sheet));
            QTest::mouseClick(m_form->printDialog()->findChild<QWidget *>("printButton"),
                Qt::LeftButton, {}, { 5, 5 });
            QTRY_VERIFY(!m_form->printDialog()); // the job has ended
        }
        QVERIFY(!sheets[0].isNull());
        QCOMPARE(sheets[0], sheets[1]);
        const QList<PrintDocument> &printed = m_platform->printerSystem.submitted;
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[0].pictures[0].picture, printed[1].pictures[0].picture);
        QCOMPARE(printed[0].pictures[0].picture.size(), QSize(4660, 6000)); // 3495 twips wide
    }

    // The fitted photo alone at a typed size within a size limit, its density the only thing in
    // its header; a limit out of reach writes nothing and says how small the copy can be.
    void onlineCopy()
    {
        const QString source = m_program->path() + "/phone.jpg";
        TestPhotos::writeFile(source,
            TestPhotos::withOrientation(
                TestPhotos::encodeJpeg(TestPhotos::gradients(1600, 2000)), 1)); // with EXIF
        m_form->startUp(QUrl());
        openWhole(source);
        std::optional<OnlineCopyChoice> answer; // once: then the dialog is cancelled
        QList<OnlineCopyQuestion> asked;
        m_form->askOnlineCopy = [&](QWidget *, const OnlineCopyQuestion &question) {
            asked.append(question);
            return std::exchange(answer, std::nullopt);
        };
        const auto copy = [&](const QString &limit) {
            answer = OnlineCopyChoice { "600", limit };
            asked.clear();
            m_platform->dialogAnswers.clear(); // not asked when the limit is out of reach
            m_platform->dialogAnswers.enqueue(QStringList { m_program->path() + "/online.jpg" });
            m_form->findChild<QAction *>("onlineCopyAction")->trigger();
            const QByteArray jpeg = m_program->read("online.jpg");
            QFile::remove(m_program->path() + "/online.jpg");
            return jpeg;
        };
        QVERIFY(copy("1").isEmpty());
        // The first start's frame is the design's; the copy is the format's 35 x 45 mm.
        QCOMPARE(m_form->document().frame().width(), 3495);
        QCOMPARE(m_form->document().printMm(), QSizeF(35, 45));
        QCOMPARE(asked.value(0).prefill.size, "827 x 1063");
        // Refused, the dialog comes back as it was typed.
        QCOMPARE(asked.value(1).prefill.size + '|' + asked.value(1).prefill.limit, "600|1");
        const QString told = m_platform->messages.last().text;
        const int smallestKb = QRegularExpression("\\d+").match(told).captured().toInt();
        QCOMPARE(told, m_form->text(TextId::OnlineCopyLimitUnreachable).arg(smallestKb));
        QVERIFY(copy(QString::number(smallestKb - 1)).isEmpty());
        const QByteArray unlimited = copy(QString());
        // A KB is 1000 bytes.
        const int limitKb = int(unlimited.size() / 1000); // below the size without a limit
        const QByteArray limited = copy(QString::number(limitKb));
        QVERIFY(limited.size() <= limitKb * 1000 && limited.size() > smallestKb * 1000);
        const QByteArray smallest = copy(QString::number(smallestKb));
        QVERIFY(smallest.size() <= smallestKb * 1000 && smallest.size() > (smallestKb - 1) * 1000);
        QCOMPARE(m_platform->messages.last().text,
            QStringLiteral("The photo has been saved (600 x 771 px, %1 KB).")
                .arg((smallest.size() + 999) / 1000));
        for (const QByteArray &jpeg : { unlimited, limited, smallest }) {
            int width = 0, height = 0, subsampling = -1, colours = 0;
            tjhandle handle = tjInitDecompress();
            tjDecompressHeader3(handle, reinterpret_cast<const uchar *>(jpeg.constData()),
                jpeg.size(), &width, &height, &subsampling, &colours);
            tjDestroy(handle);
            QCOMPARE(QSize(width, height), QSize(600, 771));
            QCOMPARE(subsampling, int(TJSAMP_420));
            QCOMPARE(jpeg.mid(11, 7), QByteArray("\x01\x01\x01\x01\xB3\x01\xB3", 7)); // 435 dpi
            // Baseline, and no segment but the JFIF header's among APP0-APP15 and comments.
            QList<int> markers;
            for (qsizetype at = 2;
                 at + 4 <= jpeg.size() && markers.value(markers.size() - 1) != 0xDA;
                 at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3])))
                markers.append(uchar(jpeg[at + 1]));
            QVERIFY(markers.contains(0xC0) && markers.count(0xE0) == 1);
            QVERIFY(std::all_of(markers.begin(), markers.end(), [](int m) { return m <= 0xE0; }));
        }
    }

    // An installed copy keeps its settings in the user's folder across starts; when that
    // cannot be written either, the user is told once.
    // An options.ini that would not change is not written at start. Behind a link (as dotfile
    // managers make them) it is read, never written through: the warning comes once, titled,
    // after the texts are there, and a language change stays for the run.
    void settingsKeptAtStart()
    {
        const QByteArray stored = "1\r\nenglish.lng\r\n3\r\n/p/\r\n1\r\n";
        m_program->write("Lang/options.ini", stored);
        const QDateTime old(QDate(2001, 1, 1), QTime());
        QFile file(m_program->optionsPath());
        QVERIFY(file.open(QIODevice::ReadOnly)
            && file.setFileTime(old, QFileDevice::FileModificationTime));
        m_form->startUp(QUrl());
        QCOMPARE(QFileInfo(m_program->optionsPath()).lastModified(), old);

        QVERIFY(QFile::rename(m_program->optionsPath(), m_program->path() + "/real.ini"));
        QVERIFY(QFile::link(m_program->path() + "/real.ini", m_program->optionsPath()));
        MainWindow form(*m_platform, m_platform->printerSystem);
        form.startUp(QUrl());
        QCOMPARE(form.selectedFormat(), 3);
        QVERIFY(m_platform->messages.isEmpty());
        form.selectFormat(4);
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->messages[0].text.startsWith(form.text(TextId::SettingsNotSaved))
            && m_platform->messages[0].title == form.text(TextId::MessageTitle));
        m_platform->dialogAnswers.enqueue(QStringList { m_program->langPath() + "deutsch.lng" });
        form.findChild<QAction *>("languageAction")->trigger();
        QCOMPARE(form.findChild<QMenu *>("fileMenu")->title(), "&Datei");
        QCOMPARE(m_platform->messages.size(), 1);
        QCOMPARE(m_program->read("real.ini"), stored);
    }
    void installedCopySettings()
    {
        m_platform->folder = m_program->install();
        for (int format : { 3, -1 }) {
            MainWindow form(*m_platform, m_platform->printerSystem);
            form.startUp(QUrl());
            QCOMPARE(form.findChild<QMenu *>("fileMenu")->title(), "&File");
            if (format >= 0)
                form.selectFormat(format);
            QCOMPARE(form.selectedFormat(), 3);
        }
        QVERIFY(m_program->read("user/options.ini").startsWith("1\r\nenglish.lng\r\n3\r\n"));
        QVERIFY(m_platform->messages.isEmpty());
        m_platform->userFolder = m_program->path() + "/share/kalmora/Lang/english.lng/x";
        MainWindow form(*m_platform, m_platform->printerSystem);
        form.startUp(QUrl());
        form.selectFormat(2);
        form.selectFormat(4);
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->messages[0].text.startsWith(form.text(TextId::SettingsNotSaved)));
        QVERIFY(m_platform->messages[0].text.contains(m_program->path() + "/bin/Lang"));
    }
    // A document of its own size: the frame at its size, the window grown for it, no format
    // marked, its caption, stored as line 6; a document that takes no prints offers the file.
    void documents()
    {
        m_form->startUp(QUrl(), QStringLiteral("ca_passport"));
        QCOMPARE(m_form->document().printMm(), QSizeF(50, 70));
        const QWidget *frame = widget("photoFrame");
        QCOMPARE(frame->height(), twipsToPixels(7000));
        QVERIFY(widget("moveDownButton")->geometry().bottom() < widget("client")->height());
        QCOMPARE(m_form->findChild<FormatBand *>()->selected(), -1);
        QCOMPARE(
            label("documentCaption")->text(), "Canada - Passport (paper application) - 50 x 70 mm");
        QCOMPARE(m_program->read("Lang/options.ini").split('\n').value(5), "ca_passport\r");

        // Its format's button goes back to the format's own rule and size.
        m_form->selectDocument(QStringLiteral("gb_passport"));
        QCOMPARE(m_form->findChild<FormatBand *>()->selected(), 1);
        QCOMPARE(m_form->document().idDocument().rule.headMax, 34.0 / 45);
        m_form->selectFormat(1);
        QVERIFY(m_form->document().idDocument().id.isEmpty());
        QVERIFY(label("documentCaption")->isHidden());
        QCOMPARE(frame->height(), twipsToPixels(4500));

        // Line 6 read back; an id no table has falls back to line 3's format.
        for (const QByteArray &id : { QByteArray("de_passport"), QByteArray("xx_nothing") }) {
            m_program->write(
                "Lang/options.ini", "1\r\nenglish.lng\r\n3\r\n/p/\r\n1\r\n" + id + "\r\n");
            MainWindow form(*m_platform, m_platform->printerSystem);
            form.startUp(QUrl());
            QCOMPARE(form.document().idDocument().id, id == "xx_nothing" ? QString() : id);
            QCOMPARE(form.selectedFormat(), id == "xx_nothing" ? 3 : 1);
        }
        // Germany takes no printed photos: Print offers the online copy instead.
        m_form->selectDocument(QStringLiteral("de_passport"));
        openWhole(photo("portrait.jpg", TestPhotos::gradients(1600, 2000)));
        m_platform->answers.enqueue(MessageBoxAnswer::No);
        m_form->findChild<QAction *>("printAction")->trigger();
        QCOMPARE(m_platform->messages.last().text, m_form->text(TextId::NoPrintsOfferOnlineCopy));
        QVERIFY(!m_form->printDialog());
    }
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the window opens
        QTest::addColumn<QString>("output");
        QTest::newRow("photo") << QStringList { "k", "p.jpeg" } << -1 << "";
        QTest::newRow("version") << QStringList { "k", "--version" } << 0 << "Kalmora 1.0.0";
        QTest::newRow("two photos") << QStringList { "k", "a.jpg", "b.jpg" } << 2 << "one photo";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        const CommandLine line = parseCommandLine(arguments);
        QCOMPARE(line.exitCode.value_or(-1), exitCode);
        QVERIFY2(line.output.contains(output), qPrintable(line.output));
        QCOMPARE(line.photo, exitCode < 0 ? QDir::current().absoluteFilePath("p.jpeg") : "");
    }

    // Pictures 100 to 112 in this order, the other items none; the menu bar keeps its titles.

private:
    QWidget *widget(const char *name) { return m_form->findChild<QWidget *>(name); }
    QLabel *label(const char *name) { return m_form->findChild<QLabel *>(name); }
    const QImage &framePicture()
    {
        return static_cast<PhotoFrame *>(widget("photoFrame"))->picture();
    }
    bool showsPhoto()
    {
        for (const char *name : { "zoomInButton", "zoomOutButton", "moveUpButton", "moveDownButton",
                 "moveRightButton", "moveLeftButton", "faceOval" })
            if (!widget(name)->isVisible())
                return false;
        return !widget("dropLabel")->isVisible() && !widget("dropOutline")->isVisible();
    }
    // Opens as a drop or the open dialog does, and waits for the read to end.
    void open(const QString &path)
    {
        m_form->openPhoto(path);
        settle();
    }
    void settle() { QTRY_VERIFY(!m_form->document().isBusy()); }
    // The same, until the frame shows the photo's own pixels.
    void openWhole(const QString &path)
    {
        QSignalSpy decoded(&m_form->document(), &PhotoDocument::photoDecoded);
        open(path);
        QTRY_COMPARE(decoded.size(), 1);
    }
    QString photo(const char *name, const QImage &image)
    {
        const QString path = m_program->path() + u'/' + QString::fromLatin1(name);
        return TestPhotos::writeFile(path, TestPhotos::encodeJpeg(image)) ? path : QString();
    }

    std::unique_ptr<ProgramFolder> m_program;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<MainWindow> m_form;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
