#include "documenttable.h"

#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace {

const QStringList RequiredColumns
    = { QStringLiteral("id"), QStringLiteral("country"), QStringLiteral("document"),
          QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("unit") };

// One row's cells by the header's names; a column the file leaves out reads as empty.
class Row
{
public:
    Row(const QHash<QString, qsizetype> &columns, const QStringList &cells)
        : m_columns(columns)
        , m_cells(cells)
    { }

    QString operator[](const char *column) const
    {
        const qsizetype at = m_columns.value(QString::fromLatin1(column), -1);
        return at < 0 ? QString() : m_cells.at(at).trimmed();
    }

    // A measure of at least 0, or 0 for an empty cell (the rule sets nothing).
    bool measure(const char *column, double *value, QString *why) const
    {
        const QString text = (*this)[column];
        bool ok = text.isEmpty();
        *value = ok ? 0 : QLocale::c().toDouble(text, &ok);
        if (ok && std::isfinite(*value) && *value >= 0)
            return true;
        *why = QStringLiteral("%1 \"%2\" is not a measure").arg(QLatin1String(column), text);
        return false;
    }

    // Both ends of a range; one may be left empty.
    bool range(const char *least, const char *most, double *low, double *high, QString *why) const
    {
        if (!measure(least, low, why) || !measure(most, high, why))
            return false;
        if (*low > 0 && *high > 0 && *low > *high) {
            *why = QStringLiteral("%1 %2 is larger than %3 %4")
                       .arg(QLatin1String(least), (*this)[least], QLatin1String(most),
                           (*this)[most]);
            return false;
        }
        return true;
    }

private:
    const QHash<QString, qsizetype> &m_columns;
    const QStringList &m_cells;
};

std::optional<SizeUnit> unitFor(const QString &text)
{
    if (text == QLatin1String("mm"))
        return SizeUnit::Millimetre;
    if (text == QLatin1String("in"))
        return SizeUnit::Inch;
    if (text == QLatin1String("px"))
        return SizeUnit::Pixel;
    return std::nullopt;
}

bool sizeFits(const IdDocument &document)
{
    const QSizeF size = document.size;
    if (!(size.width() > 0 && size.height() > 0))
        return false;
    if (document.isDigital())
        return size.width() <= LargestPhotoPixels && size.height() <= LargestPhotoPixels;
    const QSizeF mm = document.printMm();
    return mm.width() <= LargestPrintMm && mm.height() <= LargestPrintMm;
}

bool readHeadRule(const Row &row, IdDocument *document, QString *why)
{
    HeadRuleFacts facts;
    if (!row.range("head_min", "head_max", &facts.headMin, &facts.headMax, why)
        || !row.range("eye_from_bottom_min", "eye_from_bottom_max", &facts.eyeFromBottomMin,
            &facts.eyeFromBottomMax, why)
        || !row.range(
            "top_margin_min", "top_margin_max", &facts.topMarginMin, &facts.topMarginMax, why))
        return false;
    const QString headUnit = row["head_unit"];
    facts.percent = headUnit == QLatin1String("%");
    // The head is measured in the size's own unit or as a share of the height, never converted.
    if (!facts.percent && !headUnit.isEmpty() && unitFor(headUnit) != document->unit) {
        *why
            = QStringLiteral("the head unit \"%1\" is neither %2 nor %").arg(headUnit, row["unit"]);
        return false;
    }
    // "face" (chin to hairline) is placed as the crown is: the closest of the two measures.
    facts.measure
        = row["head_measure"] == QLatin1String("hair") ? HeadMeasure::Hair : HeadMeasure::Crown;
    const std::optional<FaceRule> rule
        = faceRuleFor(document->size.height(), facts, document->size.width());
    if (!rule) {
        *why = QStringLiteral("the head's measures do not fit a photo %1 %2 high")
                   .arg(row["height"], row["unit"]);
        return false;
    }
    document->rule = *rule;
    document->headTarget = facts.headMax > 0 && facts.headMin == facts.headMax;
    return true;
}

bool readFileRule(const Row &row, IdDocument *document, QString *why)
{
    double pixelsMin, pixelsMax, kbMin, kbMax;
    if (!row.range("digital_px_min", "digital_px_max", &pixelsMin, &pixelsMax, why)
        || !row.range("digital_kb_min", "digital_kb_max", &kbMin, &kbMax, why))
        return false;
    document->file = { int(std::lround(std::min(pixelsMin, LargestPhotoPixels))),
        int(std::lround(std::min(pixelsMax, LargestPhotoPixels))),
        int(std::lround(std::min(kbMin, 1e6))), int(std::lround(std::min(kbMax, 1e6))) };
    return true;
}

std::optional<IdDocument> documentFromRow(const Row &row, QString *why)
{
    IdDocument document;
    document.id = row["id"];
    if (document.id.isEmpty()) {
        *why = QStringLiteral("the id is empty");
        return std::nullopt;
    }
    const std::optional<SizeUnit> unit = unitFor(row["unit"]);
    if (!unit) {
        *why = QStringLiteral("the unit \"%1\" is not mm, in or px").arg(row["unit"]);
        return std::nullopt;
    }
    document.unit = *unit;
    bool widthRead = false, heightRead = false;
    document.size = QSizeF(QLocale::c().toDouble(row["width"], &widthRead),
        QLocale::c().toDouble(row["height"], &heightRead));
    if (!widthRead || !heightRead || !sizeFits(document)) {
        *why = QStringLiteral("the size %1 x %2 %3 is not a photo size")
                   .arg(row["width"], row["height"], row["unit"]);
        return std::nullopt;
    }
    if (!readHeadRule(row, &document, why) || !readFileRule(row, &document, why))
        return std::nullopt;
    const QString print = row["print"];
    if (!print.isEmpty() && print != QLatin1String("yes") && print != QLatin1String("no")) {
        *why = QStringLiteral("print \"%1\" is neither yes nor no").arg(print);
        return std::nullopt;
    }
    document.takesPrints = print.isEmpty() ? !document.isDigital() : print == QLatin1String("yes");
    document.country = row["country"];
    document.name = row["document"];
    document.background = row["background"];
    document.whiteForbidden
        = document.background.contains(QLatin1String("white forbidden"), Qt::CaseInsensitive)
        || document.background.contains(QLatin1String("not white"), Qt::CaseInsensitive);
    // "no-glare" allows glasses that show no reflection.
    document.glassesAllowed = row["glasses"] != QLatin1String("no");
    const QString smile = row["smile"];
    document.teethAllowed
        = smile != QLatin1String("closed-mouth") && smile != QLatin1String("neutral");
    document.source = row["source"];
    document.asOf = row["as_of"];
    document.kinds = documentKinds(document.name, document.unit);
    return document;
}

// The file's bytes, at most one more than a table may hold, so a larger one is refused
// without reading it all; nothing when it is no regular file that can be read.
std::optional<QByteArray> readCapped(const QString &path)
{
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    QByteArray bytes = file.read(MaximumDocumentTableBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

DocumentTable readDocumentTable(const QByteArray &bytes, const QString &fileName)
{
    DocumentTable table;
    if (bytes.size() > MaximumDocumentTableBytes) {
        table.problems.append(fileName + QStringLiteral(": larger than 1 MiB, not a table"));
        return table;
    }
    // Stateless, so a sequence cut short at the end is an error too.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        table.problems.append(fileName + QStringLiteral(": not UTF-8 text"));
        return table;
    }
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    QHash<QString, qsizetype> columns;
    const QStringList header = lines.constFirst().split(u'\t');
    for (qsizetype i = 0; i < header.size(); ++i)
        columns.insert(header.at(i).trimmed().toLower(), i);
    for (const QString &required : RequiredColumns) {
        if (!columns.contains(required)) {
            table.problems.append(fileName
                + QStringLiteral(": the first line does not name the columns %1")
                      .arg(RequiredColumns.join(QStringLiteral(", "))));
            return table;
        }
    }
    QHash<QString, qsizetype> lineOfId;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        const qsizetype lineNumber = i + 1;
        const QStringList cells = lines.at(i).split(u'\t');
        QString why;
        std::optional<IdDocument> document;
        if (cells.size() != header.size()) {
            why = QStringLiteral("%1 cells where the first line names %2 columns")
                      .arg(cells.size())
                      .arg(header.size());
        } else {
            document = documentFromRow(Row(columns, cells), &why);
            if (document && lineOfId.contains(document->id)) {
                why = QStringLiteral("the id %1 is taken by line %2")
                          .arg(document->id)
                          .arg(lineOfId.value(document->id));
                document.reset();
            }
        }
        if (!document) {
            table.problems.append(
                QStringLiteral("%1 line %2: %3").arg(fileName).arg(lineNumber).arg(why));
            continue;
        }
        lineOfId.insert(document->id, lineNumber);
        table.documents.append(*document);
    }
    return table;
}

void DocumentList::load(
    const QString &programFolder, const QString &userFolder, QStringList *problems)
{
    m_documents.clear();
    const QString relativePath = QStringLiteral("data/documents.tsv");
    const QString shipped = dataFile(programFolder, relativePath);
    const std::optional<QByteArray> shippedBytes
        = shipped.isEmpty() ? std::nullopt : readCapped(shipped);
    if (!shippedBytes) {
        problems->append(
            QStringLiteral("%1: the table of documents cannot be read")
                .arg(shipped.isEmpty() ? programFolder + u'/' + relativePath : shipped));
    } else {
        DocumentTable table = readDocumentTable(*shippedBytes, shipped);
        m_documents = std::move(table.documents);
        problems->append(table.problems);
    }
    if (userFolder.isEmpty())
        return;
    const QString own = userFolder + QStringLiteral("/documents.tsv");
    if (!QFileInfo(own).exists() && !QFileInfo(own).isSymLink())
        return;
    const std::optional<QByteArray> ownBytes = readCapped(own);
    if (!ownBytes) {
        problems->append(own + QStringLiteral(": cannot be read"));
        return;
    }
    const DocumentTable table = readDocumentTable(*ownBytes, own);
    problems->append(table.problems);
    for (const IdDocument &document : table.documents) {
        const auto same = std::find_if(m_documents.begin(), m_documents.end(),
            [&document](const IdDocument &shipped) { return shipped.id == document.id; });
        if (same != m_documents.end())
            *same = document;
        else
            m_documents.append(document);
    }
}

std::optional<IdDocument> DocumentList::find(const QString &id) const
{
    for (const IdDocument &document : m_documents) {
        if (document.id == id)
            return document;
    }
    return std::nullopt;
}
