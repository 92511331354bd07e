// SPDX-License-Identifier: GPL-3.0-or-later
// zorva-calc: the program's method from the command line, without a display.

#include "cli/calcmode.h"
#include "cli/cliinput.h"
#include "cli/csvstream.h"
#include "cli/designrun.h"
#include "cli/exitstatus.h"
#include "cli/methoddesign.h"
#include "cli/projectlayout.h"
#include "cli/projectrun.h"
#include "core/cooling/limits.h"
#include "core/engine/manifold.h"
#include "core/io/fileread.h"
#include "core/io/safesave.h"
#include "core/project/coolinginputs.h"
#include "core/wording/translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zorva::cli {
namespace {

void printError(const QString& message) {
    std::fputs(qPrintable(QStringLiteral("zorva-calc：") + message + u'\n'), stderr);
}

// Writes to standard output; a failure is kept in `outcome` with the
// system's reason.
void printOut(const QByteArray& bytes, Result<void>& outcome) {
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
            static_cast<std::size_t>(bytes.size()) &&
        outcome)
        outcome = stop(InputError, QStringLiteral("写出结果失败"), qt_error_string(errno));
}

// Ends the run: the problem's message, then its status.
int finish(const Result<void>& outcome) {
    if (outcome)
        return AllComputed;
    printError(outcome.problem().text());
    return outcome.problem().code;
}

int usage(const QString& message) {
    return finish(stop(UsageError, message + QStringLiteral("\n用 zorva-calc --help 查看用法。")));
}

// A standard stream the shell left closed (`>&-`) would be taken by the
// next file the program opens (the input, an event descriptor of Qt's), and
// the results would be written there or lost without a word. Each closed one
// gets /dev/null, standard output read-only, so that writing the results
// fails with the system's reason.
void holdClosedStandardStreams() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        // open() takes the lowest free descriptor, which is this one.
        const int held = ::open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd)
            ::close(held);
    }
}

// The bytes a positional argument was given as: Qt decodes the command line
// as UTF-8, and a file name that is not valid UTF-8 (common in archives from
// other systems) would come back as another name.
QByteArray argumentBytes(const QString& argument, int argc, char** argv) {
    for (int i = argc - 1; i > 0; --i)
        if (QString::fromLocal8Bit(argv[i]) == argument)
            return QByteArray(argv[i]);
    return QFile::encodeName(argument);
}

void printTiming(qint64 designs, const QElapsedTimer& timer) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const auto secondsOf = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    const double cpu = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
    std::fprintf(stderr, "%s\n",
                 qPrintable(QStringLiteral("计时：%1 个设计，用时 %2 s（处理器时间 %3 s），"
                                           "每秒 %4 个设计，峰值常驻内存 %5 MiB")
                                .arg(designs)
                                .arg(seconds, 0, 'f', 3)
                                .arg(cpu, 0, 'f', 3)
                                .arg(seconds > 0 ? double(designs) / seconds : 0.0, 0, 'f', 0)
                                .arg(double(usage.ru_maxrss) / 1024.0, 0, 'f', 1)));
}

const char* const kDescription =
    "地暖盘管环路计算（Zorva 的计算方法），不需要图形界面。\n"
    "\n"
    "三种用法：\n"
    "  zorva-calc --design 18,50,40,300,90,20,120 [构造选项] [--load 数值] [--category 类别]\n"
    "      计算一个设计：七个值依次是主窗口的 室内温度(℃)、供水温度(℃)、回水温度(℃)、\n"
    "      盘管间距(mm)、盘管埋深(mm)、盘管外径(mm)、单管长度(m)；输出与主窗口相同的七个\n"
    "      结果，再输出设计校核的结论、调整建议和 EN 1264-2 对比。盘管埋深与主窗口一样决定\n"
    "      填充层厚度（埋深减去地面层和找平层）；盘管外径大于填充层厚度时按外径加厚填充层。\n"
    "      每个值须在多环路计算表 CSV 同一列允许的范围内。\n"
    "  zorva-calc designs.csv   （或 - 表示标准输入）\n"
    "      每行一个设计，列与多环路计算表导出的 CSV 相同（至少要有 室内温度、盘管间距、\n"
    "      单管长度 三列）；缺少或留空的分集水器列取命令行的设计（--design 与构造选项，\n"
    "      未给出时取主窗口的默认值）。输入可为 UTF-8、GBK 或带字节顺序标记的\n"
    "      UTF-16（按文件开头判断）；\n"
    "      输出为 UTF-8、CR LF 行尾的 CSV，默认不带字节顺序标记（加 --bom 则带）。\n"
    "      大文件分块读取，在所有处理器核上计算，按原顺序写出。\n"
    "  zorva-calc project.zorvaproj [--json | --materials] [--category 类别] [--method 方法]\n"
    "      [--mode heating|cooling|both] [--humidity %] [--room-temp ℃]\n"
    "      计算多环路项目文件：环路结果、平衡、每个环路的校核与合计，输出 CSV（“校核”列，\n"
    "      空一行后是含校核结论的合计表）或 JSON（每个环路的 checks）。版本 2 的项目文件\n"
    "      输出房间、分集水器、阀门预设定、流量计设定、循环泵工况与材料表；--materials\n"
    "      只输出材料表与管材裁切方案（CSV）。--mode 代替文件中的工况（供冷和供暖和供冷时\n"
    "      输出每个房间的供冷量、露点、最低供水温度和结论）；--humidity、--room-temp 代替\n"
    "      每个房间的供冷设计状态，只用于本次计算，不改文件。\n"
    "  zorva-calc project.zorvaproj --layout 图纸.dxf|图纸.svg\n"
    "      为每个有轮廓的房间自动布管，写出环路布置图（每个环路一个图层，含分集水器、\n"
    "      房间轮廓和标注），在标准错误上报告房间数、环路数和管长。\n"
    "\n"
    "设计和设计表可按 --method en1264 用 EN 1264-2 计算，或按 --mode cooling 计算地面供冷\n"
    "（设计的供水温度为较低的供冷供水温度，回水温度高于它；设计表的供回水温差为温升）。\n"
    "\n"
    "退出状态：0 全部算出；1 命令行用法错误；2 输入无法读取或有错误（指明行和字段），\n"
    "或结果无法写出；3 有设计出现运算错误或未收敛（这些行的“状态”列写明原因）；\n"
    "4 给出 --strict 且有校核结论为“不合格”（状态 2、3 优先）。";

} // namespace
} // namespace zorva::cli

using namespace zorva;
using namespace zorva::cli;

int main(int argc, char** argv) {
    // A write past a file-size limit then fails with EFBIG (status 2)
    // instead of the signal ending the program.
    io::ignoreFileSizeSignal();
    holdClosedStandardStreams();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorva-calc"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORVA_VERSION));
    installQtTranslations(app, QLocale(QLocale::Chinese, QLocale::China));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption design(
        QStringLiteral("design"),
        QStringLiteral("设计的七个值，以逗号分开：室内温度,供水温度,回水温度,盘管间距,盘管埋深,"
                       "盘管外径,单管长度。"),
        QStringLiteral("七个值"));
    const QCommandLineOption thickness(
        QStringLiteral("thickness"),
        QStringLiteral("四个厚度(mm)：地面层,找平层,填充层,塑料管壁（默认 20,20,50,2）。"),
        QStringLiteral("四个值"));
    const QCommandLineOption conductivity(
        QStringLiteral("conductivity"),
        QStringLiteral("四个导热系数(W/(m·℃))：地面层,找平层,填充层,塑料管"
                       "（默认 2.91,1.84,1.28,0.41）。"),
        QStringLiteral("四个值"));
    const QCommandLineOption elbows(QStringLiteral("elbows"),
                                    QStringLiteral("每个环路的 90 度弯头数（默认 2）。"),
                                    QStringLiteral("个数"));
    const QCommandLineOption load(
        QStringLiteral("load"),
        QStringLiteral("校核用的单位面积热负荷(W/m²)；不给出时不校核散热量。只用于 --design。"),
        QStringLiteral("W/m²"));
    const QCommandLineOption category(QStringLiteral("category"),
                                      QStringLiteral("校核用的房间类别（默认 1）：") +
                                          roomCategoryHelp() +
                                          QStringLiteral("。用于 --design 和项目文件。"),
                                      QStringLiteral("类别"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("--design 或项目文件的结果以 JSON 输出。"));
    const QCommandLineOption methodOption(
        QStringLiteral("method"),
        QStringLiteral("计算方法：program（本程序方法，默认）或 en1264（EN 1264-2）。用于 --design "
                       "和设计表 CSV；用于项目文件时代替文件中的计算方法。"),
        QStringLiteral("方法"));
    const QCommandLineOption modeOption(
        QStringLiteral("mode"),
        QStringLiteral("工况：heating（供暖，默认）或 cooling（供冷，按 EN 1264-5）。用于 --design "
                       "和设计表 CSV；用于项目文件时代替文件中的工况，还可为 both（供暖和供冷）。"),
        QStringLiteral("工况"));
    const QCommandLineOption humidity(
        QStringLiteral("humidity"),
        QStringLiteral("供冷房间的相对湿度(%)，默认 50。用于 --mode cooling；用于项目文件时代替"
                       "每个房间的相对湿度（项目须供冷）。"),
        QStringLiteral("%"));
    const QCommandLineOption roomTemp(
        QStringLiteral("room-temp"),
        QStringLiteral("供冷房间的室内温度(℃)，代替设计的室内温度；没有 --design 时默认 26。"
                       "用于 --mode cooling；用于项目文件时代替每个房间的供冷室内温度（项目须"
                       "供冷）。"),
        QStringLiteral("℃"));
    const QCommandLineOption bom(QStringLiteral("bom"),
                                 QStringLiteral("CSV 输出以 UTF-8 字节顺序标记开头（便于电子表格"
                                                "程序识别）。只用于 CSV 输出。"));
    const QCommandLineOption time(
        QStringLiteral("time"), QStringLiteral("在标准错误上报告每秒算出的设计数和峰值常驻内存。"));
    const QCommandLineOption strict(
        QStringLiteral("strict"),
        QStringLiteral("有校核结论为“不合格”时以状态 4 退出。只用于 --design 和项目文件。"));
    const QCommandLineOption layoutOut(
        QStringLiteral("layout"),
        QStringLiteral(
            "为项目中有轮廓的房间布管，写出环路布置图（.dxf 或 .svg）。只用于项目文件。"),
        QStringLiteral("图纸文件"));
    parser.addOptions({design, thickness, conductivity, elbows, load, category, json, bom, time,
                       strict, methodOption, modeOption, humidity, roomTemp, layoutOut});
    const QCommandLineOption materials(
        QStringLiteral("materials"),
        QStringLiteral("输出项目的材料表与管材裁切方案（CSV）。只用于项目文件。"));
    parser.addOption(materials);
    parser.addPositionalArgument(
        QStringLiteral("文件"),
        QStringLiteral("设计表 CSV 文件（- 为标准输入）或多环路项目文件（.zorvaproj）。"),
        QStringLiteral("[文件]"));

    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(AllComputed);
    if (parser.isSet(version))
        parser.showVersion();

    DesignOptions options;
    const auto take = [&](const QCommandLineOption& option, std::optional<QString>& slot) {
        if (parser.isSet(option))
            slot = parser.values(option).constLast();
    };
    take(design, options.design);
    take(thickness, options.thickness);
    take(conductivity, options.conductivity);
    take(elbows, options.elbows);
    take(load, options.load);
    take(category, options.category);
    ModeOptions modeOptions;
    take(methodOption, modeOptions.method);
    take(modeOption, modeOptions.mode);
    take(humidity, modeOptions.humidity);
    take(roomTemp, modeOptions.roomTemp);
    const bool designOptions =
        options.design || options.thickness || options.conductivity || options.elbows;
    const bool checkOptions = options.load || options.category;

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usage(QStringLiteral("只能给出一个输入文件"));
    if (files.isEmpty() && !designOptions)
        return usage(QStringLiteral("请用 --design 给出一个设计，或给出输入文件"));
    const bool project =
        !files.isEmpty() && files[0].endsWith(QStringLiteral(".zorvaproj"), Qt::CaseInsensitive);
    if (parser.isSet(json) && !project && !files.isEmpty())
        return usage(QStringLiteral("--json 只用于 --design 和项目文件"));
    // JSON is written without a byte-order mark (RFC 8259), and the single
    // design's report is no table.
    if (parser.isSet(materials) && (!project || parser.isSet(json)))
        return usage(QStringLiteral("--materials 只用于项目文件，且不与 --json 同用"));
    if (parser.isSet(bom) && (parser.isSet(json) || files.isEmpty()))
        return usage(QStringLiteral("--bom 只用于 CSV 输出"));
    if (project && (designOptions || options.load))
        return usage(QStringLiteral("项目文件自带全部输入和各环路的热负荷，不能再给出设计、"
                                    "构造选项或 --load"));
    if (!files.isEmpty() && !project && checkOptions)
        return usage(QStringLiteral("--load 和 --category 不用于设计表 CSV"));
    if (!files.isEmpty() && !project && parser.isSet(strict))
        return usage(QStringLiteral("--strict 只用于 --design 和项目文件"));

    // A project is computed by the file's method and season unless --method
    // and --mode name others; --humidity and --room-temp set every room.
    ProjectModes projectModes;
    CalcMode mode;
    if (Result<void> read =
            project ? readProjectModes(modeOptions, projectModes) : readCalcMode(modeOptions, mode);
        !read)
        return finish(read);
    // What a method does not read is refused rather than ignored.
    if (mode.cooling && (options.load || options.category))
        return usage(QStringLiteral("--load 和 --category 不用于供冷的设计"));
    if (!mode.cooling && mode.method == method::Method::En1264 && options.load)
        return usage(QStringLiteral("--load 只用于本程序方法的校核"));
    if (mode.cooling && !options.design && !mode.roomTemp)
        mode.roomTemp = cooling::kDefaultRoomTemp;
    if (parser.isSet(layoutOut)) {
        if (!project)
            return usage(QStringLiteral("--layout 只用于项目文件"));
        if (parser.isSet(json) || parser.isSet(bom) || checkOptions || parser.isSet(strict))
            return usage(QStringLiteral("--layout 只写出布置图，不能与 --json、--bom、--category "
                                        "或 --strict 同用"));
        const LayoutOutput drawn =
            writeProjectLayout(argumentBytes(files[0], argc, argv), io::shownFileName(files[0]),
                               parser.value(layoutOut));
        if (drawn.outcome)
            printError(QStringLiteral("布管：%1 个房间，%2 个环路，共 %3 m 管；%4 处违反布管规则")
                           .arg(drawn.rooms)
                           .arg(drawn.loops)
                           .arg(drawn.pipe, 0, 'f', 1)
                           .arg(drawn.violations));
        return finish(drawn.outcome);
    }

    FieldRecord fields;
    CheckLimits limits;
    QStringList notes;
    if (Result<void> read = readFieldRecord(options, fields, &notes, mode.cooling); !read)
        return finish(read);
    if (Result<void> read = readCheckLimits(options, limits); !read)
        return finish(read);

    QElapsedTimer timer;
    timer.start();
    qint64 designs = 0;
    Result<void> outcome;
    const QByteArray path = files.isEmpty() ? QByteArray() : argumentBytes(files[0], argc, argv);
    bool checkFailed = false;
    if (files.isEmpty()) {
        DesignReport report;
        if (mode.plain() && !parser.isSet(json)) {
            report = runDesign(fields, limits, notes);
        } else if (!mode.cooling && mode.method == method::Method::Program && !parser.isSet(json)) {
            report = runDesign(fields, limits, notes);
            report.text.prepend(QStringLiteral("计算方法：%1\n依据：%2\n\n")
                                    .arg(QString::fromUtf8(method::methodName(mode.method)),
                                         QString::fromUtf8(method::methodClause(mode.method))));
        } else {
            report = runMethodDesign(fields, limits, mode, parser.isSet(json), notes);
        }
        printOut(report.text.toUtf8(), outcome);
        if (report.status != AllComputed && outcome)
            outcome = stop(report.status, report.message);
        designs = 1;
        checkFailed = report.overall == Verdict::Fail;
    } else if (project) {
        const ProjectOutput output = runProject(
            path, io::shownFileName(files[0]),
            parser.isSet(json) ? ProjectFormat::Json
            : parser.isSet(materials)
                ? (parser.isSet(bom) ? ProjectFormat::MaterialsWithMark : ProjectFormat::Materials)
            : parser.isSet(bom) ? ProjectFormat::CsvWithMark
                                : ProjectFormat::Csv,
            limits, projectModes);
        printOut(output.bytes, outcome);
        if (!output.outcome && outcome)
            outcome = output.outcome;
        designs = output.loops;
        checkFailed = output.failedLoops > 0;
    } else {
        for (const QString& note : notes)
            printError(note);
        QFile in;
        bool opened = false;
        int openError = 0;
        if (files[0] == QStringLiteral("-")) {
            opened = in.open(stdin, QIODevice::ReadOnly);
        } else {
            const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
            openError = errno;
            opened = fd >= 0 && in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        }
        if (!opened)
            return finish(stop(
                InputError, QStringLiteral("不能打开输入文件“%1”").arg(io::shownFileName(files[0])),
                openError != 0 ? qt_error_string(openError) : in.errorString()));
        CsvStreamOptions csv;
        csv.base = manifoldFromFields(fields);
        csv.byteOrderMark = parser.isSet(bom);
        csv.mode = mode;
        // The design's return lies above its supply in cooling: the rise.
        // Without a design a cooled table starts from the chilled water a
        // project starts with (18/21 ℃), not the main window's heating water,
        // which no floor cools with.
        if (mode.cooling && options.design) {
            csv.base.tempDiff = -csv.base.tempDiff;
        } else if (mode.cooling) {
            const project::ManifoldCooling water;
            csv.base.supplyTemp = water.supplyTemp;
            csv.base.tempDiff = water.returnTemp - water.supplyTemp;
        }
        CsvStreamStats stats;
        outcome = streamCsvDesigns(in, stdout, csv, stats);
        if (!stats.note.isEmpty())
            printError(QStringLiteral("注意：") + stats.note);
        designs = stats.designs;
    }
    if (std::fflush(stdout) != 0 && (outcome || outcome.problem().code != InputError))
        outcome = stop(InputError, QStringLiteral("写出结果失败"), qt_error_string(errno));
    if (outcome && checkFailed && parser.isSet(strict))
        outcome = stop(CheckFailed, QStringLiteral("校核结论为“不合格”（--strict）"));
    if (parser.isSet(time))
        printTiming(designs, timer);
    return finish(outcome);
}
