// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/curves/curvesmodel.h"
#include "models/session/designsession.h"
#include "support/fakedialogs.h"
#include "support/patience.h"
#include "widgets/curves/curvechart.h"
#include "widgets/curves/curveswindow.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

Q_DECLARE_METATYPE(zorva::RoomCategory)

// The two windows as the session sees them: the test edits `fields`.
struct FakeDesign {
    FieldRecord fields = FieldRecord::defaults();
    DesignSession session;
    FakeDialogs dialogs;
    FakeDesign() {
        session.setFieldAccess([this] { return fields; }, [](const FieldRecord&) {});
    }
};

class CurvesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void seriesFollowTheDesign_data();
    void seriesFollowTheDesign();
    void limitLine_data();
    void limitLine();
    void editsRecomputeAfterTheyStop();
    void designPointAndLoad();
    void saveChart_data();
    void saveChart();
    void exportCsv();
    void copyTable();
};

void CurvesWindowTest::seriesFollowTheDesign_data() {
    QTest::addColumn<int>("field"); // design field, or 20 for the surface conductivity
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("spacingLines");
    QTest::addColumn<int>("coveringLines");
    QTest::addColumn<QString>("boldSpacing");

    QTest::newRow("defaults") << int(SpacingField) << "300" << 5 << 4 << "间距 300 mm（当前）";
    QTest::newRow("175 mm") << int(SpacingField) << "175" << 6 << 4 << "间距 175 mm（当前）";
    QTest::newRow("λ 0.5") << 20 << "0.5" << 5 << 5 << "间距 300 mm（当前）";
}

void CurvesWindowTest::seriesFollowTheDesign() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, spacingLines);
    QFETCH(int, coveringLines);
    QFETCH(QString, boldSpacing);

    FakeDesign d;
    CurvesWindow window(d.session, d.dialogs);
    (field == 20 ? d.fields.conductivity[0] : d.fields.design[field]) = text.toStdString();
    window.recompute();
    window.showTab(1);
    window.showTab(0);

    QCOMPARE(int(window.spacingChart()->curveLines().size()), spacingLines);
    QCOMPARE(int(window.coveringChart()->curveLines().size()), coveringLines);
    int bold = 0;
    for (QLineSeries* line : window.spacingChart()->curveLines()) {
        if (line->pen().widthF() > 3) {
            ++bold;
            QCOMPARE(line->name(), boldSpacing);
        }
    }
    QCOMPARE(bold, 1);
    // Gaps are left out, never drawn as 0: every drawn point has output.
    for (CurveChart* chart : {window.spacingChart(), window.coveringChart()})
        for (QAbstractSeries* s : chart->chart()->series())
            if (auto* line = qobject_cast<QLineSeries*>(s); line && line->isVisible())
                for (const QPointF& p : line->points())
                    QVERIFY2(p.y() > 0, qPrintable(line->name()));
    // The data tab holds every point of every curve.
    QCOMPARE(window.dataModel()->rowCount(),
             (spacingLines + coveringLines) * window.curves().grid.count);
}

void CurvesWindowTest::limitLine_data() {
    QTest::addColumn<QString>("room");
    QTest::addColumn<RoomCategory>("category");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");

    // q = 100·((limit − room)/9.82)^(1/0.969), worked by hand: 112.42 W/m²
    // at 18 ℃ for 29 ℃, 91.40 at 20 ℃, 70.52 at 22 ℃, and 144.19 for 32 ℃.
    QTest::newRow("29 ℃ at 18 ℃") << "18" << RoomCategory::LongStay << 112.37 << 112.47;
    QTest::newRow("29 ℃ at 20 ℃") << "20" << RoomCategory::LongStay << 91.35 << 91.45;
    QTest::newRow("29 ℃ at 22 ℃") << "22" << RoomCategory::LongStay << 70.47 << 70.57;
    QTest::newRow("32 ℃ at 18 ℃") << "18" << RoomCategory::ShortStay << 144.14 << 144.24;
    QTest::newRow("29 ℃ at 29 ℃: no line") << "29" << RoomCategory::LongStay << 0.0 << 0.0;
    // An EN category: the limit curve's q_G of EN 1264-2 example (b), 88.84253.
    QTest::newRow("residential: q_G") << "18" << RoomCategory::Residential << 88.8425 << 88.8426;
}

void CurvesWindowTest::limitLine() {
    QFETCH(QString, room);
    QFETCH(RoomCategory, category);
    QFETCH(double, low);
    QFETCH(double, high);

    FakeDesign d;
    d.fields.design[RoomTempField] = room.toStdString();
    CheckLimits limits;
    limits.category = category;
    d.session.setLimits(limits);
    CurvesWindow window(d.session, d.dialogs);
    for (CurveChart* chart : {window.spacingChart(), window.coveringChart()}) {
        window.showTab(chart == window.spacingChart() ? 0 : 1);
        QLineSeries* limit = chart->limitSeries();
        if (high == 0) {
            QVERIFY(!limit->isVisible());
            continue;
        }
        QVERIFY(limit->isVisible());
        QCOMPARE(limit->count(), 2);
        const double q = limit->at(0).y();
        QVERIFY2(q > low && q < high, qPrintable(QString::number(q)));
        QCOMPARE(limit->at(1).y(), q);
        if (category == RoomCategory::Residential) {
            QVERIFY(limit->name().startsWith(QStringLiteral("EN 1264-2 极限曲线 θ_F,max 29 ℃")));
            continue;
        }
        // The right axis puts the limit's mean floor temperature on that line.
        const QString label = category == RoomCategory::LongStay ? "29" : "32";
        QVERIFY(chart->floorAxis()->categoriesLabels().contains(label));
        QCOMPARE(chart->floorAxis()->endValue(label), q);
    }
}

void CurvesWindowTest::editsRecomputeAfterTheyStop() {
    FakeDesign d;
    CurvesWindow window(d.session, d.dialogs);
    // A burst of keystrokes, each within the wait of the one before. A busy
    // machine may stall the test longer than the wait between two of them;
    // the window then rightly recomputes, the burst proves nothing and is
    // typed again. The clock starts before each edit, so it never reads
    // less than the time the window has waited (coarse timers may end up to
    // 5 % early).
    const int earliestMs = CurvesWindow::kSettleMs * 95 / 100;
    // The charts lay themselves out on the first pass through the event
    // loop, which on a loaded machine alone outlasts the wait.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    int start = window.recomputations();
    bool burstHeld = false;
    for (int attempt = 0; attempt < 50 && !burstHeld; ++attempt) {
        window.recompute();
        start = window.recomputations();
        burstHeld = true;
        QElapsedTimer sinceEdit;
        for (const char* text : {"1", "17", "175"}) {
            sinceEdit.start();
            d.fields.design[SpacingField] = text;
            d.session.noteInputsEdited();
            QCOMPARE(window.recomputations(), start);
            QVERIFY(window.updatePending());
            QTest::qWait(CurvesWindow::kSettleMs / 4);
            if (window.recomputations() != start) {
                const qint64 waited = sinceEdit.elapsed();
                QVERIFY2(waited >= earliestMs,
                         qPrintable(QStringLiteral("recomputed %1 ms after an edit").arg(waited)));
                burstHeld = false;
                break;
            }
        }
    }
    QVERIFY2(burstHeld, "no burst of edits came within the wait");
    QTRY_COMPARE_WITH_TIMEOUT(window.recomputations(), start + 1, kPatienceMs);
    QCOMPARE(int(window.spacingChart()->curveLines().size()), 6);
    QTest::qWait(CurvesWindow::kSettleMs * 2);
    QCOMPARE(window.recomputations(), start + 1);
}

void CurvesWindowTest::designPointAndLoad() {
    FakeDesign d;
    CurvesWindow window(d.session, d.dialogs);
    QScatterSeries* design = window.spacingChart()->designSeries();
    QVERIFY(!design->isVisible());
    QVERIFY(!window.spacingChart()->loadSeries()->isVisible());

    // The default design: 92.6 W/m² at 45 − 18 = 27 K.
    const Evaluation run = evaluateDesign(d.fields);
    d.session.publishCalculation({d.fields, run});
    QVERIFY(design->isVisible());
    QCOMPARE(design->count(), 1);
    QCOMPARE(design->at(0).x(), 27.0);
    QCOMPARE(qRound(design->at(0).y() * 10), 926);
    QCOMPARE(design->name(), QStringLiteral("设计点"));
    d.session.noteInputsEdited();
    QCOMPARE(design->name(), QStringLiteral("设计点"));
    QTRY_COMPARE_WITH_TIMEOUT(design->name(), QStringLiteral("设计点（输入已修改）"), kPatienceMs);

    CheckLimits limits;
    limits.loadPerArea = 80;
    d.session.setLimits(limits);
    window.showTab(1);
    QLineSeries* load = window.coveringChart()->loadSeries();
    QVERIFY(load->isVisible());
    QCOMPARE(load->at(0).y(), 80.0);
    QCOMPARE(load->name(), QStringLiteral("热负荷 80 W/m²"));
}

void CurvesWindowTest::saveChart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("head"); // the file's first bytes, or a text it holds

    QTest::newRow("png") << "a.png"
                         << "a.png" << QByteArray("\x89PNG\r\n\x1a\n");
    QTest::newRow("svg") << "b.SVG"
                         << "b.SVG" << QByteArray("<svg");
    QTest::newRow("no suffix: png") << "c"
                                    << "c.png" << QByteArray("\x89PNG\r\n\x1a\n");
    QTest::newRow("missing folder") << "none/d.png" << QString() << QByteArray();
}

void CurvesWindowTest::saveChart() {
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(QByteArray, head);

    QTemporaryDir dir;
    FakeDesign d;
    CurvesWindow window(d.session, d.dialogs);
    window.resize(800, 500);
    d.dialogs.answerSave(dir.filePath(name));
    if (written.isEmpty())
        d.dialogs.expectMessages(1);
    window.saveChart();
    QCOMPARE(d.dialogs.pendingExpectations(), 0);
    if (written.isEmpty()) {
        QVERIFY(d.dialogs.messages().front().text.startsWith(QStringLiteral("无法保存文件")));
        QVERIFY(!QFile::exists(dir.filePath(name)));
        return;
    }
    QFile file(dir.filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(head.startsWith('<') ? bytes.contains(head) : bytes.startsWith(head));
}

void CurvesWindowTest::exportCsv() {
    QTemporaryDir dir;
    FakeDesign d;
    d.fields.design[SpacingField] = "175";
    CurvesWindow window(d.session, d.dialogs);
    d.dialogs.answerSave(dir.filePath("data"));
    window.exportData();
    QFile file(dir.filePath("data.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QList<QByteArray> lines = bytes.mid(3).split('\n');
    QCOMPARE(lines.takeLast(), QByteArray()); // the last record ends with CRLF too
    QCOMPARE(lines.size(), 1 + 10 * window.curves().grid.count);
    for (const QByteArray& line : lines)
        QVERIFY2(line.endsWith('\r') && line.count(',') == 7, line.constData());
    QVERIFY(lines[0].startsWith(QStringLiteral("曲线族,曲线,供水温度 (℃)").toUtf8()));
    // The last point of the 175 mm curve: supply 60 ℃ with its 10 ℃ difference.
    const int last = 6 * window.curves().grid.count;
    QVERIFY(lines[last].startsWith(QStringLiteral("管间距,间距 175 mm（当前）,60,50,").toUtf8()));
}

void CurvesWindowTest::copyTable() {
    FakeDesign d;
    CurvesWindow window(d.session, d.dialogs);
    window.showTab(2);
    window.copyToClipboard();
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 9 * window.curves().grid.count);
    QVERIFY(lines[0].startsWith(QStringLiteral("曲线族\t曲线\t供水温度 (℃)")));
    QCOMPARE(lines[1].count(u'\t'), 7);
}

QTEST_MAIN(CurvesWindowTest)
#include "tst_curveswindow.moc"
