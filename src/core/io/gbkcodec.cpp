#include "core/io/gbkcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zorva::io {

QString gbkCodecProblem() {
    if (QStringEncoder("GBK").isValid() && QStringDecoder("GBK").isValid())
        return {};
    return QStringLiteral("本程序所用的 Qt 不支持 GBK 编码，无法读写记录文件。"
                          "请安装带 ICU 支持的 Qt 库。");
}

} // namespace zorva::io
