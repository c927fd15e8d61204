#include "SqlFailure.h"

#include <QCoreApplication>

namespace SqlFailure {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("SqlFailure", text);
}

// SQLite's primary result codes (the driver reports them as the native error code).
enum Code {
    Perm = 3,
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Constraint = 19,
    NotADb = 26,
};

int codeOf(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

} // namespace

DataError::Kind kindOf(const QSqlError& error)
{
    switch (codeOf(error)) {
    case Busy:
    case Locked:
        return DataError::Kind::Busy;
    case ReadOnly:
    case Perm:
        return DataError::Kind::ReadOnly;
    case Corrupt:
    case NotADb:
        return DataError::Kind::Damaged;
    default:
        return DataError::Kind::Other;
    }
}

DataError from(const QString& whatFailed, const QSqlError& error)
{
    QString why;
    switch (codeOf(error)) {
    case Busy:
    case Locked:
        why = tr("Ein anderer Arbeitsplatz schreibt gerade in die Datenbank. Bitte versuchen Sie es in einem "
                 "Augenblick noch einmal; Ihre Eingaben bleiben erhalten.");
        break;
    case ReadOnly:
    case Perm:
        why = tr("Die Datenbank ist schreibgeschützt: Sie haben keine Berechtigung, die Datei oder ihr Verzeichnis "
                 "zu ändern. Bitte wenden Sie sich an die Person, die die Rechte im Netzwerk vergibt.");
        break;
    case Corrupt:
    case NotADb:
        why = tr("Die Datenbankdatei ist beschädigt. Bitte spielen Sie eine Sicherung zurück.");
        break;
    case Full:
        why = tr("Der Datenträger ist voll. Bitte schaffen Sie Platz und versuchen Sie es noch einmal.");
        break;
    case NoMem:
        why = tr("Der Arbeitsspeicher reicht nicht aus. Bitte schließen Sie andere Programme und versuchen Sie es "
                 "noch einmal.");
        break;
    case IoErr:
    case CantOpen:
        why = tr("Die Datenbankdatei konnte nicht gelesen oder geschrieben werden. Bitte prüfen Sie die Verbindung "
                 "zum Netzwerk und versuchen Sie es noch einmal.");
        break;
    case Constraint:
        why = tr("Ein Wert verstößt gegen eine Regel der Datenbank (zum Beispiel ein leerer Text oder ein zu langer "
                 "Text). Bitte prüfen Sie Ihre Eingaben.");
        break;
    default:
        why = tr("Bitte versuchen Sie es noch einmal; bleibt der Fehler, starten Sie das Programm neu.");
        break;
    }
    return DataError(whatFailed + u'\n' + why, error.text().trimmed(), kindOf(error));
}

QString shortened(const QString& text)
{
    constexpr int Limit = 200;
    if (text.size() <= Limit)
        return text;
    int cut = Limit;
    if (text.at(cut - 1).isHighSurrogate())
        --cut; // never split a character
    return text.left(cut) + QChar(0x2026);
}

} // namespace SqlFailure
