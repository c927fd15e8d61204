#include "PostalCodes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QString ResourcePath = QStringLiteral(":/data/plz-de.tsv");

bool hasBlank(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

} // namespace

PostalCodes::PostalCodes() : m_data(std::make_shared<const Data>()) {}

PostalCodes PostalCodes::builtIn()
{
    // Parsed once: every main window of the process (tests make many) shares it.
    static const PostalCodes table = [] {
        QFile file(ResourcePath);
        if (!file.open(QIODevice::ReadOnly))
            return PostalCodes();
        return fromTsv(file);
    }();
    return table;
}

PostalCodes PostalCodes::fromTsv(QIODevice& device)
{
    auto data = std::make_shared<Data>();
    const QString text = QString::fromUtf8(device.readAll());
    bool header = true;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (header) {
            header = false;
            continue;
        }
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0 || tab == line.size() - 1)
            continue;
        data->townsByCode[key(line.left(tab).toString())].append(line.mid(tab + 1).toString());
        ++data->rows;
    }
    return PostalCodes(std::move(data));
}

std::optional<PostalCodes> PostalCodes::fromXmlFile(const QString& path, QString* error)
{
    const auto fail = [&](const QString& reason) -> std::optional<PostalCodes> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("Die Postleitzahlen-Datei „%1“ kann nicht gelesen werden: %2").arg(shown, file.errorString()));

    auto data = std::make_shared<Data>();
    QXmlStreamReader xml(&file);
    const auto broken = [&](const QString& reason) {
        return fail(tr("Die Postleitzahlen-Datei „%1“ ist fehlerhaft (Zeile %2): %3")
                        .arg(shown)
                        .arg(xml.lineNumber())
                        .arg(reason));
    };
    if (!xml.readNextStartElement()) {
        if (xml.hasError())
            return broken(xml.errorString());
        return broken(tr("Die Datei enthält keine Daten."));
    }
    if (xml.name() != u"plz")
        return broken(tr("Das äußerste Element muss <plz> heißen, nicht <%1>.").arg(xml.name()));
    while (xml.readNextStartElement()) {
        if (xml.name() != u"ort")
            return broken(tr("Unbekanntes Element <%1>; erlaubt ist nur <ort>.").arg(xml.name()));
        const QString code = xml.attributes().value(QLatin1StringView("plz")).toString().trimmed();
        if (code.isEmpty() || code.size() > MaxCodeLength || hasBlank(code))
            return broken(tr("Die Postleitzahl „%1“ ist ungültig: erlaubt sind 1 bis %2 Zeichen ohne Leerzeichen.")
                              .arg(code)
                              .arg(MaxCodeLength));
        const QString town = xml.readElementText().trimmed(); // fails on nested elements
        if (xml.hasError())
            break;
        if (town.isEmpty() || town.size() > MaxTownLength)
            return broken(
                tr("Der Ort zur Postleitzahl „%1“ muss 1 bis %2 Zeichen lang sein.").arg(code).arg(MaxTownLength));
        data->townsByCode[key(code)].append(town);
        ++data->rows;
    }
    if (xml.hasError())
        return broken(xml.errorString());
    // Nothing may follow the root element.
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            return broken(tr("Nach </plz> darf nichts mehr folgen."));
    }
    if (xml.hasError())
        return broken(xml.errorString());
    return PostalCodes(std::move(data));
}

PostalCodes PostalCodes::atStart(const QString& programDir, QString* problem)
{
    const QString path = QDir(programDir).filePath(fileName());
    if (!QFileInfo::exists(path))
        return builtIn();
    QString error;
    if (std::optional<PostalCodes> fromFile = fromXmlFile(path, &error))
        return *fromFile;
    if (problem)
        *problem = tr("%1\nEs wird die eingebaute Postleitzahlentabelle verwendet.").arg(error);
    return builtIn();
}

QStringList PostalCodes::towns(const QString& code) const
{
    return m_data->townsByCode.value(key(code));
}
