#include "PrintList.h"

#include "datastore/Settings.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PrintLists", text);
}

} // namespace

namespace PrintLists {

PrintListDefinition books(const QStringList& captions)
{
    PrintListDefinition list;
    list.dialogName = QStringLiteral("TDruckerDialogF");
    list.dialogCaption = tr("Bücherdaten drucken");
    list.previewName = QStringLiteral("TDruckervorschauF");
    list.previewCaption = tr("Druckervorschau");
    list.previewWidth = 678;
    list.previewHeight = 522;
    list.previewScale = 80;
    list.orientationToggle = true;
    list.narrowButton = true;
    list.switchColumns = 4;
    list.titleSetting = SettingName::DruckTitel;
    list.pageNumberSetting = SettingName::SeitenzahlenDrucken;
    list.pageNumberTick = PrintListDefinition::PageNumberTick::NotZero;

    struct ColumnEntry
    {
        const char* field;
        const char* switchName;
        int line;
        int slot;
    };
    // Column order; the check boxes stand in the dialog's own order of lines.
    static const ColumnEntry specs[] = {
        {"Nummer", "CBNummer", 0, 0},
        {"Verfasser", "CBVerfasser", 1, 0},
        {"Titel", "CBTitel", 2, 0},
        {"Verlag", "CBVerlag", 0, 1},
        {"Erscheinungsjahr", "CBErscheinungsjahr", 1, 1},
        {"Erscheinungsort", "CBErscheinungsort", 2, 1},
        {"Auflage", "CBAuflage", 0, 2},
        {"Sachgruppe", "CBSachgruppe", 1, 2},
        {"Signatur", "CBSignatur", 0, 3},
        {"Standort", "CBStandort", 1, 3},
        {"ISBN", "CBISBN", 2, 2},
        {"Preis", "CBPreis", 2, 3},
        {"Bemerkung", "CBBemerkungen", 3, 0},
    };
    for (int i = 0; i < 23; ++i) {
        PrintColumn c;
        c.heading = captions.value(i);
        if (i < 13) {
            c.field = QString::fromLatin1(specs[i].field);
            c.switchName = QString::fromLatin1(specs[i].switchName);
            c.switchLine = specs[i].line;
            c.switchSlot = specs[i].slot;
            c.switchText = i == 0 ? tr("Nummer") : c.heading;
        } else {
            const int keyword = i - 12; // 1..10
            c.field = QStringLiteral("Schlagwort%1").arg(keyword);
            c.switchName = QStringLiteral("CBS%1").arg(keyword);
            c.switchText = tr("Schlagwort %1").arg(keyword);
            c.switchLine = 3 + (keyword) / 4;
            c.switchSlot = keyword % 4;
        }
        c.numberColumn = i == 0;
        c.wrapTestBefore = i >= 3;
        list.columns.append(c);
    }
    return list;
}

PrintListDefinition readers()
{
    PrintListDefinition list;
    list.dialogName = QStringLiteral("TDruckerDialogLeserF");
    list.dialogCaption = tr("Leserdaten drucken");
    list.previewName = QStringLiteral("TDruckerVorschauLeserF");
    list.previewCaption = tr("Leserdaten drucken");
    list.previewWidth = 694;
    list.previewHeight = 540;
    list.previewScale = 82;
    list.orientationToggle = true;
    list.titleSetting = SettingName::DruckTitelLeser;
    list.pageNumberSetting = SettingName::DruckSeitenzahlenLeser;

    struct ColumnEntry
    {
        const char* heading;
        const char* field;
        const char* switchName;
        const char* switchText;
    };
    static const ColumnEntry specs[] = {
        {"Nr.", "Nummer", "CBNummer", "Nummer"},
        {"Vorname", "Vorname", "CBVorname", "Vorname"},
        {"Nachname", "Nachname", "CBNachname", "Nachname"},
        {"Straße", "Straße", "CBStrasse", "Straße"},
        {"PLZ", "PLZ", "CBPLZ", "PLZ"},
        {"Ort", "Ort", "CBOrt", "Ort"},
        {"Telefon", "Telefon", "CBTelefon", "Telefon"},
        {"eMail", "eMail", "CBEmail", "eMail"},
        {"Sonstiges", "Sonstiges1", "CBSonstiges", "Sonstiges"},
        {"Bemerkung", "Bemerkung", "CBBemerkung", "Bemerkung"},
    };
    for (int i = 0; i < 10; ++i) {
        PrintColumn c;
        c.heading = tr(specs[i].heading);
        c.field = QString::fromUtf8(specs[i].field);
        c.switchName = QString::fromLatin1(specs[i].switchName);
        c.switchText = tr(specs[i].switchText);
        c.switchLine = i / 3;
        c.switchSlot = i % 3;
        c.wrapTestAfter = true;
        list.columns.append(c);
    }
    return list;
}

PrintListDefinition loans()
{
    PrintListDefinition list;
    list.dialogName = QStringLiteral("TDruckerDialogAusleihlisteF");
    list.dialogCaption = tr("Ausleihliste");
    list.dialogPlace = QPoint(372, 239);
    list.previewName = QStringLiteral("TDruckervorschauAusleihlisteF");
    list.previewCaption = tr("Druckervorschau Ausleihliste");
    list.previewWidth = 634;
    list.previewHeight = 552;
    list.previewScale = 74;
    list.titleSetting = SettingName::DruckTitelAusleihliste;
    list.pageNumberSetting = SettingName::DruckSeitenzahlenAusleihliste;
    list.variant.alwaysPortraitScale = true;
    list.variant.ruleEnd = 5000;
    list.variant.headingBaselineFromTop = 417;
    list.variant.wrapLimitDesign = 4104;
    list.variant.continuationX = 324;
    list.variant.pageFullDesign = 6300;

    struct ColumnEntry
    {
        const char* heading;
        const char* field;
        const char* switchName;
    };
    static const ColumnEntry specs[] = {
        {"Buch-Nr.", "BuchNummer", "CBBuchNummer"},
        {"Verfasser", "BuchVerfasser", "CBVerfasser"},
        {"Titel", "BuchTitel", "CBTitel"},
        {"Leser-Nr.", "LeserNummer", "CBLeserNummer"},
        {"Vorname", "LeserVorname", "CBVorname"},
        {"Nachname", "LeserNachname", "CBNachname"},
        {"Datum (Von)", "DatumVon", "CBDatumVon"},
        {"Datum (Bis)", "DatumBis", "CBDatumBis"},
        {"Soll-Rückgabe", "DatumBisSoll", "CBSollRueckgabe"},
    };
    for (int i = 0; i < 9; ++i) {
        PrintColumn c;
        c.heading = tr(specs[i].heading);
        c.field = QString::fromLatin1(specs[i].field);
        c.switchName = QString::fromLatin1(specs[i].switchName);
        c.switchText = c.heading;
        c.switchLine = i / 3;
        c.switchSlot = i % 3;
        c.numberColumn = i == 0 || i == 3;
        c.dateColumn = i >= 6;
        c.wrapTestBefore = i >= 3;
        list.columns.append(c);
    }
    return list;
}

} // namespace PrintLists
