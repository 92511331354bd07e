// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heatload/citytable.h"
#include "core/io/citytablefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zorva::heatload;
using namespace zorva::io;

Q_DECLARE_METATYPE(zorva::heatload::CityTableFault)

namespace {

struct SheetCity {
    const char* name;
    const char* province;
    const char* station;
    double temp;
    double sunshine;
};

// Fifty-nine cities of GB 50736-2012 Appendix A with their heating outdoor
// temperature and winter sunshine, from a reading of the table made apart
// from data/cities.csv.
const SheetCity kSheetCities[] = {
    {"北京", "北京", "54511", -7.6, 64},        {"天津", "天津", "54527", -7.0, 58},
    {"石家庄", "河北", "53698", -6.2, 56},      {"太原", "山西", "53772", -10.1, 57},
    {"呼和浩特", "内蒙古", "53463", -17.0, 63}, {"沈阳", "辽宁", "54342", -16.9, 56},
    {"长春", "吉林", "54161", -21.1, 64},       {"哈尔滨", "黑龙江", "50953", -24.2, 56},
    {"上海", "上海", "58367", -0.3, 40},        {"南京", "江苏", "58238", -1.8, 43},
    {"杭州", "浙江", "58457", 0.0, 36},         {"合肥", "安徽", "58321", -1.7, 40},
    {"福州", "福建", "58847", 6.3, 32},         {"南昌", "江西", "58606", 0.7, 33},
    {"济南", "山东", "54823", -5.3, 56},        {"郑州", "河南", "57083", -3.8, 47},
    {"武汉", "湖北", "57494", -0.3, 37},        {"长沙", "湖南", "57679", 0.3, 26},
    {"广州", "广东", "59287", 8.0, 36},         {"南宁", "广西", "59431", 7.6, 25},
    {"海口", "海南", "59758", 12.6, 34},        {"重庆", "重庆", "57515", 4.1, 7.5},
    {"成都", "四川", "56294", 2.7, 17},         {"贵阳", "贵州", "57816", -0.3, 15},
    {"昆明", "云南", "56778", 3.6, 66},         {"拉萨", "西藏", "55591", -5.2, 77},
    {"西安", "陕西", "57036", -3.4, 32},        {"兰州", "甘肃", "52889", -9.0, 53},
    {"西宁", "青海", "52866", -11.4, 68},       {"银川", "宁夏", "53614", -13.1, 68},
    {"乌鲁木齐", "新疆", "51463", -19.7, 39},   {"大连", "辽宁", "54662", -9.8, 65},
    {"鞍山", "辽宁", "54339", -15.1, 60},       {"吉林", "吉林", "54172", -24.0, 52},
    {"齐齐哈尔", "黑龙江", "50745", -23.8, 68}, {"牡丹江", "黑龙江", "54094", -22.4, 56},
    {"漠河", "黑龙江", "50136", -37.5, 60},     {"唐山", "河北", "54534", -9.2, 60},
    {"保定", "河北", "54602", -7.0, 56},        {"张家口", "河北", "54401", -13.6, 65},
    {"秦皇岛", "河北", "54449", -9.6, 64},      {"大同", "山西", "53487", -16.3, 61},
    {"包头", "内蒙古", "53446", -16.6, 68},     {"赤峰", "内蒙古", "54218", -16.2, 70},
    {"青岛", "山东", "54857", -5.0, 59},        {"烟台", "山东", "54765", -5.8, 49},
    {"徐州", "江苏", "58027", -3.6, 48},        {"苏州", "江苏", "58358", -0.4, 41},
    {"宁波", "浙江", "58562", 0.5, 37},         {"温州", "浙江", "58659", 3.4, 36},
    {"厦门", "福建", "59134", 8.3, 33},         {"洛阳", "河南", "57073", -3.0, 49},
    {"宜昌", "湖北", "57461", 0.9, 27},         {"深圳", "广东", "59493", 9.2, 43},
    {"桂林", "广西", "57957", 3.0, 24},         {"三亚", "海南", "59948", 17.9, 54},
    {"延安", "陕西", "53845", -10.3, 61},       {"克拉玛依", "新疆", "51243", -22.2, 47},
    {"喀什", "新疆", "51709", -10.9, 53},
};

const CityTable& builtin() {
    static const CityTableLoad load = loadBuiltinCityTable();
    return *load;
}

} // namespace

class CityTableTest : public QObject {
    Q_OBJECT

private slots:
    void builtinTableReads();
    void sheetCities_data();
    void sheetCities();
    void parseFaults_data();
    void parseFaults();
    void fileLoading_data();
    void fileLoading();
};

void CityTableTest::builtinTableReads() {
    const CityTableLoad load = loadBuiltinCityTable();
    QVERIFY2(load.ok(), qPrintable(load.error()));
    QVERIFY(load->errors.empty());
    // The transcription's own count of Appendix A's stations.
    QCOMPARE(load->cities.size(), std::size_t(294));
    QVERIFY(load->source.find("GB 50736-2012") != std::string::npos);
    QVERIFY(load->source.find("308338006742d8f23bfda3bfae076a20ecf03c80") != std::string::npos);
}

void CityTableTest::sheetCities_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("province");
    QTest::addColumn<QString>("station");
    QTest::addColumn<double>("temp");
    QTest::addColumn<double>("sunshine");
    for (const SheetCity& c : kSheetCities)
        QTest::newRow(c.name) << QString::fromUtf8(c.name) << QString::fromUtf8(c.province)
                              << QString(c.station) << c.temp << c.sunshine;
}

// Found by its name, the one station the sheet gives, with its values.
void CityTableTest::sheetCities() {
    QFETCH(QString, name);
    QFETCH(QString, province);
    QFETCH(QString, station);
    QFETCH(double, temp);
    QFETCH(double, sunshine);
    const std::vector<const City*> found = findCities(builtin(), name.toStdString());
    QCOMPARE(found.size(), std::size_t(1));
    const City& city = *found.front();
    QCOMPARE(QString::fromStdString(city.stationId), station);
    QCOMPARE(QString::fromStdString(city.province), province);
    QCOMPARE(city.heatingOutdoorTemp, temp);
    QVERIFY(city.winterSunshine);
    QCOMPARE(*city.winterSunshine, sunshine);
    QCOMPARE(findStation(builtin(), station.toStdString()), &city);
}

void CityTableTest::parseFaults_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("cities");
    QTest::addColumn<int>("errorLine");
    QTest::addColumn<CityTableFault>("fault");
    const QByteArray header = "station_id,province,city,station,period,heating_outdoor_c,"
                              "winter_sunshine_pct\n";
    const QByteArray beijing = "54511,北京,北京,北京,1971~2000,-7.6,64\n";
    using F = CityTableFault;
    QTest::newRow("good") << header + beijing << 1 << 0 << F::NoHeader;
    QTest::newRow("BOM, CRLF, comments")
        << "\xEF\xBB\xBF# source: x\r\n\r\n" + header + "# a note\r\n" + beijing << 1 << 0
        << F::NoHeader;
    QTest::newRow("columns in another order, no period")
        << QByteArray("city,station,station_id,province,winter_sunshine_pct,heating_outdoor_c\n"
                      "北京,北京,54511,北京,64,-7.6\n")
        << 1 << 0 << F::NoHeader;
    QTest::newRow("typographic minus") << header + "54511,北京,北京,北京,,\xE2\x88\x92"
                                                   "7.6,64\n"
                                       << 1 << 0 << F::NoHeader;
    QTest::newRow("no sunshine") << header + "54511,北京,北京,北京,,-7.6,\n"
                                 << 1 << 0 << F::NoHeader;
    QTest::newRow("empty") << QByteArray("# only a comment\n") << 0 << 1 << F::NoHeader;
    QTest::newRow("missing column")
        << QByteArray("station_id,province,city,station,period,winter_sunshine_pct\n") + beijing
        << 0 << 1 << F::MissingColumn;
    QTest::newRow("short row") << header + "54511,北京,北京,北京,-7.6,64\n"
                               << 0 << 2 << F::FieldCount;
    QTest::newRow("text for a number") << header + "54511,北京,北京,北京,,-7.6x,64\n"
                                       << 0 << 2 << F::BadNumber;
    QTest::newRow("comma decimal") << header + "54511,北京,北京,北京,,\"-7,6\",64\n"
                                   << 0 << 2 << F::FieldCount;
    QTest::newRow("temperature out of range") << header + "54511,北京,北京,北京,,-76,64\n"
                                              << 0 << 2 << F::OutOfRange;
    QTest::newRow("sunshine out of range") << header + "54511,北京,北京,北京,,-7.6,164\n"
                                           << 0 << 2 << F::OutOfRange;
    QTest::newRow("no name") << header + "54511,北京,,北京,,-7.6,64\n" << 0 << 2 << F::EmptyName;
    QTest::newRow("duplicate station")
        << header + beijing + beijing << 1 << 3 << F::DuplicateStation;
}

void CityTableTest::parseFaults() {
    QFETCH(QByteArray, text);
    QFETCH(int, cities);
    QFETCH(int, errorLine);
    QFETCH(CityTableFault, fault);
    const CityTable table = parseCityTable(std::string_view(text.constData(), text.size()));
    QCOMPARE(int(table.cities.size()), cities);
    if (errorLine == 0) {
        QVERIFY(table.errors.empty());
        const City& c = table.cities.front();
        QCOMPARE(c.heatingOutdoorTemp, -7.6);
        QCOMPARE(QString::fromStdString(c.city), QString("北京"));
        return;
    }
    QCOMPARE(table.errors.size(), std::size_t(1));
    QCOMPARE(table.errors.front().line, errorLine);
    QCOMPARE(table.errors.front().fault, fault);
}

void CityTableTest::fileLoading_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("a good file") << "good" << true << "";
    QTest::newRow("a folder") << "folder" << false << "找不到";
    QTest::newRow("missing") << "missing" << false << "找不到";
    QTest::newRow("too large") << "large" << false << "过大";
    QTest::newRow("nothing readable") << "bad" << false << "第 2 行";
    QTest::newRow("a named pipe, refused without waiting")
        << "pipe" << false << "“cities.csv”不是普通文件，未读取。";
}

void CityTableTest::fileLoading() {
    QFETCH(QString, kind);
    QFETCH(bool, ok);
    QFETCH(QString, errorPart);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath("cities.csv");
    QFile file(path);
    if (kind == "folder") {
        path = dir.path();
    } else if (kind == "pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind != "missing") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("station_id,province,city,station,heating_outdoor_c,winter_sunshine_pct\n");
        if (kind == "good")
            file.write("99999,某省,某市,某站,-3.5,50\n");
        else if (kind == "bad")
            file.write("99999,某省,某市,某站,cold,50\n");
        else
            file.write(QByteArray(int(kCityTableSizeLimit), '#'));
        file.close();
    }
    const CityTableLoad load = loadCityTableFile(path);
    QCOMPARE(load.ok(), ok);
    if (ok) {
        QCOMPARE(load->cities.size(), std::size_t(1));
        QCOMPARE(load->cities.front().heatingOutdoorTemp, -3.5);
    } else {
        QVERIFY2(load.error().contains(errorPart), qPrintable(load.error()));
    }
}

QTEST_GUILESS_MAIN(CityTableTest)
#include "tst_citytable.moc"
