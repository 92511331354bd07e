// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting a CSV table at the row ends CsvRowSplitter finds, and reading each
// piece with a CsvRowReader started at the piece's line, gives the rows and
// line numbers of reading the table whole.

#include "core/csv/csvreader.h"

#include <QRandomGenerator>
#include <QTest>

using namespace zorva::csv;

class CsvRowSplitterTest : public QObject {
    Q_OBJECT

private slots:
    void piecesReadAsTheWhole_data();
    void piecesReadAsTheWhole();
};

namespace {

struct Rows {
    QList<QStringList> rows;
    QList<int> lines;
    QString error;
};

void readInto(Rows& out, CsvRowReader& reader) {
    QStringList row;
    int line = 0;
    while (reader.takeRow(row, line)) {
        out.rows << row;
        out.lines << line;
    }
    if (reader.failed())
        out.error = reader.error();
}

// Cuts after every row end the splitter finds, the bytes arriving in
// pieces of `step`.
Rows readInPieces(const QByteArray& bytes, int step) {
    Rows out;
    CsvRowSplitter splitter;
    QByteArray pending;
    qsizetype scan = 0;
    int line = 1;
    const auto readPiece = [&](qsizetype end) {
        CsvRowReader reader(line);
        reader.feed(QString::fromUtf8(pending.first(end)));
        reader.finish();
        readInto(out, reader);
        pending.remove(0, end);
        scan -= end;
        line = splitter.lines() + 1;
    };
    for (qsizetype at = 0; at < bytes.size() && out.error.isEmpty(); at += step) {
        pending += bytes.mid(at, step);
        while (out.error.isEmpty() && splitter.next(pending, scan))
            readPiece(scan);
        if (splitter.broken())
            break;
    }
    if (out.error.isEmpty() && !pending.isEmpty())
        readPiece(pending.size());
    return out;
}

} // namespace

void CsvRowSplitterTest::piecesReadAsTheWhole_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("step");
    QTest::newRow("CR LF split between reads") << QByteArray("a,b\r\nc,d\r\n") << 4;
    QTest::newRow("lone CR at a read's end") << QByteArray("a\rb\r\rc") << 2;
    QTest::newRow("quoted line ends") << QByteArray("\"x\r\ny\",1\n\"p\rq\n\"\r\n2") << 3;
    QTest::newRow("quote inside an unquoted field") << QByteArray("a\"b,\"c\nd\n") << 1;
    QTest::newRow("doubled quotes") << QByteArray("\"a\"\"\nb\",c\r\nd") << 5;
    QTest::newRow("text after a closing quote") << QByteArray("a\n\"b\"c\nd\n") << 2;
    QTest::newRow("open quote at the end") << QByteArray("a\n\"b\nc") << 3;
    // Random tables of the characters that matter.
    QRandomGenerator random(14);
    const char alphabet[] = {'a', ',', '"', '\r', '\n', '1'};
    for (int t = 0; t < 40; ++t) {
        QByteArray bytes;
        for (int i = 0; i < 200; ++i)
            bytes += alphabet[random.bounded(int(sizeof alphabet))];
        QTest::addRow("random %d", t) << bytes << 1 + random.bounded(7);
    }
}

void CsvRowSplitterTest::piecesReadAsTheWhole() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, step);
    Rows whole;
    CsvRowReader reader;
    reader.feed(QString::fromUtf8(bytes));
    reader.finish();
    readInto(whole, reader);
    const Rows pieces = readInPieces(bytes, step);
    QCOMPARE(pieces.error, whole.error);
    QCOMPARE(pieces.rows, whole.rows);
    QCOMPARE(pieces.lines, whole.lines);
}

QTEST_APPLESS_MAIN(CsvRowSplitterTest)
#include "tst_csvrowsplitter.moc"
