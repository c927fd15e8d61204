#include "LibraryGenerator.h"

#include "datastore/SqlEngine.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <stdexcept>
#include <vector>

LibraryShape LibraryShape::scaled(double factor) const
{
    LibraryShape s = *this;
    s.books = std::max(1, int(std::lround(books * factor)));
    s.readers = std::max(1, int(std::lround(readers * factor)));
    s.loans = std::max(1, int(std::lround(loans * factor)));
    return s;
}

namespace {

// The raw engine output is fixed by the standard; the library's distributions are not, so
// values are derived from it directly to give the same data with every standard library.
class Rng
{
public:
    explicit Rng(quint32 seed) : m_engine(seed) {}
    int between(int lo, int hi) { return lo + int(m_engine() % quint32(hi - lo + 1)); }
    bool percent(int p) { return between(0, 99) < p; }
    const QString& pick(const QStringList& list) { return list.at(between(0, int(list.size()) - 1)); }

private:
    std::mt19937 m_engine;
};

QStringList utf8List(std::initializer_list<const char*> items)
{
    QStringList list;
    list.reserve(qsizetype(items.size()));
    for (const char* s : items)
        list << QString::fromUtf8(s);
    return list;
}

struct Vocabulary
{
    QStringList surnames = utf8List({
        "Müller",   "Schmidt",  "Schneider", "Fischer",    "Weber",   "Meyer",    "Wagner",     "Becker",
        "Schulz",   "Hoffmann", "Schäfer",   "Koch",       "Bauer",   "Richter",  "Klein",      "Wolf",
        "Schröder", "Neumann",  "Schwarz",   "Zimmermann", "Braun",   "Krüger",   "Hofmann",    "Hartmann",
        "Lange",    "Schmitt",  "Werner",    "Schmitz",    "Krause",  "Meier",    "Lehmann",    "Schmid",
        "Schulze",  "Maier",    "Köhler",    "Herrmann",   "König",   "Walter",   "Mayer",      "Huber",
        "Kaiser",   "Fuchs",    "Peters",    "Lang",       "Scholz",  "Möller",   "Weiß",       "Jung",
        "Hahn",     "Schubert", "Vogel",     "Friedrich",  "Keller",  "Günther",  "Frank",      "Berger",
        "Winkler",  "Roth",     "Beck",      "Lorenz",     "Baumann", "Franke",   "Albrecht",   "Schuster",
        "Simon",    "Ludwig",   "Böhm",      "Winter",     "Kraus",   "Martin",   "Schumacher", "Krämer",
        "Vogt",     "Stein",    "Jäger",     "Otto",       "Sommer",  "Groß",     "Seidel",     "Heinrich",
        "Brandt",   "Haas",     "Schreiber", "Graf",       "Schulte", "Dietrich", "Ziegler",    "Kuhn",
        "Kühn",     "Pohl",     "Engel",     "Horn",       "Busch",   "Bergmann", "Thomas",     "Voigt",
        "Sauer",    "Arnold",   "Wolff",     "Pfeiffer",
    });
    QStringList firstNames = utf8List({
        "Jürgen",   "Björn",     "Jörg",      "Günter",    "Käthe",    "Bärbel",    "Anna",       "Maria",
        "Ursula",   "Monika",    "Petra",     "Elisabeth", "Sabine",   "Renate",    "Helga",      "Karin",
        "Brigitte", "Ingrid",    "Erika",     "Andrea",    "Gisela",   "Claudia",   "Susanne",    "Gabriele",
        "Christa",  "Christine", "Hildegard", "Uta",       "Birgit",   "Barbara",   "Jutta",      "Hans",
        "Peter",    "Michael",   "Thomas",    "Andreas",   "Wolfgang", "Klaus",     "Stefan",     "Christian",
        "Uwe",      "Werner",    "Frank",     "Bernd",     "Horst",    "Dieter",    "Manfred",    "Gerhard",
        "Helmut",   "Joachim",   "Matthias",  "Rüdiger",   "Ralf",     "Heinz",     "Sven",       "Martin",
        "Markus",   "Lukas",     "Jonas",     "Leon",      "Finn",     "Elias",     "Emil",       "Mia",
        "Emma",     "Sophie",    "Hannah",    "Lena",      "Lea",      "Marie",     "Jana",       "Zoë",
        "Götz",     "Dörte",     "Sönke",     "Jörn",      "Mareike",  "Anneliese", "Friederike", "Maximilian",
    });
    QStringList places = utf8List({
        "Berlin",
        "Hamburg",
        "München",
        "Köln",
        "Frankfurt am Main",
        "Stuttgart",
        "Düsseldorf",
        "Leipzig",
        "Dortmund",
        "Essen",
        "Bremen",
        "Dresden",
        "Hannover",
        "Nürnberg",
        "Duisburg",
        "Bochum",
        "Wuppertal",
        "Bielefeld",
        "Bonn",
        "Münster",
        "Mannheim",
        "Karlsruhe",
        "Augsburg",
        "Wiesbaden",
        "Mönchengladbach",
        "Gelsenkirchen",
        "Aachen",
        "Braunschweig",
        "Kiel",
        "Chemnitz",
        "Halle (Saale)",
        "Magdeburg",
        "Freiburg im Breisgau",
        "Krefeld",
        "Mainz",
        "Lübeck",
        "Erfurt",
        "Oberhausen",
        "Rostock",
        "Kassel",
        "Hagen",
        "Potsdam",
        "Saarbrücken",
        "Hamm",
        "Ludwigshafen",
        "Oldenburg",
        "Mülheim an der Ruhr",
        "Osnabrück",
        "Leverkusen",
        "Darmstadt",
        "Heidelberg",
        "Solingen",
        "Herne",
        "Neuss",
        "Regensburg",
        "Paderborn",
        "Ingolstadt",
        "Offenbach",
        "Fürth",
        "Würzburg",
        "Ulm",
        "Heilbronn",
        "Pforzheim",
        "Wolfsburg",
        "Göttingen",
        "Bottrop",
        "Reutlingen",
        "Koblenz",
        "Recklinghausen",
        "Bremerhaven",
        "Bergisch Gladbach",
        "Jena",
        "Remscheid",
        "Erlangen",
        "Moers",
        "Siegen",
        "Hildesheim",
        "Salzgitter",
        "Cottbus",
        "Kaiserslautern",
        "Gütersloh",
        "Witten",
        "Schwerin",
        "Gera",
        "Iserlohn",
        "Zwickau",
        "Düren",
        "Esslingen",
        "Ratingen",
        "Tübingen",
        "Lünen",
        "Flensburg",
        "Villingen-Schwenningen",
        "Konstanz",
        "Marl",
        "Worms",
        "Velbert",
        "Minden",
        "Dessau-Roßlau",
        "Neumünster",
    });
    QStringList subjects = utf8List({
        "Belletristik",   "Krimi",      "Kinderbuch",  "Jugendbuch",  "Sachbuch",   "Geschichte",    "Geografie",
        "Biologie",       "Chemie",     "Physik",      "Mathematik",  "Informatik", "Technik",       "Kunst",
        "Musik",          "Religion",   "Philosophie", "Psychologie", "Pädagogik",  "Recht",         "Wirtschaft",
        "Politik",        "Soziologie", "Medizin",     "Gesundheit",  "Ernährung",  "Kochen",        "Garten",
        "Handarbeit",     "Heimwerken", "Reisen",      "Sport",       "Spiele",     "Fremdsprachen", "Wörterbücher",
        "Lexika",         "Lyrik",      "Drama",       "Märchen",     "Sagen",      "Comics",        "Bilderbücher",
        "Erstlesebücher", "Hörbücher",  "Biografien",  "Astronomie",  "Umwelt",     "Tiere",         "Landwirtschaft",
        "Heimatkunde",
    });
    QStringList editions = utf8List({
        "1. Auflage",
        "2. Auflage",
        "3. Auflage",
        "2., überarbeitete Auflage",
        "3., erweiterte Auflage",
        "Neuausgabe",
        "Sonderausgabe",
        "Taschenbuchausgabe",
        "4. Aufl.",
        "5., völlig neu bearbeitete Auflage",
        "Jubiläumsausgabe",
        "Lizenzausgabe",
    });
    QStringList streets = utf8List({
        "Hauptstraße",     "Bahnhofstraße", "Gartenweg",     "Schillerstraße", "Goethestraße",      "Am Mühlbach",
        "Lindenallee",     "Kirchplatz",    "Schulstraße",   "Dorfstraße",     "Bergstraße",        "Waldstraße",
        "Ringstraße",      "Birkenweg",     "Rosenstraße",   "Friedhofstraße", "Jahnstraße",        "Mozartstraße",
        "Beethovenstraße", "Am Sportplatz", "Wiesenweg",     "Feldstraße",     "Brückenstraße",     "Marktplatz",
        "Königsallee",     "Uhlandstraße",  "Lessingstraße", "Tannenweg",      "Eichendorffstraße", "Fröbelstraße",
    });
    QStringList remarks = utf8List({
        "Geschenk der Familie Schäfer.",
        "Einband leicht beschädigt.",
        "Mit Widmung des Verfassers.",
        "Ersatzbeschaffung.",
        "Seiten 12 bis 14 fehlen.",
        "Nur für den Präsenzbestand.",
        "Großdruck.",
        "Enthält eine CD-ROM.",
        "Stempel der Schulbücherei.",
        "Vom Förderverein gestiftet.",
        "Schutzumschlag fehlt.",
        "Bitte nicht an Kinder unter 12 verleihen.",
        "Mehrbändiges Werk, Band 2 ist vermisst.",
        "Neu gebunden im Frühjahr.",
        "Bleistiftnotizen am Rand.",
        "Übersetzung aus dem Französischen.",
        "Karte liegt lose bei.",
        "Wasserfleck auf dem Vorsatz.",
    });
    QStringList readerRemarks = utf8List({
        "Klasse 5b",
        "Klasse 7a",
        "Lehrerin",
        "Mahnung verschickt",
        "Ausweis verloren, Ersatz ausgestellt",
        "Bevorzugt Großdruck",
        "Ehrenamtliche Mitarbeiterin",
        "Zieht im Sommer um",
    });
    QStringList loanRemarks = utf8List({
        "Verlängert",
        "Beschädigt zurückgegeben",
        "Vorgemerkt für Frau Köhler",
        "Mahnung erfolgt",
        "Ohne Ausweis",
    });
    QStringList mailHosts = utf8List({"web.de", "gmx.de", "t-online.de", "posteo.de", "mailbox.org", "freenet.de"});
    QStringList titleTemplates = utf8List({
        "%1",
        "%1 und %2",
        "Alles über %1",
        "%1 für Einsteiger",
        "Handbuch %1",
        "%1 – gestern und heute",
        "Thema: %1",
        "Kleines Lexikon: %1",
        "%1, %2 und %3",
        "Praxisbuch %1",
        "%1 im Wandel der Zeit",
        "Geschichten aus %1 und %2",
        "Die Welt der %1",
        "Einführung in %1",
        "Neues über %1",
    });
    QStringList titleTails = utf8List({
        " – Band %n",
        ": Ein Leitfaden für %w",
        " und %w",
        " mit %w",
        " (Neuausgabe)",
        ": Erinnerungen an %w",
        " – Eine Reise durch %p",
        " in %p",
    });
    QStringList words; // compound nouns, about 2,000
    QStringList publishers;
    QStringList locations;

    Vocabulary()
    {
        const QStringList heads = utf8List({
            "Garten",   "Wasser",     "Haus",    "Wald",    "Berg",      "Stadt",   "Land",   "Kinder", "Schul",
            "Kirchen",  "Bahn",       "Feuer",   "Sonnen",  "Mond",      "Stern",   "Welt",   "Zeit",   "Kunst",
            "Musik",    "Bücher",     "Märchen", "Bauern",  "Fisch",     "Vogel",   "Pferde", "Blumen", "Obst",
            "Brot",     "Küchen",     "Straßen", "Brücken", "Burg",      "Schloss", "Fluss",  "See",    "Meeres",
            "Insel",    "Wüsten",     "Winter",  "Sommer",  "Frühlings", "Herbst",  "Nacht",  "Tages",  "Lebens",
            "Familien", "Geschichts", "Natur",   "Hand",    "Heimat",
        });
        const QStringList tails = utf8List({
            "buch",      "haus",   "weg",    "land",    "zeit",   "kunde",       "lehre",   "geschichte",
            "reise",     "welt",   "leben",  "kraft",   "bau",    "arbeit",      "spiel",   "lied",
            "fest",      "markt",  "garten", "tür",     "straße", "brücke",      "führer",  "kalender",
            "atlas",     "küche",  "rätsel", "märchen", "wissen", "pflege",      "recht",   "wirtschaft",
            "forschung", "schutz", "kultur", "sprache", "bilder", "geschichten", "freunde", "träume",
        });
        for (const QString& h : heads)
            for (const QString& t : tails)
                if (h.compare(t, Qt::CaseInsensitive) != 0)
                    words << h + t;

        const QStringList forms = utf8List({"%1 Verlag", "Verlag %1", "%1 & %2", "Edition %1", "%1-Verlag GmbH"});
        for (int i = 0; i < 200; ++i) {
            const QString& a = surnames.at((i / int(forms.size())) % surnames.size());
            const QString& b = surnames.at((i * 7 + 3) % surnames.size());
            QString p = forms.at(i % forms.size());
            publishers << (p.contains(u"%2") ? p.arg(a, b) : p.arg(a));
        }

        for (QChar shelf : QStringLiteral("ABCDE"))
            for (int n = 1; n <= 5; ++n)
                locations << QStringLiteral("Regal %1%2").arg(shelf).arg(n);
        locations << utf8List({"Magazin", "Lesesaal", "Kinderecke", "Schaufenster", "Büro"});
    }
};

QVariant textOrNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

void execOrThrow(QSqlQuery& q, const char* what)
{
    if (!q.exec())
        throw std::runtime_error(std::string("library generator: ") + what + ": " + q.lastError().text().toStdString());
}

void prepareOrThrow(QSqlQuery& q, const QString& sql)
{
    if (!q.prepare(sql))
        throw std::runtime_error("library generator: cannot prepare: " + q.lastError().text().toStdString());
}

QString insertStatement(const QString& table, const QStringList& columns)
{
    QStringList quoted, marks;
    for (const QString& c : columns) {
        quoted << u'"' + c + u'"';
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)").arg(table, quoted.join(u','), marks.join(u','));
}

// Cuts at a word boundary and drops a dangling separator.
QString fitToLength(QString s, int max)
{
    if (s.size() <= max)
        return s;
    int cut = int(s.lastIndexOf(u' ', max));
    s.truncate(cut > 0 ? cut : max);
    while (!s.isEmpty() && QStringLiteral(" –:,&").contains(s.back()))
        s.chop(1);
    return s;
}

QString mailName(const QString& s)
{
    QString out;
    for (QChar c : s.toLower()) {
        switch (c.unicode()) {
        case u'ä':
            out += QStringLiteral("ae");
            break;
        case u'ö':
            out += QStringLiteral("oe");
            break;
        case u'ü':
            out += QStringLiteral("ue");
            break;
        case u'ß':
            out += QStringLiteral("ss");
            break;
        case u'ë':
            out += u'e';
            break;
        default:
            if (c.isLetter() || c == u'-')
                out += c;
        }
    }
    return out;
}

// Time points as seconds counted from Julian day 0, formatted the way the database stores them.
constexpr qint64 SecondsPerDay = 86400;

QString storedDateTime(qint64 t)
{
    const QDate d = QDate::fromJulianDay(t / SecondsPerDay);
    const int s = int(t % SecondsPerDay);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), s / 3600, s / 60 % 60,
                             s % 60);
}

class Generator
{
public:
    Generator(QSqlDatabase db, const LibraryShape& shape) : m_db(db), m_shape(shape), m_rng(shape.seed) {}

    GeneratedLibrary run()
    {
        QSqlQuery q(m_db);
        prepareOrThrow(q, QStringLiteral("BEGIN"));
        execOrThrow(q, "begin");
        writeBooks();
        writeReaders();
        writeLoans();
        prepareOrThrow(q, QStringLiteral("COMMIT"));
        execOrThrow(q, "commit");
        return m_result;
    }

private:
    QString author()
    {
        for (;;) {
            QString first = m_rng.pick(m_v.firstNames);
            if (m_rng.percent(15))
                first += u'-' + m_rng.pick(m_v.firstNames);
            QString last = m_rng.pick(m_v.surnames);
            if (m_rng.percent(5))
                last = QStringLiteral("von ") + last;
            const QString name = last + QStringLiteral(", ") + first;
            if (name.size() >= 10 && name.size() <= 30)
                return name;
        }
    }

    QString title()
    {
        const int target = m_rng.between(10, 80);
        QString t = m_rng.pick(m_v.titleTemplates);
        for (const char* mark : {"%1", "%2", "%3"})
            t.replace(QLatin1String(mark), m_rng.pick(m_v.words));
        while (t.size() < target) {
            QString tail = m_rng.pick(m_v.titleTails);
            tail.replace(QStringLiteral("%n"), QString::number(m_rng.between(1, 12)));
            tail.replace(QStringLiteral("%w"), m_rng.pick(m_v.words));
            tail.replace(QStringLiteral("%p"), m_rng.pick(m_v.places));
            t += tail;
        }
        return fitToLength(t, 80);
    }

    QString isbn()
    {
        QString digits = QStringLiteral("9783%1%2")
                             .arg(m_rng.between(0, 9999), 4, 10, QLatin1Char('0'))
                             .arg(m_rng.between(0, 9999), 4, 10, QLatin1Char('0'));
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (digits.at(i).unicode() - u'0') * (i % 2 ? 3 : 1);
        digits += QChar(u'0' + (10 - sum % 10) % 10);
        return QStringLiteral("%1-%2-%3-%4-%5")
            .arg(digits.mid(0, 3), digits.mid(3, 1), digits.mid(4, 4), digits.mid(8, 4), digits.mid(12, 1));
    }

    QString bookRemark()
    {
        const int parts = m_rng.between(1, 6);
        QString r;
        for (int i = 0; i < parts; ++i) {
            const QString& p = m_rng.pick(m_v.remarks);
            if (r.size() + 1 + p.size() > 200)
                break;
            if (!r.isEmpty())
                r += u' ';
            r += p;
        }
        return r;
    }

    void writeBooks()
    {
        QStringList columns{QStringLiteral("ID"),
                            QStringLiteral("Verfasser"),
                            QStringLiteral("Titel"),
                            QStringLiteral("Verlag"),
                            QStringLiteral("Erscheinungsjahr"),
                            QStringLiteral("Erscheinungsort"),
                            QStringLiteral("Auflage"),
                            QStringLiteral("Sachgruppe"),
                            QStringLiteral("Signatur"),
                            QStringLiteral("Standort"),
                            QStringLiteral("ISBN"),
                            QStringLiteral("Preis"),
                            QStringLiteral("Bemerkung"),
                            QStringLiteral("ausgeliehen")};
        const int firstKeyword = int(columns.size());
        for (int k = 1; k <= 10; ++k)
            columns << QStringLiteral("Schlagwort%1").arg(k);
        QSqlQuery q(m_db);
        prepareOrThrow(q, insertStatement(QStringLiteral("Buecher"), columns));

        for (int id = 1; id <= m_shape.books; ++id) {
            const QString verfasser = author();
            const QString& subject = m_rng.pick(m_v.subjects);
            // Lent books are capped by the loans there are, so each one gets its open loan.
            const bool lent = m_rng.percent(m_shape.lentPercent) && int(m_lentBooks.size()) < m_shape.loans;
            int c = 0;
            q.bindValue(c++, id);
            q.bindValue(c++, verfasser);
            q.bindValue(c++, title());
            q.bindValue(c++, m_rng.pick(m_v.publishers));
            q.bindValue(c++, QString::number(m_rng.between(1950, 2024)));
            q.bindValue(c++, m_rng.pick(m_v.places));
            q.bindValue(c++, m_rng.percent(70) ? QVariant(m_rng.pick(m_v.editions)) : QVariant());
            q.bindValue(c++, subject);
            q.bindValue(c++, QStringLiteral("%1 %2 %3")
                                 .arg(subject.left(4), verfasser.left(3).toUpper())
                                 .arg(m_rng.between(1, 999)));
            q.bindValue(c++, m_rng.pick(m_v.locations));
            q.bindValue(c++, m_rng.percent(90) ? QVariant(isbn()) : QVariant());
            // Ten-thousandths of a euro; shelf prices end in 0 or 5 cents.
            q.bindValue(c++, m_rng.percent(60) ? QVariant(qint64(m_rng.between(99, 1198)) * 5 * 100) : QVariant());
            q.bindValue(c++, m_rng.percent(20) ? textOrNull(bookRemark()) : QVariant());
            q.bindValue(c++, lent ? 1 : 0);
            const int keywords = m_rng.between(0, 5);
            QStringList chosen;
            while (chosen.size() < keywords) {
                const QString& w = m_rng.pick(m_v.words);
                if (!chosen.contains(w))
                    chosen << w;
            }
            for (int k = 0; k < 10; ++k)
                q.bindValue(firstKeyword + k, k < chosen.size() ? QVariant(chosen.at(k)) : QVariant());
            execOrThrow(q, "book");
            if (lent)
                m_lentBooks.push_back(id);
        }
        m_result.books = m_shape.books;
    }

    void writeReaders()
    {
        const QStringList columns{QStringLiteral("ID"),        QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                                  QStringLiteral("Straße"),    QStringLiteral("PLZ"),     QStringLiteral("Ort"),
                                  QStringLiteral("Telefon"),   QStringLiteral("eMail"),   QStringLiteral("Bemerkung"),
                                  QStringLiteral("Sonstiges1")};
        QSqlQuery q(m_db);
        prepareOrThrow(q, insertStatement(QStringLiteral("Leser"), columns));
        for (int id = 1; id <= m_shape.readers; ++id) {
            QString first = m_rng.pick(m_v.firstNames);
            if (m_rng.percent(10))
                first += u'-' + m_rng.pick(m_v.firstNames);
            const QString last = m_rng.pick(m_v.surnames);
            QString street = m_rng.pick(m_v.streets) + u' ' + QString::number(m_rng.between(1, 180));
            if (m_rng.percent(8))
                street += QChar(u'a' + m_rng.between(0, 3));
            int c = 0;
            q.bindValue(c++, id);
            q.bindValue(c++, first);
            q.bindValue(c++, last);
            q.bindValue(c++, street);
            q.bindValue(c++, QStringLiteral("%1").arg(m_rng.between(1067, 99998), 5, 10, QLatin1Char('0')));
            q.bindValue(c++, m_rng.pick(m_v.places));
            q.bindValue(c++, QStringLiteral("0%1 %2").arg(m_rng.between(30, 9999)).arg(m_rng.between(10000, 9999999)));
            q.bindValue(c++, QStringLiteral("%1.%2%3@%4")
                                 .arg(mailName(first), mailName(last))
                                 .arg(m_rng.percent(30) ? QString::number(m_rng.between(1, 99)) : QString())
                                 .arg(m_rng.pick(m_v.mailHosts)));
            q.bindValue(c++, m_rng.percent(15) ? QVariant(m_rng.pick(m_v.readerRemarks)) : QVariant());
            q.bindValue(c++, m_rng.percent(30) ? QVariant(QStringLiteral("Ausweis Nr. %1").arg(m_rng.between(1, 99999)))
                                               : QVariant());
            execOrThrow(q, "reader");
        }
        m_result.readers = m_shape.readers;
    }

    void writeLoans()
    {
        struct Loan
        {
            qint64 from;
            qint64 until; // returned: DatumBis; open: DatumBisSoll
            int book;
            int reader;
            bool open;
        };
        const qint64 today = QDate(2024, 6, 28).toJulianDay();
        const auto openingHours = [this] { return qint64(m_rng.between(9 * 3600, 18 * 3600)); };
        std::vector<Loan> loans;
        loans.reserve(size_t(m_shape.loans));
        for (int book : m_lentBooks) {
            const qint64 from = (today - m_rng.between(0, 59)) * SecondsPerDay + openingHours();
            loans.push_back({from, from + 30 * SecondsPerDay, book, m_rng.between(1, m_shape.readers), true});
        }
        while (int(loans.size()) < m_shape.loans) {
            const qint64 fromDay = today - m_rng.between(1, 8 * 365);
            const qint64 backDay = std::min(today, fromDay + m_rng.between(1, 42));
            loans.push_back({fromDay * SecondsPerDay + openingHours(), backDay * SecondsPerDay + openingHours(),
                             m_rng.between(1, m_shape.books), m_rng.between(1, m_shape.readers), false});
        }
        // IDs follow the order in which loans were made, as in a library that has been in use.
        std::stable_sort(loans.begin(), loans.end(), [](const Loan& a, const Loan& b) { return a.from < b.from; });

        const QStringList columns{QStringLiteral("BuecherID"), QStringLiteral("LeserID"),
                                  QStringLiteral("DatumVon"),  QStringLiteral("DatumBis"),
                                  QStringLiteral("Bemerkung"), QStringLiteral("DatumBisSoll")};
        QSqlQuery q(m_db);
        prepareOrThrow(q, insertStatement(QStringLiteral("Ausleihe"), columns));
        for (const Loan& l : loans) {
            q.bindValue(0, l.book);
            q.bindValue(1, l.reader);
            q.bindValue(2, storedDateTime(l.from));
            q.bindValue(3, l.open ? QVariant() : QVariant(storedDateTime(l.until)));
            q.bindValue(4, m_rng.percent(3) ? QVariant(m_rng.pick(m_v.loanRemarks)) : QVariant());
            q.bindValue(5, l.open ? QVariant(storedDateTime(l.until)) : QVariant());
            execOrThrow(q, "loan");
            if (l.open)
                ++m_result.openLoans;
        }
        m_result.loans = int(loans.size());
    }

    QSqlDatabase m_db;
    LibraryShape m_shape;
    Rng m_rng;
    Vocabulary m_v;
    std::vector<int> m_lentBooks;
    GeneratedLibrary m_result;
};

} // namespace

GeneratedLibrary generateLibrary(const QString& directory, const LibraryShape& shape)
{
    if (shape.books < 1 || shape.readers < 1 || shape.loans < 0)
        throw std::invalid_argument("library generator: a library needs books and readers");
    const SqliteEngine engine;
    engine.createDatabase(directory);
    const QString connection = QStringLiteral("generator-") + QUuid::createUuid().toString(QUuid::Id128);
    GeneratedLibrary result;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(engine.databaseLocation(directory));
        if (!db.open())
            throw std::runtime_error("library generator: cannot open database: " + db.lastError().text().toStdString());
        result = Generator(db, shape).run();
        db.close();
    } catch (...) {
        QSqlDatabase::removeDatabase(connection);
        throw;
    }
    QSqlDatabase::removeDatabase(connection);
    return result;
}

GeneratedLibrary generateBenchmarkLibrary(const QString& directory)
{
    bool ok = false;
    const double scale = qEnvironmentVariable("TOMARIS_BENCH_SCALE").toDouble(&ok);
    const LibraryShape shape = ok && scale > 0 ? LibraryShape{}.scaled(scale) : LibraryShape{};
    QElapsedTimer timer;
    timer.start();
    GeneratedLibrary library = generateLibrary(directory, shape);
    std::fprintf(stderr, "Generated %d books (%d lent), %d readers, %d loans in %.1f s\n", library.books,
                 library.openLoans, library.readers, library.loans, timer.elapsed() / 1000.0);
    return library;
}
