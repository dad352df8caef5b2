#include "photo/documentfilter.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(IdDocument)

class TestDocumentFilter : public QObject
{
    Q_OBJECT
private slots:
    void matches_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("found");
        QTest::newRow("German country, English document") << "de"
                                                          << "kanada pass"
                                                          << "CA";
        QTest::newRow("kind and country") << "en"
                                          << "visa china"
                                          << "CN";
        QTest::newRow("online kind") << "en"
                                     << "online"
                                     << "US";
        QTest::newRow("two-word kind, code") << "fr"
                                             << "ID card DE"
                                             << "DE";
        QTest::newRow("English name in French") << "fr"
                                                << "germ"
                                                << "DE";
        QTest::newRow("accent typed without") << "fr"
                                              << "equat"
                                              << "EC";
        QTest::newRow("accent in the kind name") << "de"
                                                 << "FUHRER"
                                                 << "EC";
        QTest::newRow("every word must match") << "en"
                                               << "canada visa"
                                               << "";
        QTest::newRow("a word's middle does not") << "en"
                                                  << "nada"
                                                  << "";
    }
    void matches()
    {
        QFETCH(QString, language);
        QFETCH(QString, query);
        QFETCH(QString, found);
        const QList<KindName> kinds { { PassportKind, "Reisepass" }, { VisaKind, "visa" },
            { IdCardKind, "ID card" }, { DrivingLicenceKind, "Führerschein" },
            { OnlineKind, "online" } };
        QStringList countries;
        for (const auto &[country, name, kind] :
            { std::tuple { "CA", "Passport", PassportKind }, { "CN", "Visa", VisaKind },
                { "US", "DV lottery", DocumentKind(VisaKind | OnlineKind) },
                { "DE", "Personalausweis", IdCardKind },
                { "EC", "Licencia", DrivingLicenceKind } }) {
            IdDocument document;
            document.country = country;
            document.name = name;
            document.kinds = kind;
            if (documentMatches(query, documentWords(document, countryName, language, kinds)))
                countries += document.country;
        }
        QCOMPARE(countries.join(u' '), found);
    }

    void headRange_data()
    {
        QTest::addColumn<IdDocument>("document");
        QTest::addColumn<QString>("text");
        QTest::newRow("range") << formatDocument(1) << "32-36 mm";
        QTest::newRow("target") << *customDocument({ 35, 45 }, SizeUnit::Millimetre, 34.5, 34.5)
                                << "34,5 mm";
        QTest::newRow("inches") << formatDocument(4) << "1-1,375 in";
        IdDocument digital = formatDocument(2);
        digital.unit = SizeUnit::Pixel;
        QTest::newRow("share of a digital one") << digital << "50-69 %";
    }
    void headRange()
    {
        QFETCH(IdDocument, document);
        QFETCH(QString, text);
        QCOMPARE(headRangeText(document, QLocale(QLocale::German)), text);
    }
};

QTEST_MAIN(TestDocumentFilter)
#include "tst_documentfilter.moc"
