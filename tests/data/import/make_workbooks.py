#!/usr/bin/env python3
"""Writes the two small workbooks of the import tests, books.xlsx and books.ods, beside this
script. Both hold the same sheets: "Bücher" (text with umlauts and €, a price, dates in a built-in
and in a custom format, booleans, a formula with its stored result, empty cells, an empty row) and
"Leer". Run it with Python 3 (standard library only) after changing it, and commit both files."""

import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
STAMP = (2024, 1, 1, 0, 0, 0)  # fixed, so that running the script again gives the same bytes


def write_zip(path, members):
    with zipfile.ZipFile(path, "w") as z:
        for name, text, compress in members:
            info = zipfile.ZipInfo(name, STAMP)
            info.compress_type = zipfile.ZIP_DEFLATED if compress else zipfile.ZIP_STORED
            z.writestr(info, text.encode("utf-8"))


def xlsx():
    strings = ["Verfasser", "Titel", "Preis", "Erschienen", "Ausgeliehen", "Doppelt",
               "Müller", "Straße & Weg, 12 €", "Özdemir", "Zuletzt"]
    sst = "".join(f"<si><t>{s.replace('&', '&amp;')}</t></si>" for s in strings)

    def s(ref, i):
        return f'<c r="{ref}" t="s"><v>{i}</v></c>'

    rows = [
        "".join(s(f"{c}1", i) for i, c in enumerate("ABCDEF")),
        s("A2", 6) + s("B2", 7) + '<c r="C2" s="3"><v>12.5</v></c><c r="D2" s="1"><v>43831</v></c>'
        '<c r="E2" t="b"><v>1</v></c><c r="F2"><f>C2*2</f><v>25</v></c>',
        s("A3", 8) + '<c r="C3"><v>7</v></c><c r="D3" s="2"><v>36526.5</v></c><c r="E3" t="b"><v>0</v></c>'
        '<c r="F3"><f>C3*2</f><v>14</v></c>',
        s("A5", 9),
    ]
    sheet1 = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
              '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
              + "".join(f'<row r="{n}">{r}</row>' for n, r in zip((1, 2, 3, 5), rows))
              + "</sheetData></worksheet>")
    sheet2 = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
              '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData/></worksheet>')
    styles = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
              '<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
              '<numFmts count="1"><numFmt numFmtId="164" formatCode="dd/mm/yyyy\\ hh:mm"/></numFmts>'
              '<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>'
              '<fills count="1"><fill><patternFill patternType="none"/></fill></fills>'
              '<borders count="1"><border/></borders>'
              '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
              '<cellXfs count="4">'
              '<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
              '<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
              '<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
              '<xf numFmtId="4" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
              '</cellXfs></styleSheet>')
    workbook = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
                'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>'
                '<sheet name="Bücher" sheetId="1" r:id="rId1"/><sheet name="Leer" sheetId="2" r:id="rId2"/>'
                "</sheets></workbook>")
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    wb_rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
               '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               f'<Relationship Id="rId1" Type="{rel}/worksheet" Target="worksheets/sheet1.xml"/>'
               f'<Relationship Id="rId2" Type="{rel}/worksheet" Target="worksheets/sheet2.xml"/>'
               f'<Relationship Id="rId3" Type="{rel}/styles" Target="styles.xml"/>'
               f'<Relationship Id="rId4" Type="{rel}/sharedStrings" Target="sharedStrings.xml"/>'
               "</Relationships>")
    root_rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                 '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                 f'<Relationship Id="rId1" Type="{rel}/officeDocument" Target="xl/workbook.xml"/>'
                 "</Relationships>")
    ct = "application/vnd.openxmlformats-officedocument.spreadsheetml"
    types = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             '<Default Extension="xml" ContentType="application/xml"/>'
             f'<Override PartName="/xl/workbook.xml" ContentType="{ct}.sheet.main+xml"/>'
             f'<Override PartName="/xl/worksheets/sheet1.xml" ContentType="{ct}.worksheet+xml"/>'
             f'<Override PartName="/xl/worksheets/sheet2.xml" ContentType="{ct}.worksheet+xml"/>'
             f'<Override PartName="/xl/styles.xml" ContentType="{ct}.styles+xml"/>'
             f'<Override PartName="/xl/sharedStrings.xml" ContentType="{ct}.sharedStrings+xml"/>'
             "</Types>")
    sst_xml = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
               f'<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="{len(strings)}" '
               f'uniqueCount="{len(strings)}">{sst}</sst>')
    write_zip(os.path.join(HERE, "books.xlsx"), [
        ("[Content_Types].xml", types, True),
        ("_rels/.rels", root_rels, True),
        ("xl/workbook.xml", workbook, True),
        ("xl/_rels/workbook.xml.rels", wb_rels, True),
        ("xl/styles.xml", styles, True),
        ("xl/sharedStrings.xml", sst_xml, True),
        ("xl/worksheets/sheet1.xml", sheet1, True),
        ("xl/worksheets/sheet2.xml", sheet2, True),
    ])


def ods():
    def text(t):
        return f'<table:table-cell office:value-type="string"><text:p>{t.replace("&", "&amp;")}</text:p></table:table-cell>'

    def cell(attrs):
        return f"<table:table-cell {attrs}/>"

    empty = "<table:table-cell/>"
    rows = [
        "".join(text(t) for t in ["Verfasser", "Titel", "Preis", "Erschienen", "Ausgeliehen", "Doppelt"]),
        text("Müller") + text("Straße & Weg, 12 €")
        + cell('office:value-type="currency" office:currency="EUR" office:value="12.5"')
        + cell('office:value-type="date" office:date-value="2020-01-01"')
        + cell('office:value-type="boolean" office:boolean-value="true"')
        + cell('table:formula="of:=[.C2]*2" office:value-type="float" office:value="25"'),
        text("Özdemir") + empty + cell('office:value-type="float" office:value="7"')
        + cell('office:value-type="date" office:date-value="2000-01-01T12:00:00"')
        + cell('office:value-type="boolean" office:boolean-value="false"')
        + cell('table:formula="of:=[.C3]*2" office:value-type="float" office:value="14"'),
        '<table:table-cell table:number-columns-repeated="6"/>',
        text("Zuletzt"),
    ]
    ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
          'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
          'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2"')
    content = ('<?xml version="1.0" encoding="UTF-8"?>'
               f"<office:document-content {ns}><office:body><office:spreadsheet>"
               '<table:table table:name="Bücher">'
               + "".join(f"<table:table-row>{r}</table:table-row>" for r in rows)
               # the endless empty tail a spreadsheet program writes after the last row
               + '<table:table-row table:number-rows-repeated="1048571">'
               '<table:table-cell table:number-columns-repeated="1024"/></table:table-row>'
               + '</table:table><table:table table:name="Leer"><table:table-row><table:table-cell/>'
               "</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>")
    manifest = ('<?xml version="1.0" encoding="UTF-8"?>'
                '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" '
                'manifest:version="1.2">'
                '<manifest:file-entry manifest:full-path="/" '
                'manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
                '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
                "</manifest:manifest>")
    write_zip(os.path.join(HERE, "books.ods"), [
        ("mimetype", "application/vnd.oasis.opendocument.spreadsheet", False),
        ("META-INF/manifest.xml", manifest, True),
        ("content.xml", content, True),
    ])


xlsx()
ods()
