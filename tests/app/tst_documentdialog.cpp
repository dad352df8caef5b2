#include "app/customsizedialog.h"
#include "app/documentdialog.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

Q_DECLARE_METATYPE(IdDocument)

class TestDocumentDialog : public QObject
{
    Q_OBJECT
private slots:
    void filterAndChoose_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("Return in the filter") << false;
        QTest::newRow("double click") << true;
    }
    void filterAndChoose()
    {
        QFETCH(bool, doubleClick);
        QList<IdDocument> documents;
        for (const auto &[country, kinds, source] :
            { std::tuple { "US", VisaKind | OnlineKind, "" },
                { "CA", +PassportKind, "https://ca.test" },
                { "CN", +VisaKind, "embassy leaflet" } }) {
            documents += formatDocument(1);
            documents.last().id = documents.last().country = country;
            documents.last().kinds = kinds;
            documents.last().source = source;
        }
        FakePlatform platform { QString {} };
        const TextTable texts; // the dialog keeps a reference
        QPointer dialog = new DocumentDialog(
            documents, texts, QStringLiteral("de"), platform, nullptr, QStringLiteral("CN"));
        QSignalSpy chosen(dialog.data(), &DocumentDialog::chosen);
        dialog->open();
        auto *list = dialog->findChild<QTreeWidget *>();
        auto shown = [list] {
            QStringList countries;
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                if (!list->topLevelItem(row)->isHidden())
                    countries += list->topLevelItem(row)->text(0);
            }
            return countries.join(u',');
        };
        QCOMPARE(shown(), "China,Kanada,Vereinigte Staaten");
        QCOMPARE(list->currentItem()->text(0), "China");
        QCOMPARE(dialog->findChild<QLabel *>("sourceLabel")->text(), "Source: embassy leaflet");

        auto *filter = dialog->findChild<QLineEdit *>("filterEdit");
        QTest::keyClicks(filter, "visa");
        QCOMPARE(shown(), "China,Vereinigte Staaten");
        QTest::keyClick(filter, Qt::Key_Down);
        QCOMPARE(list->currentItem()->text(0), "Vereinigte Staaten");
        QTest::keyClicks(filter, " ka");
        QCOMPARE(shown(), "");
        QVERIFY(dialog->findChild<QLabel *>("noMatchLabel")->isVisible());
        QVERIFY(!dialog->findChild<QPushButton *>("chooseButton")->isEnabled());
        filter->setText(QStringLiteral("pass"));
        emit dialog->findChild<QLabel *>("sourceLabel")->linkActivated("https://ca.test");
        QCOMPARE(platform.opened, QList<QUrl>({ QUrl(QStringLiteral("https://ca.test")) }));

        if (doubleClick) {
            const QPoint row = list->visualItemRect(list->currentItem()).center();
            // The first click of a double click comes on its own, as the mouse sends it.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        } else {
            QTest::keyClick(filter, Qt::Key_Return);
        }
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().value<IdDocument>().id, "CA");
        QVERIFY(!dialog->isVisible());
        delete dialog.data();
    }

    void customSize()
    {
        const TextTable texts; // the dialog keeps a reference
        QPointer dialog = new CustomSizeDialog(texts, QStringLiteral("de"), nullptr);
        QSignalSpy chosen(dialog.data(), &CustomSizeDialog::chosen);
        dialog->open();
        auto box
            = [&dialog](const char *name) { return dialog->findChild<QDoubleSpinBox *>(name); };
        QCOMPARE(box("heightBox")->text(), "45,0");
        auto *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        box("widthBox")->setValue(5);
        box("heightBox")->setValue(5);
        ok->click();
        QVERIFY(dialog->findChild<QLabel *>("refusedLabel")->isVisible());
        QVERIFY(dialog->isVisible());
        QCOMPARE(chosen.size(), 0);

        for (const auto &[name, value] : { std::pair { "widthBox", 26 }, { "heightBox", 32 },
                 { "headMinBox", 23 }, { "headMaxBox", 27 } })
            box(name)->setValue(value);
        ok->click();
        QCOMPARE(chosen.size(), 1);
        const auto made = chosen.first().first().value<IdDocument>();
        QCOMPARE(made.size, QSizeF(26, 32));
        QCOMPARE(made.rule.headMin, 23.0 / 32);
        QVERIFY(!dialog->isVisible());
        delete dialog.data();
    }
};

QTEST_MAIN(TestDocumentDialog)
#include "tst_documentdialog.moc"
